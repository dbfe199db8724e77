// Default ~W items of a new LAS file and the LAS 2.0 writer of the new-file record.
#include "core/NewLASInfo.h"

#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"
#include "core/StringUtils.h"

#include <algorithm>
#include <charconv>

namespace {

// Padded with blanks to width characters (UTF-8: continuation bytes do not count).
std::string Padded(const std::string& text, size_t width)
{
    const size_t chars = std::count_if(text.begin(), text.end(),
                                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return chars >= width ? text : text + std::string(width - chars, ' ');
}

// "MNEM    .UNIT       value : description"
std::string HeaderLine(const std::string& mnemonic, const std::string& unit, const std::string& value,
                       const std::string& description)
{
    return Padded(mnemonic, 8) + "." + Padded(unit, 10) + " " + value + " : " + description + "\r\n";
}

std::string Fixed(double value, int decimals)
{
    std::string text;
    AppendLasGridDepth(text, value, decimals, 0);
    return text;
}

double ReadFixed(const std::string& text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The decimals, at least `least` and up to the reader's cap of 6, that the value needs.
int HoldingDecimals(double value, int least)
{
    return std::max(least, std::min(StepDecimals(value), 6));
}

// Every depth is, as a float, the first one plus its steps.
bool IsRegularGrid(const NewLASInfo& info)
{
    for (size_t i = 1; i < info.Depth.size(); ++i)
        if (static_cast<float>(info.Depth.front() + double(i) * info.Step) != static_cast<float>(info.Depth[i]))
            return false;
    return true;
}

} // namespace

LASCurveData::LASCurveData(std::string mnemonic, std::string unit, std::string description, int decimals)
    : Mnemonic(std::move(mnemonic)), Unit(std::move(unit)), Description(std::move(description)),
      Decimals(decimals)
{
}

NewLASInfo::NewLASInfo()
{
    CreateDefaultWellInfo(*this);
}

void CreateDefaultWellInfo(NewLASInfo& info)
{
    static const std::pair<const char*, const char*> items[] = {
        {"COMP", "COMPANY"}, {"WELL", "WELL"},    {"FLD", "FIELD"},           {"LOC", "LOCATION"},
        {"CNTY", "COUNTY"},  {"STAT", "STATE"},   {"CTRY", "COUNTRY"},        {"SRVC", "SERVICE COMPANY"},
        {"DATE", "LOG DATE"}, {"API", "API NUMBER"},
    };
    info.WellInfo.clear();
    for (const auto& [mnemonic, comment] : items)
        info.WellInfo.insert(InfoPair(mnemonic, Value_Comment{"", comment}));
    info.Step = 0;
    info.Curves.clear();
    info.Depth.clear();
    info.NullValue = -32768.0f;
}

double AgreeingStep(double first, double last, std::size_t rows, int decimals, int* stepDecimals)
{
    constexpr int kMostStepDecimals = 15;
    const double mean = rows > 1 ? (last - first) / double(rows - 1) : 0.0;
    const std::string target = Fixed(last, decimals);
    int d = std::clamp(decimals, 0, kMostStepDecimals);
    double step = ReadFixed(Fixed(mean, d));
    while (d < kMostStepDecimals && Fixed(first + double(rows - 1) * step, decimals) != target)
        step = ReadFixed(Fixed(mean, ++d));
    if (stepDecimals)
        *stepDecimals = d;
    return step;
}

int WriteNewLASFile(const NewLASInfo& info, const std::string& path)
{
    if (info.Depth.empty())
        return NewLASNoDepth;
    if (info.Step == 0)
        return NewLASZeroStep;

    const std::string nullText = ShortestNumberText(info.NullValue);
    // The depths of a regular grid need the decimals of its first depth and of its step.
    int decimals = std::clamp(info.DepthDecimals, 0, kMaxLasDecimals);
    if (IsRegularGrid(info))
        decimals = std::max(HoldingDecimals(info.Depth.front(), decimals), HoldingDecimals(info.Step, decimals));
    const auto depthText = [&](double depth) { return Fixed(depth, decimals); };
    int stepDecimals = HoldingDecimals(info.Step, decimals);
    const double step = info.Depth.size() > 1
                            ? AgreeingStep(info.Depth.front(), info.Depth.back(), info.Depth.size(), decimals,
                                           &stepDecimals)
                            : info.Step;

    std::string header;
    header += "~Version Information\r\n";
    header += "VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n";
    header += "WRAP.   NO : ONE LINE PER DEPTH STEP\r\n";
    header += "~Well Information\r\n";
    header += HeaderLine("STRT", info.DepthUnit, depthText(info.Depth.front()), "START DEPTH");
    header += HeaderLine("STOP", info.DepthUnit, depthText(info.Depth.back()), "STOP DEPTH");
    header += HeaderLine("STEP", info.DepthUnit, Fixed(step, stepDecimals), "STEP");
    header += HeaderLine("NULL", "", nullText, "NULL VALUE");
    for (const auto& [mnemonic, item] : info.WellInfo)
        header += HeaderLine(mnemonic, "", item.Value, item.Comment);
    header += "~Curve Information\r\n";
    header += HeaderLine(info.DepthMnemonic, info.DepthUnit, "", info.DepthDescription);
    for (const LASCurveData& curve : info.Curves)
        header += HeaderLine(curve.Mnemonic, curve.Unit, "", curve.Description);
    header += "~Parameter Information\r\n";
    header += "~Other Information\r\n";
    header += "~ASCII Log Data\r\n";

    AtomicFileWriter writer(path);
    writer.Write(AnsiToOemString(header));
    std::string row;
    for (size_t i = 0; i < info.Depth.size(); ++i) {
        row.clear();
        AppendLasGridDepth(row, info.Depth[i], decimals, kLasValueWidth);
        for (size_t c = 0; c < info.Curves.size(); ++c) {
            const LASCurveData& curve = info.Curves[c];
            row += ' ';
            const float value = i < curve.Values.size() ? curve.Values[i] : info.NullValue;
            const std::string_view given =
                info.Texts.Written(static_cast<int>(c), static_cast<int>(i), value, curve.Decimals);
            if (!given.empty())
                AppendLasAligned(row, given, kLasValueWidth);
            else
                AppendLasValue(row, value, curve.Decimals, info.NullValue, nullText);
        }
        row += "\r\n";
        writer.Write(row);
    }
    return writer.Commit() ? NewLASWritten : NewLASWriteFailed;
}
