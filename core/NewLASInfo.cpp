// Default ~W items of a new LAS file and the LAS 2.0 writer of the new-file record.
#include "core/NewLASInfo.h"

#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "core/LasNumbers.h"
#include "core/StringUtils.h"

#include <algorithm>

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

// The fewest decimals, at least the record's and at most the reader's cap of 6, with which the
// first depth and the step read back as the same floats.
int DepthDecimalsFor(const NewLASInfo& info)
{
    const auto holds = [](float value, int decimals) {
        float back = 0;
        return ParseLasNumber(FormatLasFixed(value, decimals), back) && back == value;
    };
    int decimals = std::clamp(info.DepthDecimals, 0, 6);
    while (decimals < 6 && !(holds(info.Depth.front(), decimals) && holds(info.Step, decimals)))
        ++decimals;
    return std::max(decimals, info.DepthDecimals);
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

int WriteNewLASFile(const NewLASInfo& info, const std::string& path)
{
    if (info.Depth.empty())
        return NewLASNoDepth;
    if (info.Step == 0)
        return NewLASZeroStep;

    const std::string nullText = ShortestNumberText(info.NullValue);
    const int decimals = DepthDecimalsFor(info);
    const auto depthText = [&](float depth) { return FormatLasFixed(depth, decimals); };

    std::string header;
    header += "~Version Information\r\n";
    header += "VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n";
    header += "WRAP.   NO : ONE LINE PER DEPTH STEP\r\n";
    header += "~Well Information\r\n";
    header += HeaderLine("STRT", info.DepthUnit, depthText(info.Depth.front()), "START DEPTH");
    header += HeaderLine("STOP", info.DepthUnit, depthText(info.Depth.back()), "STOP DEPTH");
    header += HeaderLine("STEP", info.DepthUnit, depthText(info.Step), "STEP");
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
        // A depth of the regular grid is written from the first depth and the step in double.
        const double grid = double(info.Depth.front()) + double(i) * double(info.Step);
        if (static_cast<float>(grid) == info.Depth[i])
            AppendLasGridDepth(row, grid, decimals, kLasValueWidth);
        else
            AppendLasFixed(row, info.Depth[i], decimals, kLasValueWidth);
        for (const LASCurveData& curve : info.Curves) {
            row += ' ';
            const float value = i < curve.Values.size() ? curve.Values[i] : info.NullValue;
            AppendLasValue(row, value, curve.Decimals, info.NullValue, nullText);
        }
        row += "\r\n";
        writer.Write(row);
    }
    return writer.Commit() ? NewLASWritten : NewLASWriteFailed;
}
