// Dialog runner for tests: records every request and answers from a script, never blocks.
#pragma once

#include "platform/DialogRunner.h"

#include <deque>
#include <functional>
#include <vector>

namespace platform {

enum class DialogKind { Message, Input, Color, File, Modal };

struct DialogRequest {
    DialogKind kind = DialogKind::Message;
    QString text{};   // message text, input prompt
    QString title{};  // message title, input or file dialog caption, dialog window title
    int flags = 0;    // message flags
    QString value{};  // input default text
    FileDialogKind fileKind = FileDialogKind::Open;
    FileDialogOptions file{};
    QString dialogClass{};  // class name of a modal QDialog
};

// The runner while alive. Answers are consumed in order whatever dialog asks; with no answer
// left the dialog behaves as if the user pressed Esc (OK for a box with only OK).
class RecordingDialogRunner : public InstalledDialogRunner {
public:
    // A message result, or the result code of a modal dialog.
    void Push(int result);
    // An input box accepted with this text.
    void PushText(const QString& text);
    // Any dialog cancelled.
    void PushCancel();
    void PushColor(std::uint32_t color);
    void PushFiles(const QStringList& paths);
    // Gets the dialog (its controls may be set) and returns its result code.
    void PushDialog(std::function<int(QDialog&)> answer);

    const std::vector<DialogRequest>& Requests() const { return requests_; }
    const DialogRequest& Last() const;
    int PendingAnswers() const { return static_cast<int>(answers_.size()); }
    void Clear();

    int Message(QWidget* owner, const QString& text, const QString& title, int flags) override;
    bool InputText(QWidget* owner, const QString& caption, const QString& prompt, QString& value) override;
    bool Color(QWidget* owner, std::uint32_t& color) override;
    QStringList Files(QWidget* owner, FileDialogKind kind, const FileDialogOptions& options) override;
    int Exec(QDialog& dialog) override;

private:
    struct Answer {
        bool cancel = false;
        int code = 0;
        QString text{};
        std::uint32_t color = 0;
        QStringList files{};
        std::function<int(QDialog&)> dialog{};
    };
    // Records the request and takes the next answer; false when there is none or it cancels.
    bool Ask(const DialogRequest& request, Answer& answer);

    std::vector<DialogRequest> requests_;
    std::deque<Answer> answers_;
};

}  // namespace platform
