// Help topics as HTML pages in the system browser.
#include "platform/Help.h"

#include "platform/DialogRunner.h"
#include "platform/Folders.h"
#include "platform/Shell.h"

#include <QFileInfo>

namespace platform {

void ShowHelpTopic(int topic)
{
    QString page = QString::fromStdString(ProgramDir()) + QStringLiteral("help/%1.html").arg(topic);
    if (topic < 0 || !QFileInfo(page).isFile() || !ShellOpenFile(page))
        ShowMessage(QStringLiteral("Справка недоступна"));
}

}  // namespace platform
