// Scripted dialog answers for tests.
#include "platform/RecordingDialogRunner.h"

#include <QDialog>

#include <stdexcept>

namespace platform {

void RecordingDialogRunner::Push(int result)
{
    answers_.push_back({.code = result});
}

void RecordingDialogRunner::PushText(const QString& text)
{
    answers_.push_back({.code = IDOK, .text = text});
}

void RecordingDialogRunner::PushCancel()
{
    answers_.push_back({.cancel = true, .code = IDCANCEL});
}

void RecordingDialogRunner::PushColor(std::uint32_t color)
{
    answers_.push_back({.color = color});
}

void RecordingDialogRunner::PushFiles(const QStringList& paths)
{
    answers_.push_back({.files = paths});
}

void RecordingDialogRunner::PushDialog(std::function<int(QDialog&)> answer)
{
    answers_.push_back({.dialog = std::move(answer)});
}

const DialogRequest& RecordingDialogRunner::Last() const
{
    if (requests_.empty())
        throw std::logic_error("no dialog was asked");
    return requests_.back();
}

void RecordingDialogRunner::Clear()
{
    requests_.clear();
    answers_.clear();
}

bool RecordingDialogRunner::Ask(const DialogRequest& request, Answer& answer)
{
    requests_.push_back(request);
    if (answers_.empty())
        return false;
    answer = std::move(answers_.front());
    answers_.pop_front();
    return !answer.cancel;
}

int RecordingDialogRunner::Message(QWidget*, const QString& text, const QString& title, int flags)
{
    Answer answer;
    if (Ask({.kind = DialogKind::Message, .text = text, .title = title, .flags = flags}, answer))
        return answer.code;
    return EscapeResult(flags);
}

bool RecordingDialogRunner::InputText(QWidget*, const QString& caption, const QString& prompt, QString& value)
{
    Answer answer;
    if (!Ask({.kind = DialogKind::Input, .text = prompt, .title = caption, .value = value}, answer))
        return false;
    value = answer.text;
    return true;
}

bool RecordingDialogRunner::Color(QWidget*, std::uint32_t& color)
{
    Answer answer;
    if (!Ask({.kind = DialogKind::Color}, answer))
        return false;
    color = answer.color;
    return true;
}

QStringList RecordingDialogRunner::Files(QWidget*, FileDialogKind kind, const FileDialogOptions& options)
{
    Answer answer;
    if (!Ask({.kind = DialogKind::File, .title = options.title, .fileKind = kind, .file = options}, answer))
        return {};
    return answer.files;
}

int RecordingDialogRunner::Exec(QDialog& dialog)
{
    Answer answer;
    const DialogRequest request{.kind = DialogKind::Modal,
                                .title = dialog.windowTitle(),
                                .dialogClass = QString::fromLatin1(dialog.metaObject()->className())};
    if (!Ask(request, answer))
        return QDialog::Rejected;
    const int result = answer.dialog ? answer.dialog(dialog) : answer.code;
    dialog.setResult(result);
    return result;
}

}  // namespace platform
