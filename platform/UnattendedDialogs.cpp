// The runner that answers nothing.
#include "platform/UnattendedDialogs.h"

#include <QDialog>
#include <cstdio>

namespace platform {

int UnattendedDialogs::Message(QWidget*, const QString& text, const QString& title, int flags)
{
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return EscapeResult(flags);
}

bool UnattendedDialogs::InputText(QWidget*, const QString&, const QString&, QString&)
{
    return false;
}

bool UnattendedDialogs::Color(QWidget*, std::uint32_t&)
{
    return false;
}

QStringList UnattendedDialogs::Files(QWidget*, FileDialogKind, const FileDialogOptions&)
{
    return {};
}

int UnattendedDialogs::Exec(QDialog&)
{
    return QDialog::Rejected;
}

}  // namespace platform
