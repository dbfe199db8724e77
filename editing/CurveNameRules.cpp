// Curve name rules with their messages.
#include "editing/CurveNameRules.h"

#include "core/LasParser2.h"
#include "core/Lasfile.h"
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

bool RefusedCurveText(QWidget* parent, const TLASFile& document, const QString& curve, int field,
                      const QString& text)
{
    const std::string fault = document.CheckCurveText(field, text.toStdString());
    if (!fault.empty())
        platform::MessageBox(parent, QStringLiteral("Кривая <") + curve + QStringLiteral(">: ") + QString::fromStdString(fault),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
    return !fault.empty();
}

bool AskNewCurveName(QWidget* parent, const TLASFile& document, const QString& title, const QString& prompt,
                     QString& name, const QString& fallback)
{
    for (;;) {
        if (!platform::InputQuery(title, prompt, name))
            return false;
        name = name.isEmpty() ? name : CleanCurveName(name);
        if (name.isEmpty())
            name = fallback;
        if (name.isEmpty())
            return false;
        if (!RefusedCurveText(parent, document, name, TLasParsParsedString::kMnemonic, name))
            return true;
    }
}
