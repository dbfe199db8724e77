// The busy cursor and the progress window of long work.
#include "platform/WorkProgress.h"

#include "platform/Replaceable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

namespace platform {

namespace {

class ProgressWindow : public WorkProgress {
public:
    void Begin(const QString& title) override
    {
        title_ = title;
        cancelled_ = false;
        clock_.start();
        lastEvents_ = 0;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }

    bool Step(double part) override
    {
        const qint64 now = clock_.elapsed();
        if (now - lastEvents_ < WorkEventsEveryMs)
            return !cancelled_;
        lastEvents_ = now;
        if (now < kShowAfterMs) {
            // The windows repaint, but nothing can be started or changed before the window shows.
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return !cancelled_;
        }
        if (!window_) {
            // Modal: while events are handled, nothing else can be started or changed.
            window_ = std::make_unique<QProgressDialog>(title_, QStringLiteral("Отмена"), 0, kBarSteps,
                                                        QApplication::activeWindow());
            window_->setWindowTitle(title_);
            window_->setWindowModality(Qt::ApplicationModal);
            window_->setMinimumDuration(0);
            window_->setAutoReset(false);
            window_->setAutoClose(false);
            QObject::connect(window_.get(), &QProgressDialog::canceled, [this] { cancelled_ = true; });
            window_->show();
        }
        window_->setValue(static_cast<int>(std::clamp(part, 0.0, 1.0) * kBarSteps));
        QApplication::processEvents();
        return !cancelled_;
    }

    void End() override
    {
        window_.reset();
        QApplication::restoreOverrideCursor();
    }

private:
    static constexpr qint64 kShowAfterMs = 500;
    static constexpr int kBarSteps = 1000;

    QString title_;
    bool cancelled_ = false;
    QElapsedTimer clock_;
    qint64 lastEvents_ = 0;
    std::unique_ptr<QProgressDialog> window_;
};

Replaceable<WorkProgress, ProgressWindow> progress;

}  // namespace

WorkProgress& CurrentWorkProgress() { return progress.Current(); }

WorkProgress* SetWorkProgress(WorkProgress* replacement) { return progress.Set(replacement); }

}  // namespace platform
