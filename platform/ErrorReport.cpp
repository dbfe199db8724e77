// The general error report of event handlers.
#include "platform/ErrorReport.h"

#include "platform/DialogRunner.h"

namespace platform {

void ReportException(QWidget* owner, const QString& text) noexcept
{
    try {
        MessageBox(owner, text.isEmpty() ? QStringLiteral("Неопознанная ошибка") : text, QStringLiteral("Ошибка"),
                   MB_OK | MB_ICONERROR);
    } catch (...) {
        // Nothing more can be told to the user; the event loop must go on.
    }
}

}  // namespace platform
