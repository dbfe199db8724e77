// Export text table.
#include "datawin/ExportTable.h"

#include "core/AtomicFile.h"
#include "core/LasDepthColumn.h"
#include "core/LasValueTexts.h"
#include "core/Lasfile.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr int kFieldWidth = 10;
constexpr std::size_t kChunk = 1 << 20;
const char* const kLineEnd = "\r\n";

// The locale's separator in place of the point of the number appended from `from` on.
void UseLocaleSeparator(std::string& out, std::size_t from)
{
    const QChar separator = platform::DecimalSeparator();
    const std::size_t point = out.find('.', from);
    if (separator == QLatin1Char('.') || point == std::string::npos)
        return;
    if (separator.unicode() < 0x80)
        out[point] = static_cast<char>(separator.unicode());
    else
        out.replace(point, 1, QString(separator).toStdString());
}

std::size_t Utf8Length(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A field left-padded to 10 characters; a field that fills them gets one blank in front unless it
// begins the row, so that two numbers never run together.
void AppendField(std::string& out, const std::string& text, bool first)
{
    const std::size_t length = Utf8Length(text);
    if (length < kFieldWidth)
        out.append(kFieldWidth - length, ' ');
    else if (!first)
        out += ' ';
    out += text;
}

}  // namespace

std::string DepthText(int format, double depth, int decimals)
{
    if (format == 0) {
        std::string text;
        AppendLasDecimal(text, depth, decimals);
        UseLocaleSeparator(text, 0);
        return text;
    }
    if (format < 1 || format > 3 || !std::isfinite(depth))
        return {};
    const long long t = static_cast<long long>(std::clamp(std::trunc(depth), -9.0e18, 9.0e18));
    const auto text = [](long long n) { return std::to_string(n); };
    switch (format) {
    case 1:
        return text(t / 60) + "ч" + text(t % 60) + "м";
    case 2:
        return text(t / 60) + "м" + text(t % 60) + "с";
    default:
        return text(t / 3600) + "ч" + text(t % 3600 / 60) + "м" + text(t % 60) + "с";
    }
}

bool WriteExportTable(const TLASFile& document, const std::vector<int>& curves, int depthFormat, int start, int k,
                      int end, const std::string& path, int& systemError)
{
    systemError = 0;
    const std::string unit = document.GetCurveUnit(0);
    const std::string rule(64, '-');
    std::string out = "Экспорт файла '" + std::filesystem::path(document.GetFileName()).filename().string() + "'" +
                      kLineEnd;
    out += "Интервал экспорта: " + platform::RowRangeText(document, start, end).toStdString() + " (" + unit + ")." +
           kLineEnd;
    out += "Шаг экспорта: " + platform::StepsText(document, k).toStdString() + " (" + unit + ")" + kLineEnd;
    out += "(исходный шаг: " + platform::StepsText(document, 1).toStdString() + " (" + unit + "))" + kLineEnd;
    out += rule + kLineEnd + "Кривые:" + kLineEnd;
    for (int curve : curves)
        out += document.GetCurveName(curve) + ", Ед. изм. " + document.GetCurveUnit(curve) + ", Комментарий " +
               document.GetCurveDescription(curve) + kLineEnd;
    out += rule + kLineEnd;

    AtomicFileWriter writer(path);
    if (!writer.IsOpen()) {
        systemError = writer.SystemError();
        return false;
    }
    // Values as a save writes them: the file's own texts where they stand for the values.
    LasValueTexts texts(document.GetParser(), curves);
    for (int i = start; i <= end; i += std::max(k, 1)) {
        AppendField(out, DepthText(depthFormat, document.DepthAt(i), document.GetDepthDecimals()), true);
        for (const std::string& text : texts.Row(i)) {
            // The separator takes one character, as the point did.
            const std::size_t from = out.size();
            AppendField(out, text, false);
            UseLocaleSeparator(out, from);
        }
        out += kLineEnd;
        if (out.size() >= kChunk) {
            writer.Write(out);
            out.clear();
        }
    }
    writer.Write(out);
    if (writer.Commit())
        return true;
    systemError = writer.SystemError();
    return false;
}
