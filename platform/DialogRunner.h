// Every modal dialog of the program goes through one replaceable runner, so tests can
// record what was asked and script the answers instead of blocking on a window.
#pragma once

#include "platform/FileKinds.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class QDialog;
class QWidget;

namespace platform {

// Message box flags and results (the values stored in callers' code and tests).
enum : int {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,  // the second button is the default (Enter)
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

inline constexpr int MB_BUTTONMASK = 0x0F;
inline constexpr int MB_ICONMASK = 0xF0;

// What Esc or closing a message box gives: Cancel, or No where there is no Cancel (OK alone: OK).
int EscapeResult(int flags);

// Title of the plain message window and of the program's own questions.
QString ApplicationTitle();

enum class FileDialogKind { Open, OpenMany, Save, Folder };

struct FileDialogOptions {
    QString title;
    QString directory;      // initial folder
    QString fileName;       // initial file name (Open, Save)
    QString filter;         // Qt filter text, e.g. "LAS файлы (*.las);;Все файлы (*)"
    QString defaultSuffix;  // added to a saved name typed without an extension
    bool confirmOverwrite = true;  // Save: ask before replacing an existing file
    // Save: what is written; a file of another kind at the chosen name is named in a question.
    FileKind kind = FileKind::Unchecked;

    // Options that start at `path`: in its folder, its name preselected.
    static FileDialogOptions StartingAt(const QString& path);
};

class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // Returns IDOK, IDCANCEL, IDYES or IDNO; Esc / closing gives Cancel, or No for Yes/No.
    virtual int Message(QWidget* owner, const QString& text, const QString& title, int flags) = 0;
    // True with the edited text in `value` on OK; false (value untouched) on Cancel.
    virtual bool InputText(QWidget* owner, const QString& caption, const QString& prompt,
                           QString& value) = 0;
    // `color` is 0x00BBGGRR in and out; false when cancelled.
    virtual bool Color(QWidget* owner, std::uint32_t& color) = 0;
    // The chosen paths (one for Open, Save and Folder); empty when cancelled.
    virtual QStringList Files(QWidget* owner, FileDialogKind kind, const FileDialogOptions& options) = 0;
    // Runs a prepared modal dialog; returns its result code (QDialog::Accepted, Rejected or done(n)).
    virtual int Exec(QDialog& dialog) = 0;
};

// The runner in use (the Qt one unless replaced).
DialogRunner& Runner();
// Replaces the runner (null: back to the Qt one); returns the previous one.
DialogRunner* SetRunner(DialogRunner* runner);

// A runner in use from its construction, putting the one it replaced back when destroyed.
class InstalledDialogRunner : public DialogRunner {
public:
    ~InstalledDialogRunner() override;
    InstalledDialogRunner(const InstalledDialogRunner&) = delete;
    InstalledDialogRunner& operator=(const InstalledDialogRunner&) = delete;

protected:
    InstalledDialogRunner();

private:
    DialogRunner* previous_ = nullptr;
};

// Services built on the runner.
int MessageBox(QWidget* owner, const QString& text, const QString& title, int flags);
// The text in a window titled with the program's title, with an OK button.
void ShowMessage(const QString& text);
// Cancel gives `defaultText` back.
QString InputBox(const QString& caption, const QString& prompt, const QString& defaultText);
// True on OK with the typed text in `value`; on Cancel `value` is left as it was.
bool InputQuery(const QString& caption, const QString& prompt, QString& value);
bool ChooseColor(QWidget* owner, std::uint32_t& color);
// Each returns an empty result when cancelled.
QString GetOpenFileName(QWidget* owner, const FileDialogOptions& options);
QStringList GetOpenFileNames(QWidget* owner, const FileDialogOptions& options);
QString GetSaveFileName(QWidget* owner, const FileDialogOptions& options);
QString GetExistingDirectory(QWidget* owner, const FileDialogOptions& options);
int ExecDialog(QDialog& dialog);

}  // namespace platform
