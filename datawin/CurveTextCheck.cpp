// Curve text check of the data windows.
#include "datawin/CurveTextCheck.h"

#include <string_view>

namespace {
QString CharName(char c)
{
    switch (c) {
    case ' ':
        return QStringLiteral("пробел");
    case '\n':
    case '\r':
        return QStringLiteral("перевод строки");
    case '\t':
        return QStringLiteral("табуляция");
    default:
        return QStringLiteral("'") + QChar::fromLatin1(c) + QStringLiteral("'");
    }
}
}  // namespace

QString CurveTextFault(int field, const std::string& text)
{
    static const char* const names[] = {"Имя кривой", "Единица измерения", "Комментарий"};
    static const std::string_view forbidden[] = {" \t.:\r\n", " \t:\r\n", ":\r\n"};
    if (field < 0 || field > 2)
        return {};
    const QString what = QString::fromUtf8(names[field]) + QStringLiteral(" <") + QString::fromStdString(text) +
                         QStringLiteral(">");
    if (field == 0 && text.empty())
        return QStringLiteral("Имя кривой не может быть пустым");
    const std::size_t at = text.find_first_of(forbidden[field]);
    if (at == std::string::npos)
        return {};
    return what + QStringLiteral(" не может содержать символ: ") + CharName(text[at]);
}
