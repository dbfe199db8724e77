// Column text import and saved import parameter sets.
#include "datawin/ImportFromText.h"

#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "core/FileUtils.h"
#include "core/LasNumbers.h"
#include "core/StringUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {
const char* const kCrLf = "\r\n";

std::string Flag(bool value)
{
    return value ? "1" : "0";
}

// One line of a set file: UTF-8, or CP1251 when it is not valid UTF-8.
bool ReadSetLine(std::istream& in, std::string& line)
{
    if (!ReadLine(in, line))
        return false;
    if (!IsValidUtf8(line))
        line = Cp1251ToUtf8(line);
    return true;
}
}  // namespace

void ImportFromTextParams::Write(std::ostream& out, const std::string& name) const
{
    out << name << kCrLf << Delimiters << kCrLf << Flag(InColumns) << kCrLf << Flag(DepthByHand) << kCrLf
        << StartLine << kCrLf << SkipCount << kCrLf << Flag(SkipWords) << kCrLf << Flag(IgnoreErrors);
    if (DepthByHand)
        out << kCrLf << ShortestNumberText(StartDepth) << kCrLf << Flag(StepGiven) << kCrLf
            << ShortestNumberText(StepOrEnd);
}

std::string ImportFromTextParams::Read(std::istream& in)
{
    std::string name;
    std::string delimiters;
    if (!ReadSetLine(in, name) || !ReadSetLine(in, delimiters))
        throw std::runtime_error("Invalid data type conversion");
    std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(rest);
    fields.imbue(std::locale::classic());
    int inColumns = 0, byHand = 0, skipWords = 0;
    std::uint32_t startLine = 0, skipCount = 0;
    std::int16_t ignore = 0;
    if (!(fields >> inColumns >> byHand >> startLine >> skipCount >> skipWords >> ignore))
        throw std::runtime_error("Invalid data type conversion");
    float start = StartDepth, stepOrEnd = StepOrEnd;
    int stepGiven = StepGiven;
    if (byHand && !(fields >> start >> stepGiven >> stepOrEnd))
        throw std::runtime_error("Invalid data type conversion");
    Delimiters = delimiters;
    InColumns = inColumns != 0;
    DepthByHand = byHand != 0;
    StartLine = startLine;
    SkipCount = skipCount;
    SkipWords = skipWords != 0;
    IgnoreErrors = ignore != 0;
    if (DepthByHand) {
        StartDepth = start;
        StepGiven = stepGiven != 0;
        StepOrEnd = stepOrEnd;
    }
    return name;
}

