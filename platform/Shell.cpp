// Shell open through QDesktopServices (tests intercept with QDesktopServices::setUrlHandler).
#include "platform/Shell.h"

#include "platform/FileNames.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {

bool ShellOpenFile(const QString& path)
{
    return QDesktopServices::openUrl(UrlOfLocalFile(path));
}

bool ShellOpenUrl(const QString& url)
{
    QUrl parsed(url, QUrl::TolerantMode);
    return parsed.isValid() && QDesktopServices::openUrl(parsed);
}

}  // namespace platform
