#include "core/LasWriter.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "core/AtomicFile.h"
#include "core/LasNumbers.h"
#include "core/StringUtils.h"

namespace {

constexpr size_t kFlushSize = 1 << 20;

class LasTextOut {
public:
    explicit LasTextOut(const std::string& path) : file_(path) { text_.reserve(kFlushSize + 4096); }

    bool IsOpen() const { return file_.IsOpen(); }
    std::string& Text() { return text_; }
    void Line(std::string_view line)
    {
        text_ += line;
        EndLine();
    }
    void EndLine()
    {
        text_ += "\r\n";
        if (text_.size() >= kFlushSize) {
            file_.Write(text_);
            text_.clear();
        }
    }
    bool Commit()
    {
        file_.Write(text_);
        return file_.Commit();
    }
    int SystemError() const { return file_.SystemError(); }

private:
    AtomicFileWriter file_;
    std::string text_;
};

bool ReadWholeNumber(std::string_view text, double& value)
{
    text = Trim(text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() &&
           std::isfinite(value);
}

bool SameText(std::string_view a, std::string_view b)
{
    double x = 0.0;
    double y = 0.0;
    return a == b || (ReadWholeNumber(a, x) && ReadWholeNumber(b, y) && x == y);
}

// The line with its value replaced; an equal value (a number of the same value) keeps the line
// as read.
std::string WithValue(const TLasParsParsedString& line, const std::string& value)
{
    if (SameText(value, line.Value()))
        return line.Compose();
    TLasParsParsedString changed = line;
    changed.SetField(TLasParsParsedString::kValue, value);
    return changed.Compose();
}

void WriteTitle(LasTextOut& out, const TLasParsSection& section, const char* defaultTitle)
{
    out.Line(section.IsInFile() ? std::string_view(section.GetTitle()) : defaultTitle);
}

void WriteVersionSection(LasTextOut& out, const TLasParsSection& section)
{
    WriteTitle(out, section, "~Version Information");
    for (int i = 0; i < section.GetCount(); ++i) {
        const TLasParsParsedString& line = *section.GetLine(i);
        // The data are always written one row per line.
        out.Line(line.GetKind() == kLineWrap ? WithValue(line, "NO") : line.Compose());
    }
}

// The depths of the written rows as text. A regular grid (each depth the float of
// STRT + i * STEP of ~W) is written from the grid computed in double, which a float cannot hold
// at large depths; any other depth as its own shortest text.
class DepthTexts {
public:
    DepthTexts(const TLasParser2Parser& document, int first, int k)
        : depth_(document.GetCurveArrays().Item(0).Data()),
          decimals_(document.GetDepthDecimals()),
          first_(first),
          k_(k)
    {
        const TLasParsSection& well = document.GetWellSection();
        double strt = 0.0;
        double stop = 0.0;
        double step = 0.0;
        if (!ReadWellNumber(well, kLineStep, step) || step == 0.0)
            return;
        step_ = std::fabs(step);
        // A file written bottom up holds its top depth in STOP.
        if (ReadWellNumber(well, kLineStrt, strt) && static_cast<float>(strt) == depth_[0])
            base_ = strt;
        else if (ReadWellNumber(well, kLineStop, stop) && static_cast<float>(stop) == depth_[0])
            base_ = stop;
        else
            return;
        regular_ = true;
    }

    // Whether rows first, first + k, ..., last all lie on the grid; written as such when they do.
    void CheckRows(int last)
    {
        for (long long i = first_; i <= last && regular_; i += k_)
            regular_ = static_cast<float>(Grid(i)) == depth_[i];
    }

    void Append(std::string& out, long long i, int width) const
    {
        if (regular_)
            AppendLasGridDepth(out, Grid(i), decimals_, width);
        else
            AppendLasFixed(out, depth_[i], decimals_, width);
    }

    std::string Text(long long i) const
    {
        std::string text;
        Append(text, i, 0);
        return text;
    }

    std::string StepText(float step, bool descending) const
    {
        std::string text;
        if (descending && step != 0.0f)
            text += '-';
        if (regular_)
            AppendLasGridDepth(text, step_ * k_, decimals_, 0);
        else
            text += FormatLasExact(std::fabs(step) * static_cast<float>(k_), decimals_);
        return text;
    }

private:
    // The number of a ~W line, when the depth decimals can write it exactly.
    bool ReadWellNumber(const TLasParsSection& well, int code, double& value) const
    {
        const TLasParsParsedString* line = well.FindLineByCode(code);
        if (!line)
            return false;
        std::string_view text = Trim(line->Value());
        if (text.find('.') != std::string_view::npos &&
            text.find_first_of("eE") == std::string_view::npos)
            text = text.substr(0, text.find_last_not_of('0') + 1);
        return LasDecimals(text) <= decimals_ && ReadWholeNumber(line->Value(), value);
    }

    double Grid(long long i) const { return base_ + static_cast<double>(i) * step_; }

    const float* depth_;
    int decimals_;
    int first_;
    int k_;
    double base_ = 0.0;
    double step_ = 0.0;
    bool regular_ = false;
};

void WriteWellSection(LasTextOut& out, const TLasParser2Parser& document, const DepthTexts& depths,
                      int first, int last)
{
    const TLasParsSection& section = document.GetWellSection();
    // A STEP of 0 marks irregular sampling and stays 0.
    const bool descending = document.IsDescending();
    const std::string values[] = {depths.Text(descending ? last : first),
                                  depths.Text(descending ? first : last),
                                  depths.StepText(document.GetStepValue(), descending)};
    const int codes[] = {kLineStrt, kLineStop, kLineStep};
    const char* mnemonics[] = {"STRT", "STOP", "STEP"};

    WriteTitle(out, section, "~Well Information");
    const TLasParsParsedString* depthLine = document.GetCurveLine(0);
    const char* unit = depthLine ? depthLine->Unit() : "";
    for (int c = 0; c < 3; ++c)
        if (!section.FindLineByCode(codes[c]))
            out.Line(TLasParsParsedString::MakeNew(mnemonics[c], unit, values[c], "", codes[c])
                         .Compose());
    if (!section.FindLineByCode(kLineNull))
        out.Line(TLasParsParsedString::MakeNew("NULL", "", document.GetNullText(), "", kLineNull)
                     .Compose());
    for (int i = 0; i < section.GetCount(); ++i) {
        const TLasParsParsedString& line = *section.GetLine(i);
        const int code = line.GetKind();
        if (code >= kLineStrt && code <= kLineStep)
            out.Line(WithValue(line, values[code - kLineStrt]));
        else
            out.Line(line.Compose());
    }
}

// Every curve line of ~C, each with its array, in file order: ~C and the ~A title can be
// written as they stand.
bool WritesEveryCurveInOrder(const TLasParser2Parser& document, const std::vector<int>& curves)
{
    const int written = static_cast<int>(curves.size()) + 1;
    bool inFileOrder = written == document.GetCurveArrays().Count() &&
                       !document.GetCurveLine(written);
    for (size_t i = 0; i < curves.size() && inFileOrder; ++i)
        inFileOrder = curves[i] == static_cast<int>(i) + 1;
    return inFileOrder;
}

const TLasParsSection* FindDataSection(const TLasParser2Parser& document)
{
    for (int s = 0; s < document.GetSectionCount(); ++s)
        if (document.GetSection(s)->GetKind() == kSectionData)
            return document.GetSection(s);
    return nullptr;
}

// The depth line and the written curves in their order, where the curve lines stood; other
// lines of ~C in place.
void WriteCurveSection(LasTextOut& out, const TLasParser2Parser& document,
                       const std::vector<int>& curves)
{
    const TLasParsSection& section = document.GetCurveSection();
    const bool inFileOrder = WritesEveryCurveInOrder(document, curves);
    WriteTitle(out, section, "~Curve Information");
    bool curvesWritten = false;
    for (int i = 0; i < section.GetCount(); ++i) {
        const TLasParsParsedString& line = *section.GetLine(i);
        if (line.GetKind() != kLineCurve || inFileOrder) {
            out.Line(line.Compose());
        } else if (!curvesWritten) {
            out.Line(document.GetCurveLine(0)->Compose());
            for (int curve : curves)
                out.Line(document.GetCurveLine(curve)->Compose());
            curvesWritten = true;
        }
    }
}

void WriteOtherSection(LasTextOut& out, const TLasParsSection& section)
{
    out.Line(section.GetTitle());
    for (int i = 0; i < section.GetCount(); ++i)
        out.Line(section.GetLine(i)->Compose());
}

// The header sections in file order; ~V and ~W missing from the file come first, a missing ~C
// right after ~W.
void WriteHeaderSections(LasTextOut& out, const TLasParser2Parser& document,
                         const DepthTexts& depths, const std::vector<int>& curves, int first,
                         int last)
{
    const bool curvesInFile = document.GetCurveSection().IsInFile();
    const auto writeWell = [&] {
        WriteWellSection(out, document, depths, first, last);
        if (!curvesInFile)
            WriteCurveSection(out, document, curves);
    };
    if (!document.GetVersionSection().IsInFile())
        WriteVersionSection(out, document.GetVersionSection());
    if (!document.GetWellSection().IsInFile())
        writeWell();
    for (int s = 0; s < document.GetSectionCount(); ++s) {
        const TLasParsSection& section = *document.GetSection(s);
        switch (section.GetKind()) {
        case kSectionVersion: WriteVersionSection(out, section); break;
        case kSectionWell: writeWell(); break;
        case kSectionCurve: WriteCurveSection(out, document, curves); break;
        case kSectionData: break;
        default: WriteOtherSection(out, section); break;
        }
    }
}

void WriteData(LasTextOut& out, const TLasParser2Parser& document, const DepthTexts& depths,
               const std::vector<int>& curves, int first, int last, int k)
{
    std::vector<int> written{0};
    written.insert(written.end(), curves.begin(), curves.end());
    const TStravoFloatArrayList& arrays = document.GetCurveArrays();
    std::vector<const float*> columns;
    std::vector<int> decimals;
    std::string& text = out.Text();
    const TLasParsSection* data = FindDataSection(document);
    const bool keepTitle = data && WritesEveryCurveInOrder(document, curves);
    text += keepTitle ? data->GetTitle() : std::string("~A");
    for (int curve : written) {
        if (!keepTitle) {
            text += ' ';
            text += document.GetCurveLine(curve)->Mnemonic();
        }
        columns.push_back(arrays.Item(curve).Data());
        decimals.push_back(curve == 0 ? document.GetDepthDecimals()
                                      : document.GetCurveDecimals()[static_cast<size_t>(curve)]);
    }
    out.EndLine();

    const float nullValue = document.GetNullValue();
    const std::string& nullText = document.GetNullText();
    const bool descending = document.IsDescending();
    const long long rows = (last - first) / k + 1;
    for (long long n = 0; n < rows; ++n) {
        const long long i = first + (descending ? rows - 1 - n : n) * k;
        depths.Append(text, i, kLasValueWidth);
        for (size_t c = 1; c < columns.size(); ++c) {
            text += ' ';
            AppendLasValue(text, columns[c][i], decimals[c], nullValue, nullText);
        }
        out.EndLine();
    }
}

} // namespace

bool WriteLasFile(const TLasParser2Parser& document, const std::vector<int>& curves, int first,
                  int last, int k, const std::string& path, int* systemError)
{
    for (int curve : curves)
        if (!document.GetCurveLine(curve) || curve >= document.GetCurveArrays().Count())
            return false;
    LasTextOut out(path);
    const auto failed = [&] {
        if (systemError)
            *systemError = out.SystemError();
        return false;
    };
    if (!out.IsOpen())
        return failed();
    if (document.HasByteOrderMark())
        out.Text() += "\xEF\xBB\xBF";
    for (const std::string& line : document.GetPreamble())
        out.Line(line);
    DepthTexts depths(document, first, k);
    depths.CheckRows(last);
    WriteHeaderSections(out, document, depths, curves, first, last);
    WriteData(out, document, depths, curves, first, last, k);
    return out.Commit() || failed();
}