void SplitByDelimiters(const std::string& line, std::vector<std::string>& words, const std::string& delimiters)
{
    std::size_t pos = line.find_first_not_of(delimiters);
    while (pos != std::string::npos) {
        const std::size_t end = line.find_first_of(delimiters, pos);
        words.push_back(line.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        pos = end == std::string::npos ? end : line.find_first_not_of(delimiters, end);
    }
}

int SplitByWhitespace(std::vector<std::string>& words, std::istream& in)
{
    int count = 0;
    std::string word;
    while (in >> word) {
        words.push_back(word);
        ++count;
    }
    return count;
}

bool ConvertImportWord(const std::string& word, ImportNumber& number)
{
    number.text = Trim(word);
    std::replace(number.text.begin(), number.text.end(), ',', '.');
    // A number as the LAS reader takes it, and in double so that its digits stay as written (below
    // the double range, the reader's 0).
    if (!ParseLasNumber(number.text, number.single))
        return false;
    if (!ParseLasNumber(number.text, number.value))
        number.value = number.single;
    number.decimals = std::max(0, LasDecimals(number.text));
    return true;
}

namespace {

// A float parameter as the decimal number it was typed as.
double AsTyped(float value)
{
    const std::string text = ShortestNumberText(value);
    double typed = 0;
    std::from_chars(text.data(), text.data() + text.size(), typed);
    return typed;
}

// Strictly rising or strictly falling.
bool Monotonic(const std::vector<double>& depths)
{
    bool rising = true, falling = true;
    for (std::size_t i = 1; i < depths.size(); ++i) {
        rising = rising && depths[i] > depths[i - 1];
        falling = falling && depths[i] < depths[i - 1];
    }
    return rising || falling;
}

}  // namespace

ImportResult ImportFromText(const ImportFromTextParams& params, NewLASInfo& info)
{
    std::ifstream in(params.SourceFile, std::ios::binary);
    if (!in)
        return ImportResult::CannotOpen;
    return ImportFromText(params, in, info);
}

ImportResult ImportFromText(const ImportFromTextParams& params, std::istream& in, NewLASInfo& info)
{
    info.Curves.clear();
    info.Depth.clear();
    info.Texts.Clear();
    const bool depthFromFile = !params.DepthByHand;
    const std::size_t first = depthFromFile ? 1 : 0;  // the entry of the first curve
    const bool whitespace = params.Delimiters == " ";
    std::string line;
    std::vector<std::string> words;
    std::vector<ImportNumber> entries;
    std::vector<int> decimals;  // of the texts of every column, the depth's first
    std::size_t lineNumber = 0;
    std::size_t row = 0;
    while (ReadLine(in, line)) {
        ++lineNumber;
        if (lineNumber < params.StartLine || !params.InColumns)
            continue;
        if (!params.SkipWords)
            line.erase(0, std::min<std::size_t>(params.SkipCount, line.size()));
        if (line.empty())
            continue;
        words.clear();
        if (whitespace) {
            std::istringstream stream(line);
            SplitByWhitespace(words, stream);
        } else {
            SplitByDelimiters(line, words, params.Delimiters);
        }
        if (words.empty())
            continue;
        if (params.SkipWords) {
            if (words.size() <= params.SkipCount)
                continue;
            words.erase(words.begin(), words.begin() + params.SkipCount);
        }
        entries.resize(words.size());
        bool dropped = false;
        for (std::size_t w = 0; w < words.size(); ++w) {
            ImportNumber& entry = entries[w];
            if (ConvertImportWord(words[w], entry))
                continue;
            // A number no float holds would be lost whatever the choice for errors.
            if (IsLasNumberOutOfRange(entry.text))
                throw std::runtime_error("Число " + entry.text + " в строке " + std::to_string(lineNumber) +
                                         " файла вне диапазона чисел файла LAS: файл не создается.");
            if (!params.IgnoreErrors)
                throw ImportStopped();
            entry = {info.NullValue, info.NullValue, 0, {}};
            dropped = dropped || (w == 0 && depthFromFile);
        }
        if (dropped)
            continue;
        decimals.resize(std::max(decimals.size(), words.size()), 0);
        if (row >= kMaxNewLasPoints)
            return ImportResult::TooManyRows;
        const std::size_t columns = entries.size() - first;
        while (info.Curves.size() < columns)
            info.Curves.emplace_back("c_" + std::to_string(info.Curves.size()), "", "imported", 0);
        if (depthFromFile) {
            info.Depth.push_back(entries[0].value);
            decimals[0] = std::max(decimals[0], entries[0].decimals);
        }
        for (std::size_t j = 0; j < columns; ++j) {
            const ImportNumber& entry = entries[first + j];
            const auto curve = static_cast<int>(j);
            FloatVector& values = info.Curves[j].Values;
            // Only texts the column's formatting would not give back are kept; the values before
            // stay as given when the column's decimals rise.
            int& columnDecimals = decimals[first + j];
            if (entry.decimals > columnDecimals) {
                info.Texts.KeepFormatted(curve, values, info.NullValue, columnDecimals, entry.decimals);
                columnDecimals = entry.decimals;
            }
            values.resize(row + 1, info.NullValue);
            values[row] = entry.single;
            if (!entry.text.empty() && !FormattingGivesBack(entry.text, entry.single, columnDecimals))
                info.Texts.Set(curve, static_cast<int>(row), entry.text);
        }
        ++row;
    }
    // Each column is written with the most decimals its texts had.
    for (std::size_t j = 0; j < info.Curves.size(); ++j)
        info.Curves[j].Decimals = decimals[first + j];
    if (info.Curves.empty())
        return ImportResult::NoCurves;
    if (depthFromFile) {
        if (info.Depth.size() < 2)
            return ImportResult::TooFewDepths;
        if (!Monotonic(info.Depth))
            return ImportResult::DepthNotMonotonic;
        info.DepthDecimals = decimals[0];
        info.Step = AgreeingStep(info.Depth.front(), info.Depth.back(), info.Depth.size(), info.DepthDecimals);
        return ImportResult::Done;
    }
    const std::size_t rows = info.Curves[0].Values.size();
    const double start = AsTyped(params.StartDepth);
    double step = AsTyped(params.StepOrEnd);
    if (!params.StepGiven) {
        if (rows < 2)
            return ImportResult::TooFewRows;
        step = (step - start) / double(rows - 1);
    }
    info.DepthDecimals = kNewLasDepthDecimals;
    info.Step = step;
    info.Depth.resize(rows);
    for (std::size_t i = 0; i < rows; ++i)
        info.Depth[i] = start + double(i) * step;
    return ImportResult::Done;
}

std::string SaveImportSet(const std::string& folder, const std::string& name, const ImportFromTextParams& params)
{
    const std::string path = MakeUniqueFileName(folder, "ip_", "sav");
    std::ostringstream text;
    text.imbue(std::locale::classic());
    params.Write(text, name);
    return WriteFileAtomically(path, text.str()) ? ExtractNamePart(path) : std::string();
}

std::string ReadImportSet(const std::string& path, ImportFromTextParams* params)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    try {
        ImportFromTextParams read = params ? *params : ImportFromTextParams{};
        const std::string name = read.Read(in);
        if (params && !name.empty())
            *params = read;
        return name;
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<SavedImport> ListSavedImports(const std::string& folder)
{
    std::vector<SavedImport> sets;
    for (const std::string& file : GetFileList(folder, "*.sav")) {
        const std::string name = ReadImportSet(folder + file, nullptr);
        if (!name.empty())
            sets.push_back({file, name});
    }
    return sets;
}
