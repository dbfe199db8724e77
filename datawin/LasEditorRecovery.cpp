// The LAS editor's edits kept at the end of the program: a copy of them in the profile folder and
// a record naming the file they belong to ("table" or "text" on its first line, the name's bytes
// after it).
#include "datawin/LasEditorRecovery.h"

#include "core/AtomicFile.h"
#include "core/Lasfile.h"
#include "datawin/LasEditor.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNameList.h"
#include "platform/FileNames.h"
#include "ui_LasEditor.h"

#include <QDateTime>
#include <QFileInfo>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const QString kTitle = QStringLiteral("Редактор файлов формата LAS");

namespace fs = std::filesystem;

// Names keep their bytes (platform/FileNames), whatever the profile folder's name holds.
struct KeptEdits {
    explicit KeptEdits(const QString& profileDir)
        : copy(profileDir + QStringLiteral("lasedit-unsaved.las")),
          record(profileDir + QStringLiteral("lasedit-unsaved.txt"))
    {
    }

    // The record read: false when there is none or its copy is gone (then the record goes too).
    bool Read(QString& file, bool& text) const
    {
        std::ifstream in(Bytes(record), std::ios::binary);
        std::string kind;
        if (!in || !std::getline(in, kind))
            return false;
        if (platform::KindOfPath(copy) != platform::PathKind::File) {
            platform::RemoveFile(record);
            return false;
        }
        text = kind == "text";
        file = platform::FileNameFromBytes(std::string(std::istreambuf_iterator<char>(in), {}));
        return true;
    }

    bool Write(const QString& file, bool text) const
    {
        return WriteFileAtomically(Bytes(record), std::string(text ? "text\n" : "table\n") + Bytes(file));
    }

    // The copy under a name of its own beside it, out of the way of later ends; the record goes.
    // Where it now is (where it was when it could not be moved: the record then stays).
    QString SetAside() const
    {
        const QString aside = copy.chopped(4) + QLatin1Char('-') +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")) +
                              QStringLiteral(".las");
        std::error_code error;
        if (fs::exists(Bytes(aside), error))
            return copy;
        fs::rename(Bytes(copy), Bytes(aside), error);
        if (error)
            return copy;
        platform::RemoveFile(record);
        return aside;
    }

    void Remove() const
    {
        platform::RemoveFile(record);
        platform::RemoveFile(copy);
    }

    static std::string Bytes(const QString& name) { return platform::FileNameToBytes(name); }

    QString copy;
    QString record;
};

QString ShownName(const QString& file)
{
    return file.isEmpty() ? QStringLiteral("(без имени)") : platform::ShownFileName(file);
}

}  // namespace

bool TFormEditor::UnsavedEdits(QString& file, bool& text) const
{
    text = !IsTableModified();
    if (text && !IsTextModified())
        return false;
    file = !text ? fileName_ : textSaveName_.isEmpty() ? QString() : platform::FileInFolder(textSaveFolder_, textSaveName_);
    return true;
}

bool TFormEditor::WriteUnsavedEdits(const std::string& path)
{
    if (IsTableModified()) {
        ApplyGridToDocument();
        return document_->WriteLas(path);
    }
    std::string bytes;
    if (!textFile_.Encode(MemoText().toStdString(), bytes))
        bytes = "\xEF\xBB\xBF" + MemoText().toStdString();
    return WriteFileAtomically(path, bytes);
}

bool TFormEditor::OpenUnsavedEdits(const QString& copy, const QString& file, bool text)
{
    // The editor holds nothing yet: neither the page nor the file asks before it changes.
    shownPage_ = text ? 1 : 0;
    restoringPage_ = true;
    ui->PageControl->setCurrentIndex(shownPage_);
    restoringPage_ = false;
    const QString folder = file.isEmpty() ? QString() : platform::FolderOfFile(file);
    const QString name = QFileInfo(file).fileName();
    if (!file.isEmpty()) {
        SetFolder(folder);
        if (const int row = platform::RowOfFileName(*ui->FileListBox, name); row >= 0) {
            fileIndex_ = row;
            SelectFileRow(fileIndex_);
        }
    }
    if (text) {
        LoadText(copy);
        if (ui->Memo->document()->isEmpty())
            return false;
        textSaveName_ = name;
        textSaveFolder_ = folder;
        ui->Memo->document()->setModified(true);
        UpdateTextButtons();
        return true;
    }
    OpenFile(copy);
    if (!document_)
        return false;
    document_->SetFileName(platform::FileNameToBytes(file));
    fileName_ = file;
    loadedFrom_.path = file;
    tableChanged_ = true;
    return true;
}

void KeepLasEditorEdits(TFormEditor& editor, const QString& profileDir)
{
    QString file;
    bool text = false;
    if (!editor.UnsavedEdits(file, text))
        return;
    const KeptEdits kept(profileDir);
    QString earlierFile;
    bool earlierText = false;
    if (kept.Read(earlierFile, earlierText))
        kept.SetAside();
    if (!editor.WriteUnsavedEdits(KeptEdits::Bytes(kept.copy)) || !kept.Write(file, text))
        platform::MessageBox(&editor,
                             QStringLiteral("Несохраненные изменения файла\n") + ShownName(file) +
                                 QStringLiteral("\nне удалось сохранить при завершении работы программы:\n") +
                                 platform::WriteFailureText(kept.copy),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}

void OfferKeptLasEditorEdits(TFormEditor& editor, const QString& profileDir)
{
    const KeptEdits kept(profileDir);
    QString file;
    bool text = false;
    if (!kept.Read(file, text))
        return;
    QWidget* owner = editor.parentWidget();
    const QString name = ShownName(file);
    if (platform::MessageBox(owner,
                             QStringLiteral("Несохраненные изменения файла\n") + name +
                                 QStringLiteral("\nв редакторе LAS файлов были сохранены при завершении работы "
                                                "программы. Открыть их?"),
                             kTitle, platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES) {
        editor.show();
        editor.raise();
        editor.activateWindow();
        if (editor.OpenUnsavedEdits(kept.copy, file, text)) {
            kept.Remove();
            return;
        }
    } else if (platform::MessageBox(owner,
                                    QStringLiteral("Удалить несохраненные изменения файла\n") + name +
                                        QStringLiteral("?\nВосстановить их будет нельзя."),
                                    kTitle,
                                    platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2) ==
               platform::IDYES) {
        kept.Remove();
        return;
    }
    platform::MessageBox(owner,
                         QStringLiteral("Несохраненные изменения файла\n") + name +
                             QStringLiteral("\nоставлены в файле\n") + platform::ShownFileName(kept.SetAside()),
                         kTitle, platform::MB_OK | platform::MB_ICONINFORMATION);
}
