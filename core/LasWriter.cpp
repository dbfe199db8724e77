#include "core/LasWriter.h"

#include <cmath>
#include <vector>

#include "core/AtomicFile.h"
#include "core/LasNumbers.h"

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

private:
    AtomicFileWriter file_;
    std::string text_;
};

// The line with its value replaced; an equal value keeps the line as read.
std::string WithValue(const TLasParsParsedString& line, const std::string& value)
{
    if (value == line.Value())
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

void WriteWellSection(LasTextOut& out, const TLasParser2Parser& document, int first, int last,
                      int k)
{
    const TLasParsSection& section = document.GetWellSection();
    const float* depth = document.GetCurveArrays().Item(0).Data();
    const int decimals = document.GetDepthDecimals();
    const float step = document.GetStepValue();
    // A STEP of 0 marks irregular sampling and stays 0.
    const std::string values[] = {
        FormatLasFixed(depth[first], decimals),
        FormatLasFixed(depth[last], decimals),
        FormatLasFixed(step == 0.0f ? 0.0f : std::fabs(step) * static_cast<float>(k), decimals),
    };
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

// The depth line and the written curves in their order, where the curve lines stood; other
// lines of ~C in place.
void WriteCurveSection(LasTextOut& out, const TLasParser2Parser& document,
                       const std::vector<int>& curves)
{
    const TLasParsSection& section = document.GetCurveSection();
    // Every curve line of ~C, each with its array: the section can be written as it stands.
    const int written = static_cast<int>(curves.size()) + 1;
    bool inFileOrder = written == document.GetCurveArrays().Count() &&
                       !document.GetCurveLine(written);
    for (size_t i = 0; i < curves.size() && inFileOrder; ++i)
        inFileOrder = curves[i] == static_cast<int>(i) + 1;

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

void WriteFurtherSections(LasTextOut& out, const TLasParser2Parser& document)
{
    for (int s = 0; s < document.GetSectionCount(); ++s) {
        const TLasParsSection& section = *document.GetSection(s);
        const int kind = section.GetKind();
        if (kind == kSectionVersion || kind == kSectionWell || kind == kSectionCurve ||
            kind == kSectionData)
            continue;
        out.Line(section.GetTitle());
        for (int i = 0; i < section.GetCount(); ++i)
            out.Line(section.GetLine(i)->Compose());
    }
}

void WriteData(LasTextOut& out, const TLasParser2Parser& document, const std::vector<int>& curves,
               int first, int last, int k)
{
    std::vector<int> written{0};
    written.insert(written.end(), curves.begin(), curves.end());
    const TStravoFloatArrayList& arrays = document.GetCurveArrays();
    std::vector<const float*> columns;
    std::vector<int> decimals;
    std::string& text = out.Text();
    text += "~A";
    for (int curve : written) {
        text += ' ';
        text += document.GetCurveLine(curve)->Mnemonic();
        columns.push_back(arrays.Item(curve).Data());
        decimals.push_back(curve == 0 ? document.GetDepthDecimals()
                                      : document.GetCurveDecimals()[static_cast<size_t>(curve)]);
    }
    out.EndLine();

    const float nullValue = document.GetNullValue();
    const std::string& nullText = document.GetNullText();
    for (long long i = first; i <= last; i += k) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                text += ' ';
            AppendLasValue(text, columns[c][i], decimals[c], nullValue, nullText);
        }
        out.EndLine();
    }
}

} // namespace

bool WriteLasFile(const TLasParser2Parser& document, const std::vector<int>& curves, int first,
                  int last, int k, const std::string& path)
{
    for (int curve : curves)
        if (!document.GetCurveLine(curve) || curve >= document.GetCurveArrays().Count())
            return false;
    LasTextOut out(path);
    if (!out.IsOpen())
        return false;
    WriteVersionSection(out, document.GetVersionSection());
    WriteWellSection(out, document, first, last, k);
    WriteCurveSection(out, document, curves);
    WriteFurtherSections(out, document);
    WriteData(out, document, curves, first, last, k);
    return out.Commit();
}
