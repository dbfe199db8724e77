// Exceptions stopped at event handlers and shown to the user, so none crosses Qt's event loop.
#pragma once

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace platform {

// Shows the text in a message box titled "Ошибка" (error icon); an empty text reads
// "Неопознанная ошибка".
void ReportException(QWidget* owner, const QString& text) noexcept;

// Runs `action`; an exception it throws is reported and goes no further. False when one was thrown.
template <class Action>
bool Guarded(QWidget* owner, Action&& action) noexcept
{
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        ReportException(owner, QString::fromUtf8(error.what()));
    } catch (...) {
        ReportException(owner, QString());
    }
    return false;
}

// Wraps a slot or callback so that no exception leaves it: what it throws is reported.
template <class Handler>
auto Guarded(Handler handler)
{
    // The return type keeps the call SFINAE-friendly, so Qt can find how many signal arguments it takes.
    return [handler = std::move(handler)](auto&&... args)
               -> decltype(std::declval<Handler&>()(std::forward<decltype(args)>(args)...), void()) {
        Guarded(nullptr, [&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

}  // namespace platform
