// The Qt dialog runner and the dialog services that go through the current runner.
#include "platform/DialogRunner.h"

#include "core/FileUtils.h"
#include "platform/Colors.h"
#include "platform/FileListingFit.h"
#include "platform/FileNames.h"
#include "platform/FolderTree.h"
#include "platform/RussianTexts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

QMessageBox::Icon IconOf(int flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct MessageButton {
    int result;
    const char* caption;  // UTF-8
    QMessageBox::ButtonRole role;
};

// Buttons of a button set in their order.
std::vector<MessageButton> ButtonsOf(int flags)
{
    const MessageButton ok{IDOK, "OK", QMessageBox::AcceptRole};
    const MessageButton cancel{IDCANCEL, "Отмена", QMessageBox::RejectRole};
    const MessageButton yes{IDYES, "Да", QMessageBox::YesRole};
    const MessageButton no{IDNO, "Нет", QMessageBox::NoRole};
    switch (flags & MB_BUTTONMASK) {
    case MB_OKCANCEL: return {ok, cancel};
    case MB_YESNOCANCEL: return {yes, no, cancel};
    case MB_YESNO: return {yes, no};
    default: return {ok};
    }
}

QWidget* DefaultOwner(QWidget* owner)
{
    return owner ? owner : QApplication::activeWindow();
}

// Width a small dialog needs for the window manager to show its whole title: the title in a
// bold face beside the window icon and the title bar's buttons.
int TitleBarWidth(const QString& title)
{
    constexpr int kIconAndButtons = 150;
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kIconAndButtons;
}

class QtDialogRunner final : public DialogRunner {
public:
    int Message(QWidget* owner, const QString& text, const QString& title, int flags) override
    {
        QMessageBox box(IconOf(flags), title, text, QMessageBox::NoButton, owner);
        const int escapeResult = EscapeResult(flags);
        std::vector<MessageButton> wanted = ButtonsOf(flags);
        std::vector<QPushButton*> buttons;
        for (const MessageButton& choice : wanted) {
            QPushButton* button = box.addButton(QString::fromUtf8(choice.caption), choice.role);
            buttons.push_back(button);
            if (choice.result == escapeResult)
                box.setEscapeButton(button);
        }
        box.setDefaultButton((flags & MB_DEFBUTTON2) && buttons.size() > 1 ? buttons[1] : buttons.front());
        // The box sizes itself to its layout: a spacer across it keeps the title whole.
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
            grid->addItem(new QSpacerItem(TitleBarWidth(title), 0), grid->rowCount(), 0, 1, grid->columnCount());
        box.exec();
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (box.clickedButton() == buttons[i])
                return wanted[i].result;
        return escapeResult;
    }

    bool InputText(QWidget* owner, const QString& caption, const QString& prompt, QString& value) override
    {
        QInputDialog dialog(DefaultOwner(owner));
        dialog.setWindowTitle(caption);
        dialog.setLabelText(prompt);
        dialog.setTextValue(value);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Отмена"));
        dialog.resize(std::max(dialog.sizeHint().width(), TitleBarWidth(caption)), dialog.sizeHint().height());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        value = dialog.textValue();
        return true;
    }

    bool Color(QWidget* owner, std::uint32_t& color) override
    {
        QColorDialog dialog(ToQColor(color), DefaultOwner(owner));
        if (dialog.exec() != QDialog::Accepted)
            return false;
        color = FromQColor(dialog.selectedColor());
        return true;
    }

    QStringList Files(QWidget* owner, FileDialogKind kind, const FileDialogOptions& options) override
    {
        QFileDialog dialog(DefaultOwner(owner), options.title, options.directory, options.filter);
        // Qt's own dialog matches masks ignoring letter case ("*.las" shows "A.LAS"), as users expect.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setIconProvider(&FileIcons());
        ShowRussianFileDetails(dialog);
        FitFileListing(dialog);
        switch (kind) {
        case FileDialogKind::Open: dialog.setFileMode(QFileDialog::ExistingFile); break;
        case FileDialogKind::OpenMany: dialog.setFileMode(QFileDialog::ExistingFiles); break;
        case FileDialogKind::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setDefaultSuffix(options.defaultSuffix);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
            break;
        case FileDialogKind::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly, true);
            break;
        }
        if (!options.fileName.isEmpty())
            dialog.selectFile(options.fileName);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        QStringList files = dialog.selectedFiles();
        for (QString& file : files)
            file = FileNameOfShown(file);
        return files;
    }

    int Exec(QDialog& dialog) override { return dialog.exec(); }
};

