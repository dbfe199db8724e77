#include "core/LasWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"
#include "core/LasReadDepths.h"
#include "core/LasWriteParts.h"

LasTextOut::LasTextOut(const std::string& path, std::string lineEnd)
    : file_(path), lineEnd_(std::move(lineEnd))
{
    text_.reserve(kFlushSize + 4096);
}

DepthTexts::DepthTexts(const TLasParser2Parser& document, const LasDepthColumn* column, int first,
                       int k)
    : depth_(document.GetCurveArrays().Item(0).Data()),
      column_(column),
      decimals_(document.GetDepthDecimals()),
      first_(first),
      k_(k)
{
}

void DepthTexts::CheckRows(int last)
{
    // One row has no spacing.
    regular_ = column_ && column_->IsRegular() && last - first_ >= k_;
    for (long long i = first_; i <= last && regular_; i += k_)
        regular_ = column_->Holds(i, depth_[i]);
}

void DepthTexts::Append(std::string& out, long long i, int width) const
{
    if (!column_ || !column_->Holds(i, depth_[i])) {
        AppendLasFixed(out, depth_[i], decimals_, width);
        return;
    }
    column_->AppendDepth(out, i, decimals_, width);
}

std::string DepthTexts::Text(long long i) const
{
    std::string text;
    Append(text, i, 0);
    return text;
}

bool DepthTexts::IsTextOf(long long i, std::string_view text) const
{
    // Where the float tells one decimal of the decimals, reading as it is being that decimal.
    if (!column_ || !column_->Holds(i, depth_[i]) || FloatGivesDecimalBack(depth_[i], decimals_))
        return IsTextOfValue(text, depth_[i]);
    double read = 0.0;
    return ParseLasNumber(text, read) && read == RoundToDecimals(column_->At(i), decimals_);
}

bool DepthTexts::DifferFrom(const LasDataSource& source) const
{
    return column_ ? source.depths != *column_ : source.depths.has_value();
}

std::string DepthTexts::StepText(const char* asRead, float step, bool descending) const
{
    // Of every row, STEP says what the file or the user made it say, in its own sign and form; a
    // STEP of 0 (or unreadable) marks irregular sampling and stays 0.
    if (asRead && k_ == 1)
        return asRead;
    if (asRead && step == 0.0f)
        return "0";
    const bool grid = regular_ && (step == 0.0f || static_cast<float>(column_->Step()) == std::fabs(step));
    std::string text;
    if (descending && (step != 0.0f || grid))
        text += '-';
    if (grid)
        AppendLasGridDepth(text, RoundToDecimals(column_->Step() * k_, decimals_), decimals_, 0);
    else
        text += FormatLasExact(std::fabs(step) * static_cast<float>(k_), decimals_);
    return text;
}

