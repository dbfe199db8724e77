// Font substitutes of the printed pages.
#include "platform/FontSubstitutes.h"

#include <QFont>
#include <QFontInfo>

namespace platform {

void InstallFontSubstitutes()
{
    const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), arial);
}

}  // namespace platform
