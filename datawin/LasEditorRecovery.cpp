// The LAS editor's edits kept at the end of the program: a copy of them in the profile folder and
// a record naming the file they belong to ("table" or "text" on its first line, the name's bytes
// after it). Each end keeps its own pair, "lasedit-unsaved-N"; earlier versions kept one, without N.
#include "datawin/LasEditorRecovery.h"

#include "core/AtomicFile.h"
#include "core/FileUtils.h"
#include "core/Lasfile.h"
#include "datawin/LasEditor.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNameList.h"
#include "platform/FileNames.h"
#include "ui_LasEditor.h"

#include <QDateTime>
#include <QFileInfo>

#include <fstream>
#include <iterator>

namespace {

const QString kTitle = QStringLiteral("Редактор файлов формата LAS");
const std::string kStem = "lasedit-unsaved";

// Names keep their bytes (platform/FileNames), whatever the profile folder's name holds.
struct KeptEdits {
    explicit KeptEdits(const QString& record) : copy(record.chopped(4) + QStringLiteral(".las")), record(record) {}

    // The record read: false when there is none, it is still being made, or its copy is gone (then
    // the record goes too).
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
        if (!MoveFileNoReplace(Bytes(copy), Bytes(aside)))
            return copy;
        platform::RemoveFile(record);
        return aside;
    }

    // The record goes last: until then no other end takes its name.
    void Remove() const
    {
        platform::RemoveFile(copy);
        platform::RemoveFile(record);
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
    // The record is made first: a program ending at the same moment takes the next name.
    std::string record;
    const bool claimed = CreateUniqueFile(KeptEdits::Bytes(profileDir), kStem + "-", "txt", record);
    const KeptEdits kept(platform::FileNameFromBytes(record));
    if (claimed && editor.WriteUnsavedEdits(KeptEdits::Bytes(kept.copy)) && kept.Write(file, text))
        return;
    if (claimed)
        kept.Remove();
    platform::MessageBox(&editor,
                         QStringLiteral("Несохраненные изменения файла\n") + ShownName(file) +
                             QStringLiteral("\nне удалось сохранить при завершении работы программы:\n") +
                             platform::WriteFailureText(kept.copy),
                         QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}

namespace {

// Asks about one kept set; true when it was opened in the editor.
bool OfferKept(TFormEditor& editor, const KeptEdits& kept, const QString& file, bool text)
{
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
            return true;
        }
    } else if (platform::MessageBox(owner,
                                    QStringLiteral("Удалить несохраненные изменения файла\n") + name +
                                        QStringLiteral("?\nВосстановить их будет нельзя."),
                                    kTitle,
                                    platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2) ==
               platform::IDYES) {
        kept.Remove();
        return false;
    }
    platform::MessageBox(owner,
                         QStringLiteral("Несохраненные изменения файла\n") + name +
                             QStringLiteral("\nоставлены в файле\n") + platform::ShownFileName(kept.SetAside()),
                         kTitle, platform::MB_OK | platform::MB_ICONINFORMATION);
    return false;
}

}  // namespace

void OfferKeptLasEditorEdits(TFormEditor& editor, const QString& profileDir)
{
    // The editor holds one set of edits: those kept beside the one opened wait for the next start.
    bool opened = false;
    for (const std::string& name : GetFileList(KeptEdits::Bytes(profileDir), kStem + "*.txt")) {
        const KeptEdits kept(platform::FileInFolder(profileDir, platform::FileNameFromBytes(name)));
        QString file;
        bool text = false;
        if (!kept.Read(file, text))
            continue;
        if (!opened)
            opened = OfferKept(editor, kept, file, text);
        else
            platform::MessageBox(editor.parentWidget(),
                                 QStringLiteral("Несохраненные изменения файла\n") + ShownName(file) +
                                     QStringLiteral("\nв редакторе LAS файлов также были сохранены при завершении "
                                                    "работы программы. Они будут предложены при следующем запуске."),
                                 kTitle, platform::MB_OK | platform::MB_ICONINFORMATION);
    }
}