namespace {

bool SameText(std::string_view a, std::string_view b)
{
    double x = 0.0;
    double y = 0.0;
    return a == b || (ParseLasNumber(a, x) && ParseLasNumber(b, y) && x == y);
}

// The line with its value replaced; an equal value (a number of the same value) keeps the line
// as read. A line as read keeps every byte around its value: the value starts where the old one
// did, and the blanks before the colon give way to a longer value (one is left) or pad a shorter
// one, so the colon stays in its column where it can.
std::string WithValue(const TLasParsParsedString& line, const std::string& value)
{
    if (SameText(value, line.Value()))
        return line.Compose();
    const std::string& raw = line.GetRawText();
    const std::string_view old = line.Value();
    const size_t colon = line.GetColonColumn() >= 0 ? static_cast<size_t>(line.GetColonColumn()) : raw.size();
    size_t end = std::min(colon, raw.size());
    while (end > 0 && IsLasBlank(raw[end - 1]))
        --end;
    const size_t begin = end - std::min(end, old.size());
    if (line.IsModified() || old.empty() || line.GetDotColumn() < 0 ||
        begin <= static_cast<size_t>(line.GetDotColumn()) || raw.compare(begin, old.size(), old) != 0) {
        TLasParsParsedString changed = line;
        changed.SetField(TLasParsParsedString::kValue, value);
        return changed.Compose();
    }
    std::string_view blanks = std::string_view(raw).substr(end, colon - end);
    std::string text = raw.substr(0, begin) + value;
    if (value.size() > old.size())
        blanks.remove_prefix(std::min(value.size() - old.size(), blanks.empty() ? 0 : blanks.size() - 1));
    else
        text.append(old.size() - value.size(), ' ');
    text += blanks;
    text += std::string_view(raw).substr(colon);
    return text;
}

// A header line of the document written with the value given.
void WriteWithValue(LasTextOut& out, const TLasParsParsedString& line, const std::string& value)
{
    const std::string text = WithValue(line, value);
    // A rewritten line ends as the line it replaces did.
    out.Line(text, line.GetLineNumber() > 0 ? std::string_view(line.GetRawText()) : std::string_view(text));
}

void WriteTitle(LasTextOut& out, const TLasParsSection& section, const char* defaultTitle)
{
    out.Line(section.IsInFile() ? std::string_view(section.GetTitle()) : defaultTitle);
}

// What a write takes from the file the rows were read from.
struct SourcePlan {
    const LasDataSource* source = nullptr;  // null: every value is formatted
    std::vector<int> columns;               // per written column (0: depth), its source column
    bool sameLayout = false;                // the rows are written line for line from the source
};

SourcePlan PlanSource(const TLasParser2Parser& document, const std::vector<int>& curves,
                      const LasWrittenRows& rows, bool everyCurveInOrder)
{
    SourcePlan plan;
    const LasDataSource& source = document.GetDataSource();
    if (source.path.empty() || !source.IsAvailable())
        return plan;
    plan.source = &source;
    bool sameColumns = source.columns == document.GetCurveArrays().Count();
    plan.columns.push_back(LasSourceColumnOf(document, 0));
    for (int curve : curves)
        plan.columns.push_back(LasSourceColumnOf(document, curve));
    for (size_t c = 0; c < plan.columns.size(); ++c)
        sameColumns = sameColumns && plan.columns[c] == static_cast<int>(c);
    // A wrapped row may share a line with the next: only whole wraps are written line for line.
    // Lines holding values that were not read are not copied: the save drops them, as it warned.
    plan.sameLayout = source.whole && everyCurveInOrder &&
                      sameColumns && source.rows == rows.points &&
                      (!source.wrapped || rows.IsWhole()) &&
                      source.summary.Columns() == static_cast<size_t>(source.columns);
    return plan;
}

// unwrap: the file read says WRAP YES, the rows are written one per line.
void WriteVersionSection(LasTextOut& out, const TLasParsSection& section, bool wrapped, bool unwrap)
{
    WriteTitle(out, section, "~Version Information");
    // An added section says what the file written is.
    if (!section.IsInFile()) {
        out.Line(TLasParsParsedString::MakeNew("VERS", "", "2.0", "", kLineVers).Compose());
        out.Line(TLasParsParsedString::MakeNew("WRAP", "", wrapped ? "YES" : "NO", "", kLineWrap).Compose());
    }
    for (int i = 0; i < section.GetCount(); ++i) {
        const TLasParsParsedString& line = *section.GetLine(i);
        if (unwrap && &line == section.FindLineByCode(kLineWrap))
            WriteWithValue(out, line, "NO");
        else
            out.Line(line.Compose());
    }
}

// The text written for the depth of a row: the source's own where the row keeps it.
std::string RowDepthText(const DepthTexts& depths, const SourcePlan& plan, const LasWrittenRows& rows, int sample)
{
    if (plan.source) {
        const long long row = rows.SampleOfFileRow(sample, plan.source->rows);
        if (row == 0 && depths.IsTextOf(sample, plan.source->firstDepthText))
            return plan.source->firstDepthText;
        if (row == plan.source->rows - 1 && depths.IsTextOf(sample, plan.source->lastDepthText))
            return plan.source->lastDepthText;
    }
    return depths.Text(sample);
}

void WriteWellSection(LasTextOut& out, const TLasParser2Parser& document, const DepthTexts& depths,
                      const std::string& strt, const std::string& stop)
{
    const TLasParsSection& section = document.GetWellSection();
    const TLasParsParsedString* step = section.FindLineByCode(kLineStep);
    const std::string values[] = {
        strt, stop, depths.StepText(step ? step->Value() : nullptr, document.GetStepValue(), document.IsDescending())};
    const int codes[] = {kLineStrt, kLineStop, kLineStep};
    const char* mnemonics[] = {"STRT", "STOP", "STEP"};

    WriteTitle(out, section, "~Well Information");
    const TLasParsParsedString* depthLine = document.GetCurveLine(0);
    const char* unit = depthLine ? depthLine->Unit() : "";
    for (int c = 0; c < 3; ++c)
        if (!section.FindLineByCode(codes[c]))
            out.Line(TLasParsParsedString::MakeNew(mnemonics[c], unit, values[c], "", codes[c])
                         .Compose());
    // Only the first line of a code tells the depths; a repeated one stays as read.
    for (int i = 0; i < section.GetCount(); ++i) {
        const TLasParsParsedString& line = *section.GetLine(i);
        const int code = line.GetKind();
        if (code >= kLineStrt && code <= kLineStep && &line == section.FindLineByCode(code))
            WriteWithValue(out, line, values[code - kLineStrt]);
        else
            out.Line(line.Compose());
    }
}

// Every curve line of ~C, each with its array, in file order: ~C can be written as it stands.
bool WritesEveryCurveInOrder(const TLasParser2Parser& document, const std::vector<int>& curves)
{
    const int written = static_cast<int>(curves.size()) + 1;
    bool inFileOrder = written == document.GetCurveArrays().Count() &&
                       !document.GetCurveLine(written);
    for (size_t i = 0; i < curves.size() && inFileOrder; ++i)
        inFileOrder = curves[i] == static_cast<int>(i) + 1;
    return inFileOrder;
}

// Whether a header line was changed or added since the file was read: the file written differs
// from it beyond the depth lines the writer recomputes.
bool HeaderChanged(const TLasParser2Parser& document)
{
    for (int s = 0; s < document.GetSectionCount(); ++s) {
        const TLasParsSection& section = *document.GetSection(s);
        for (int i = 0; i < section.GetCount(); ++i) {
            const TLasParsParsedString& line = *section.GetLine(i);
            if (line.IsModified() || line.GetLineNumber() <= 0)
                return true;
        }
    }
    return false;
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

// The header sections in file order; a ~V missing from the file comes first, a missing ~W right
// after ~V, a missing ~C right after ~W.
void WriteHeaderSections(LasTextOut& out, const TLasParser2Parser& document,
                         const DepthTexts& depths, const std::vector<int>& curves,
                         const std::string& strt, const std::string& stop, bool wrapped)
{
    const bool wellInFile = document.GetWellSection().IsInFile();
    const bool curvesInFile = document.GetCurveSection().IsInFile();
    const auto writeWell = [&] {
        WriteWellSection(out, document, depths, strt, stop);
        if (!curvesInFile)
            WriteCurveSection(out, document, curves);
    };
    const bool unwrap = !wrapped && document.IsWrapped();
    const auto writeVersion = [&](const TLasParsSection& section) {
        WriteVersionSection(out, section, wrapped, unwrap);
        if (!wellInFile)
            writeWell();
    };
    if (!document.GetVersionSection().IsInFile())
        writeVersion(document.GetVersionSection());
    for (int s = 0; s < document.GetSectionCount(); ++s) {
        const TLasParsSection& section = *document.GetSection(s);
        switch (section.GetKind()) {
        case kSectionVersion: writeVersion(section); break;
        case kSectionWell: writeWell(); break;
        case kSectionCurve: WriteCurveSection(out, document, curves); break;
        case kSectionData: break;
        default: WriteOtherSection(out, section); break;
        }
    }
}

// The word of the ~A title as read over the curve written, where the title has one word per ~C
// curve as read: its word, renamed with the curve where it was the mnemonic (the depth's where
// the title names the data curves); for a curve added since, its mnemonic.
std::string_view TitleWordOf(const TLasParser2Parser& document, const std::vector<LasTitleWord>& words, int curve)
{
    const TLasParsParsedString& line = *document.GetCurveLine(curve);
    const int column = document.GetColumnAsRead(curve);
    if (column < 0)
        return line.Mnemonic();
    const std::string_view word = words[static_cast<size_t>(column)].word;
    const std::string_view asRead = line.GetFieldAsRead(TLasParsParsedString::kMnemonic);
    const bool names = word == asRead || (column == 0 && document.DataTitleNamesCurves());
    return names && asRead != line.Mnemonic() ? std::string_view(line.Mnemonic()) : word;
}

// The ~A title with the words of the written curves in the places of its words: each where the
// title's word stood, padded or closer to its neighbour so that the next keeps its column (one
// blank at least); words beyond the title's after the blanks of its last.
std::string NamingDataTitle(std::string_view title, const std::vector<LasTitleWord>& words,
                            const TLasParser2Parser& document, const std::vector<int>& curves)
{
    const size_t first = title.find_first_not_of(" \t");
    std::string text(title.substr(0, title.find_first_of(" \t", first)));
    for (size_t i = 0; i <= curves.size(); ++i) {
        const LasTitleWord& word = words[std::min(i, words.size() - 1)];
        const size_t column = static_cast<size_t>(word.word.data() - title.data());
        if (i >= words.size() || word.blanks.find('\t') != std::string_view::npos)
            text += word.blanks;
        else
            text.append(column > text.size() ? column - text.size() : 1, ' ');
        text += TitleWordOf(document, words, i == 0 ? 0 : curves[i - 1]);
    }
    const std::string_view last = words.back().word;
    text += title.substr(static_cast<size_t>(last.data() - title.data()) + last.size());
    return text;
}

// Whether the columns written are the ~C curves as read, all of them in their order.
bool WritesCurvesAsRead(const TLasParser2Parser& document, const std::vector<int>& curves)
{
    bool asRead = static_cast<int>(curves.size()) + 1 == document.GetCurveCountAsRead();
    for (size_t i = 0; i < curves.size() && asRead; ++i)
        asRead = document.GetColumnAsRead(curves[i]) == static_cast<int>(i) + 1;
    return asRead;
}

// The ~A title names the columns written: a title of one word per ~C curve as read by the words
// over them, any other title as read while the columns are the curves read, else the mnemonics.
void WriteDataTitle(LasTextOut& out, const TLasParser2Parser& document, const std::vector<int>& curves)
{
    const TLasParsSection* data = document.GetDataSection();
    const std::string_view title = data ? std::string_view(data->GetTitle()) : std::string_view();
    const std::vector<LasTitleWord> words = LasDataTitleWords(title);
    if (document.DataTitleWordsColumns()) {
        out.Line(NamingDataTitle(title, words, document, curves));
        return;
    }
    if (data && WritesCurvesAsRead(document, curves)) {
        out.Line(title);
        return;
    }
    std::string text = "~A ";
    text += document.GetCurveLine(0)->Mnemonic();
    for (int curve : curves) {
        text += ' ';
        text += document.GetCurveLine(curve)->Mnemonic();
    }
    out.Line(text);
}

} // namespace

bool WriteLasFile(const TLasParser2Parser& document, const LasDepthColumn* depthColumn,
                  const std::vector<int>& curves, int first, int last, int k,
                  const std::string& path, int* systemError, bool completeRows)
{
    for (int curve : curves)
        if (!document.GetCurveLine(curve) || curve >= document.GetCurveArrays().Count())
            return false;
    LasDataSource& source = document.GetDataSource();
    LasTextOut out(path, source.lineEnd);
    const auto failed = [&] {
        if (systemError)
            *systemError = out.SystemError();
        return false;
    };
    if (!out.IsOpen())
        return failed();
    const LasWrittenRows rows{first, last, k, document.GetPointCount(), document.IsDescending()};
    const bool everyCurveInOrder = WritesEveryCurveInOrder(document, curves);
    const SourcePlan plan = PlanSource(document, curves, rows, everyCurveInOrder);
    const std::optional<LasFileStamp> target = LasFileStamp::Of(path);
    const bool replacesSource = !plan.source || (target && *target == plan.source->stamp);
    // A file written over the source (or where there is none) that holds the whole document is
    // where unchanged rows are read from next.
    const bool becomesSource = replacesSource && everyCurveInOrder && rows.IsWhole();
    const bool wrapped = plan.sameLayout && plan.source->wrapped;
    if (plan.source)
        out.KeepHeaderLineEnds(*plan.source);
    if (document.HasByteOrderMark())
        out.Text() += "\xEF\xBB\xBF";
    for (const std::string& line : document.GetPreamble())
        out.Line(line);
    DepthTexts depths(document, depthColumn, first, k);
    depths.CheckRows(last);
    const std::string firstDepth = RowDepthText(depths, plan, rows, rows.Sample(0));
    const std::string lastDepth =
        RowDepthText(depths, plan, rows, rows.Sample(rows.Count() - 1));
    WriteHeaderSections(out, document, depths, curves, firstDepth, lastDepth, wrapped);
    WriteDataTitle(out, document, curves);
    const long long dataOffset = out.Bytes();
    LasRowsSummary summary;
    // Rows lacking values stay short only in a file written as read.
    const bool wholeRows = completeRows || (!source.rowsComplete && HeaderChanged(document));
    const bool rowsComplete =
        WriteLasRows(out, LasRowFormat(document, depths, curves), rows, plan.source, plan.columns,
                     plan.sameLayout, wholeRows, becomesSource ? &summary : nullptr);
    // A DOS end-of-file mark after the rows stays after them.
    const bool keepsEndMark = plan.source && rows.IsWhole();
    if (keepsEndMark)
        out.Append(source.endMark);
    if (!out.Commit())
        return failed();
    const std::optional<LasFileStamp> stamp = LasFileStamp::Of(path);
    if (stamp && becomesSource) {
        LasDataSource written;
        written.path = path;
        written.stamp = *stamp;
        written.dataOffset = dataOffset;
        written.rows = rows.points;
        written.columns = static_cast<int>(curves.size()) + 1;
        written.wrapped = wrapped;
        written.firstDepthText = firstDepth;
        written.lastDepthText = lastDepth;
        written.lineEnd = source.lineEnd;
        for (int c = 0; c < written.columns; ++c) {
            written.curveColumns.push_back(c);
            written.decimals.push_back(c == 0 ? document.GetDepthDecimals()
                                              : document.GetCurveDecimals()[static_cast<size_t>(c)]);
        }
        written.rowsComplete = rowsComplete;
        written.summary = std::move(summary);
        if (keepsEndMark)
            written.endMark = source.endMark;
        if (depthColumn)
            written.depths = *depthColumn;
        source = std::move(written);
    }
    return true;
}
