// While the program ends unasked (a logout, a shutdown), nobody answers its dialogs: in use from
// construction, this runner writes each message to the error output and gives every question
// the answer of Esc, so that none of them holds the end back.
#pragma once

#include "platform/DialogRunner.h"

namespace platform {

class UnattendedDialogs final : public InstalledDialogRunner {
public:
    int Message(QWidget* owner, const QString& text, const QString& title, int flags) override;
    bool InputText(QWidget* owner, const QString& caption, const QString& prompt, QString& value) override;
    bool Color(QWidget* owner, std::uint32_t& color) override;
    QStringList Files(QWidget* owner, FileDialogKind kind, const FileDialogOptions& options) override;
    int Exec(QDialog& dialog) override;
};

}  // namespace platform
