// The print progress window.
#include "platform/PrintProgress.h"

#include "platform/Replaceable.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace platform {

namespace {

class ProgressWindow : public PrintProgress {
public:
    void Begin(int pages) override
    {
        cancelled_ = false;
        if (pages <= 1)
            return;
        window_ = std::make_unique<QDialog>(QApplication::activeWindow());
        window_->setWindowTitle(QStringLiteral("Печать"));
        auto* layout = new QVBoxLayout(window_.get());
        label_ = new QLabel(window_.get());
        layout->addWidget(label_);
        auto* cancel = new QPushButton(QStringLiteral("Отмена"), window_.get());
        layout->addWidget(cancel);
        QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled_ = true; });
        window_->setModal(true);
        window_->show();
    }

    bool Page(int page, int pages) override
    {
        if (window_) {
            label_->setText(QStringLiteral("Страница ") + QString::number(page) + QStringLiteral(" из ") +
                            QString::number(pages));
            QApplication::processEvents();
        }
        return !cancelled_;
    }

    void End() override { window_.reset(); }

private:
    std::unique_ptr<QDialog> window_;
    QLabel* label_ = nullptr;
    bool cancelled_ = false;
};

Replaceable<PrintProgress, ProgressWindow> progress;

}  // namespace

PrintProgress& CurrentPrintProgress() { return progress.Current(); }

PrintProgress* SetPrintProgress(PrintProgress* replacement) { return progress.Set(replacement); }

}  // namespace platform
