#include "view/GradientDialog.h"

#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "view/PaintHelpers.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>

TGradientDialog::TGradientDialog(QWidget* parent, int helpTopic) : QDialog(parent), helpTopic_(helpTopic) {}

void TGradientDialog::ConnectHelpButton(QAbstractButton* button)
{
    connect(button, &QAbstractButton::clicked, this, platform::Guarded([this] {
                if (helpTopic_ != 0)
                    platform::ShowHelpTopic(helpTopic_);
            }));
}

void TGradientDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = GradientTop();
    painter.translate(0, top);
    FillGradientRect(painter, 0xFFE0E0, 0x808080, width(), height() - top, 1);
}

void TGradientDialog::keyPressEvent(QKeyEvent* event)
{
    if (helpTopic_ != 0 && event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(helpTopic_);
        return;
    }
    QDialog::keyPressEvent(event);
}
