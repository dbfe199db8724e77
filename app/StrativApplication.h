// The application object: shows an exception that leaves an event handler instead of ending the program.
#pragma once

#include <QApplication>
#include <exception>
#include <utility>

class TStrativApplication : public QApplication
{
    Q_OBJECT
public:
    TStrativApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error report: the exception's text in a box titled "Ошибка".
void ShowExceptionReport(const QString& text);

// Wraps a handler so that no exception leaves it: what it throws goes to the error report.
template <class Handler>
auto Guarded(Handler handler)
{
    // The return type keeps the call SFINAE-friendly, so Qt can find how many signal arguments it takes.
    return [handler = std::move(handler)](auto&&... args)
               -> decltype(std::declval<Handler&>()(std::forward<decltype(args)>(args)...), void()) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& error) {
            ShowExceptionReport(QString::fromUtf8(error.what()));
        } catch (...) {
            ShowExceptionReport(QStringLiteral("Неизвестная ошибка"));
        }
    };
}