QtDialogRunner qtRunner;
DialogRunner* current = &qtRunner;

QString First(const QStringList& files)
{
    return files.isEmpty() ? QString() : files.front();
}

}  // namespace

InstalledDialogRunner::InstalledDialogRunner() : previous_(SetRunner(this)) {}

InstalledDialogRunner::~InstalledDialogRunner()
{
    SetRunner(previous_);
}

FileDialogOptions FileDialogOptions::StartingAt(const QString& path)
{
    FileDialogOptions options;
    options.directory = FolderOfFile(path);
    options.fileName = QFileInfo(path).fileName();
    return options;
}

QString ApplicationTitle()
{
    return QStringLiteral("Strativ");
}

int EscapeResult(int flags)
{
    switch (flags & MB_BUTTONMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

DialogRunner& Runner()
{
    return *current;
}

DialogRunner* SetRunner(DialogRunner* runner)
{
    DialogRunner* previous = current;
    current = runner ? runner : &qtRunner;
    return previous;
}

int MessageBox(QWidget* owner, const QString& text, const QString& title, int flags)
{
    return current->Message(owner, text, title, flags);
}

void ShowMessage(const QString& text)
{
    current->Message(QApplication::activeWindow(), text, ApplicationTitle(), MB_OK);
}

QString InputBox(const QString& caption, const QString& prompt, const QString& defaultText)
{
    QString value = defaultText;
    if (!current->InputText(nullptr, caption, prompt, value))
        return defaultText;
    return value;
}

bool InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    return current->InputText(nullptr, caption, prompt, value);
}

bool ChooseColor(QWidget* owner, std::uint32_t& color)
{
    return current->Color(owner, color);
}

QString GetOpenFileName(QWidget* owner, const FileDialogOptions& options)
{
    return First(current->Files(owner, FileDialogKind::Open, options));
}

QStringList GetOpenFileNames(QWidget* owner, const FileDialogOptions& options)
{
    return current->Files(owner, FileDialogKind::OpenMany, options);
}

QString GetSaveFileName(QWidget* owner, const FileDialogOptions& options)
{
    const QString typed = First(current->Files(owner, FileDialogKind::Save, options));
    const QString path = FileNameFromBytes(ResolveTypedFileName(
        FileNameToBytes(typed), FileNameToBytes(options.directory), options.defaultSuffix.toStdString()));
    if (path.isEmpty() && !typed.isEmpty())
        MessageBox(owner, QStringLiteral("Недопустимое имя файла:\n") + ShownFileName(typed), QStringLiteral("Ошибка"),
                   MB_OK | MB_ICONERROR);
    // The dialog asked about the name as typed, not about the one the extension made.
    if (options.confirmOverwrite && QFileInfo(path).fileName() != QFileInfo(typed).fileName() &&
        KindOfPath(path) != PathKind::Missing &&
        MessageBox(owner, QStringLiteral("Файл\n") + ShownFileName(path) + QStringLiteral("\nуже существует. Заменить?"),
                   options.title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return {};
    if (!path.isEmpty() && !MayWriteOver(owner, path, options.kind, options.title))
        return {};
    return path;
}

QString GetExistingDirectory(QWidget* owner, const FileDialogOptions& options)
{
    return First(current->Files(owner, FileDialogKind::Folder, options));
}

int ExecDialog(QDialog& dialog)
{
    return current->Exec(dialog);
}

}  // namespace platform
