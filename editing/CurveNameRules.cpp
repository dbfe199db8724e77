// Curve name rules with their messages.
#include "editing/CurveNameRules.h"

#include "core/StringUtils.h"
#include "platform/DialogRunner.h"

QString CleanCurveName(const QString& name)
{
    const std::string text = name.toStdString();
    if (!HasCurveNameInvalidChars(text))
        return name;
    platform::ShowMessage(QStringLiteral("В имени кривой присутствуют недопустимые символы:\n ' ', '.', ':'\n"
                                         "Они будут удалены из имени"));
    return QString::fromStdString(RemoveCurveNameInvalidChars(text));
}

void ShowEmptyCurveNameMessage()
{
    platform::ShowMessage(QStringLiteral("Не допускается пустое имя кривой\nИмя кривой не будет изменено"));
}
