// Selecting a line edit's text as it takes the focus.
#include "platform/SelectOnEntry.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace platform {
namespace {

class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            // A mouse press places the cursor after the focus arrives: select once it is done.
            QPointer<QLineEdit> edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [edit] {
                if (edit && edit->hasFocus())
                    edit->selectAll();
            });
        }
        return false;
    }
};

}  // namespace

void SelectTextOnEntry(QLineEdit& edit)
{
    edit.installEventFilter(new SelectOnFocus(&edit));
}

}  // namespace platform
