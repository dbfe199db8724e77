#include "core/Lasfile.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/CodePages.h"
#include "core/LasNumbers.h"
#include "core/LasWriter.h"
#include "core/MemoryBudget.h"
#include "core/Q7mathutils.h"

TLASFile::TLASFile(const std::string& path, int defaultDecimals)
    : fileName_(path), defaultDecimals_(std::clamp(defaultDecimals, 0, kMaxLasDecimals))
{
    try {
        parser_.ReadFile(path, defaultDecimals_);
        KeepReadDepths(parser_.TakeReadDepths());
        // The depths the rows of the file stand for, to tell which a save must write anew.
        if (const LasDepthColumn* column = DepthColumn())
            parser_.GetDataSource().depths = *column;
        loaded_ = true;
    } catch (const std::bad_alloc&) {
        loadError_ = "Недостаточно памяти для загрузки файла";
    } catch (const std::exception& e) {
        loadError_ = e.what();
    }
}

TLASFile::~TLASFile() = default;

float* TLASFile::GetCurveData(int index)
{
    return index >= 0 && index < GetCurvesCount() ? parser_.GetCurveArrays().Item(index).Data()
                                                   : nullptr;
}

const float* TLASFile::GetCurveData(int index) const
{
    return const_cast<TLASFile*>(this)->GetCurveData(index);
}

float TLASFile::GetStep() const
{
    const float step = std::fabs(parser_.GetStepValue());
    if (step != 0.0f)
        return step;
    const int n = GetPointCount();
    if (n < 2)
        return 0.0f;
    const float* depth = GetCurveData(0);
    return (depth[n - 1] - depth[0]) / static_cast<float>(n - 1);
}

void TLASFile::SetStep(float step)
{
    if (step != parser_.GetStepValue())
        Changed();
    parser_.SetStepValue(step);
    std::string text = FormatLasFixed(step, GetDepthDecimals());
    TLasParsSection& well = parser_.GetWellSection();
    if (TLasParsParsedString* line = well.FindLineByCode(kLineStep)) {
        // The line keeps the sign the file gives STEP.
        float stated = 0.0f;
        if (ParseLasNumber(line->Value(), stated) && stated != 0.0f)
            text = FormatLasFixed(std::copysign(step, stated), GetDepthDecimals());
        if (text != line->Value())
            line->SetField(TLasParsParsedString::kValue, text);
    } else {
        const TLasParsParsedString* depthLine = parser_.GetCurveLine(0);
        well.InsertLine(0, TLasParsParsedString::MakeNew("STEP", depthLine ? depthLine->Unit() : "",
                                                         text, "", kLineStep));
    }
}

float TLASFile::GetTopDepth() const
{
    return GetPointCount() > 0 ? GetCurveData(0)[0] : 0.0f;
}

float TLASFile::GetBottomDepth() const
{
    const int n = GetPointCount();
    return n > 0 ? GetCurveData(0)[n - 1] : 0.0f;
}

void TLASFile::SetDepthDecimals(int n)
{
    parser_.SetDepthDecimals(std::clamp(n, 0, kMaxLasDecimals));
    if (depthColumn_)
        depthColumn_->SetDecimals(GetDepthDecimals());
}

void TLASFile::RaiseDepthDecimals(int decimals)
{
    if (decimals > GetDepthDecimals())
        SetDepthDecimals(decimals);
}

const LasDepthColumn* TLASFile::DepthColumn() const
{
    // Parallel readers (the statistics report) may be the first to ask.
    if (!depthColumnKnown_.load(std::memory_order_acquire)) {
        const std::lock_guard lock(depthColumnFill_);
        if (!depthColumnKnown_.load(std::memory_order_relaxed)) {
            depthColumn_ = LasDepthColumn::FindGrid(parser_);
            depthColumnKnown_.store(true, std::memory_order_release);
        }
    }
    return depthColumn_ ? &*depthColumn_ : nullptr;
}

const LasDepthColumn& TLASFile::ColumnForChange() const
{
    const LasDepthColumn* column = DepthColumn();
    if (!column || !column->HoldsAll(GetCurveData(0), GetPointCount())) {
        depthColumn_ = LasDepthColumn::FindGrid(parser_);
        if (!depthColumn_)
            depthColumn_ = LasDepthColumn::Irregular(parser_);
    }
    return *depthColumn_;
}

void TLASFile::KeepReadDepths(LasReadColumn read)
{
    if (read.grid)
        KeepDepthColumn(LasDepthColumn::Grid(read.first, read.step, GetDepthDecimals()));
    else if (!read.depths.Empty())
        KeepDepthColumn(LasDepthColumn::Irregular(std::move(read.depths), LasDepthColumn::StepOf(parser_),
                                                  GetDepthDecimals()));
}

void TLASFile::KeepDepthColumn(std::optional<LasDepthColumn> column)
{
    depthColumn_ = std::move(column);
    depthColumnKnown_ = depthColumn_.has_value();
}

double TLASFile::DepthAt(long long i) const
{
    const int n = GetPointCount();
    const float* depths = GetCurveData(0);
    if (const LasDepthColumn* column = DepthColumn())
        return column->DepthOf(i, depths, n);
    return n > 0 ? ContinuedDepth(depths, n, GetDepthDecimals(), LasDepthColumn::StepOf(parser_), i)
                 : 0.0;
}

double TLASFile::DecimalDepthOf(double depth) const
{
    const float* depths = GetCurveData(0);
    const float* end = depths + GetPointCount();
    const float held = static_cast<float>(depth);
    const float* row = std::lower_bound(depths, end, held);
    return row != end && *row == held ? DepthAt(row - depths) : LasDecimal::Of(depth).value;
}

std::string TLASFile::GetCurveField(int index, int field) const
{
    const TLasParsParsedString* line = index < GetCurvesCount() ? parser_.GetCurveLine(index)
                                                                : nullptr;
    return line ? parser_.Decode(line->GetField(field)) : std::string();
}

std::string TLASFile::CheckCurveText(int field, const std::string& text) const
{
    std::string problem = LasFieldProblem(field, text);
    std::string encoded;
    std::string bad;
    if (problem.empty() && !EncodeText(text, parser_.GetEncoding(), encoded, &bad))
        problem = "Символ '" + bad + "' нельзя записать в кодировке файла";
    return problem;
}

bool TLASFile::SetCurveField(int index, int field, const std::string& text)
{
    TLasParsParsedString* line = index < GetCurvesCount() ? parser_.GetCurveLine(index) : nullptr;
    std::string encoded;
    if (!line || !LasFieldProblem(field, text).empty() ||
        !EncodeText(text, parser_.GetEncoding(), encoded))
        return false;
    line->SetField(field, encoded);
    return true;
}

std::string TLASFile::GetCurveName(int index) const
{
    return GetCurveField(index, TLasParsParsedString::kMnemonic);
}

bool TLASFile::SetCurveName(int index, const std::string& name)
{
    return SetCurveField(index, TLasParsParsedString::kMnemonic, name);
}

std::string TLASFile::GetCurveUnit(int index) const
{
    return GetCurveField(index, TLasParsParsedString::kUnit);
}

std::string TLASFile::GetDepthUnit() const
{
    std::string unit = GetCurveUnit(0);
    const TLasParsParsedString* strt = parser_.GetWellSection().FindLineByCode(kLineStrt);
    if (unit.empty() && strt)
        unit = parser_.Decode(strt->Unit());
    return unit;
}

bool TLASFile::SetCurveUnit(int index, const std::string& unit)
{
    return SetCurveField(index, TLasParsParsedString::kUnit, unit);
}

std::string TLASFile::GetCurveDescription(int index) const
{
    return GetCurveField(index, TLasParsParsedString::kDescription);
}

bool TLASFile::SetCurveDescription(int index, const std::string& description)
{
    return SetCurveField(index, TLasParsParsedString::kDescription, description);
}

int TLASFile::GetCurveDecimals(int index) const
{
    if (index == 0)
        return GetDepthDecimals();
    return IsDataCurve(index) ? parser_.GetCurveDecimals()[static_cast<size_t>(index)] : 0;
}

void TLASFile::SetCurveDecimals(int index, int decimals)
{
    if (index == 0)
        SetDepthDecimals(decimals);
    else if (IsDataCurve(index))
        parser_.GetCurveDecimals()[static_cast<size_t>(index)] =
            std::clamp(decimals, 0, kMaxLasDecimals);
}

int TLASFile::AddCurve(const std::string& mnemonic, const float* values, int decimals)
{
    const int n = GetPointCount();
    std::string name;
    std::string description;
    if (GetCurvesCount() == 0 || !CheckCurveText(TLasParsParsedString::kMnemonic, mnemonic).empty() ||
        !EncodeText(mnemonic, parser_.GetEncoding(), name) ||
        !EncodeText("Добавлена", parser_.GetEncoding(), description))
        return -1;
    TLasParsSection& curves = parser_.GetCurveSection();
    int after = 0;
    for (int i = 0; i < curves.GetCount(); ++i)
        if (curves.GetLine(i)->GetKind() == kLineCurve)
            after = i + 1;
    curves.InsertLine(after,
                      TLasParsParsedString::MakeNew(name, "", "", description, kLineCurve));
    parser_.GetCurveArrays().Add(values ? TStravoFloatArray(values, n)
                                        : TStravoFloatArray(n, GetNullValue()));
    parser_.GetCurveDecimals().resize(static_cast<size_t>(GetCurvesCount()),
                                      decimals < 0 ? defaultDecimals_ : std::min(decimals, kMaxLasDecimals));
    std::vector<int>& sourceColumns = parser_.GetDataSource().curveColumns;
    sourceColumns.resize(static_cast<size_t>(GetCurvesCount()), -1);
    ++curveSetRevision_;
    Changed();
    return GetCurvesCount() - 1;
}

bool TLASFile::DeleteCurve(int index)
{
    if (!IsDataCurve(index))
        return false;
    TLasParsSection& curves = parser_.GetCurveSection();
    const TLasParsParsedString* line = parser_.GetCurveLine(index);
    for (int i = 0; i < curves.GetCount(); ++i)
        if (curves.GetLine(i) == line) {
            curves.DeleteLine(i);
            break;
        }
    parser_.GetCurveArrays().Delete(index);
    auto& decimals = parser_.GetCurveDecimals();
    if (index < static_cast<int>(decimals.size()))
        decimals.erase(decimals.begin() + index);
    std::vector<int>& sourceColumns = parser_.GetDataSource().curveColumns;
    if (index < static_cast<int>(sourceColumns.size()))
        sourceColumns.erase(sourceColumns.begin() + index);
    parser_.GetTypedTexts().EraseCurve(index);
    ++curveSetRevision_;
    Changed();
    return true;
}

int TLASFile::SetCurveValues(const float* values, int first, int index, int last)
{
    if (!values || first >= last || first < 0 || last > GetPointCount() || !IsDataCurve(index))
        return 0;
    std::copy(values + first, values + last, GetCurveData(index) + first);
    return last - first;
}

void TLASFile::SetTypedText(int index, int sample, std::string_view text)
{
    if (IsDataCurve(index) && sample >= 0 && sample < GetPointCount())
        parser_.GetTypedTexts().Set(index, sample, text);
}

std::string_view TLASFile::TypedText(int index, int sample) const
{
    if (!IsDataCurve(index) || sample < 0 || sample >= GetPointCount())
        return {};
    return parser_.GetTypedTexts().Of(index, sample, GetCurveData(index)[sample]);
}

void TLASFile::ResizeAll(int n)
{
    TStravoFloatArrayList& arrays = parser_.GetCurveArrays();
    for (int i = 0; i < arrays.Count(); ++i)
        arrays.Item(i).Resize(n, GetNullValue());
}

void TLASFile::SetDepthValues(int n, const float* depths)
{
    if (n <= 0 || !depths || GetCurvesCount() == 0)
        return;
    // The depths may be the document's own array, which the resize replaces.
    const std::vector<float> copy(depths, depths + n);
    // Rows kept from the column or continuing it (a cut, rows added by the step) keep their
    // decimal depths.
    std::optional<LasDepthColumn> column;
    if (const LasDepthColumn* kept = DepthColumn(); kept && kept->HoldsAll(GetCurveData(0), GetPointCount()))
        column = *kept;
    ResizeAll(n);
    std::copy(copy.begin(), copy.end(), GetCurveData(0));
    const std::optional<long long> offset = column ? column->OffsetOf(copy.data(), n) : std::nullopt;
    if (offset)
        column->Move(*offset);
    KeepDepthColumn(offset ? column : std::nullopt);
    Changed();
}

void TLASFile::SetDepths(const std::vector<double>& depths)
{
    const int n = GetPointCount();
    if (n == 0 || depths.size() != static_cast<size_t>(n))
        return;
    int decimals = GetDepthDecimals();
    for (int i = 0; i < n; ++i)
        if (depths[static_cast<size_t>(i)] != DepthAt(i))
            decimals = std::max(decimals, LasDecimal::Of(depths[static_cast<size_t>(i)]).decimals);
    float* data = GetCurveData(0);
    for (int i = 0; i < n; ++i)
        data[i] = static_cast<float>(depths[static_cast<size_t>(i)]);
    RaiseDepthDecimals(std::min(decimals, kMaxLasDecimals));
    KeepDepthColumn(LasDepthColumn::Irregular(depths, LasDepthColumn::StepOf(parser_), GetDepthDecimals()));
    Changed();
}

void TLASFile::SetDepthGrid(double first, double step)
{
    const int n = GetPointCount();
    if (n == 0)
        return;
    const LasDepthColumn grid =
        LasDepthColumn::Grid(LasDecimal::Of(first).value, LasDecimal::Of(step).value, GetDepthDecimals());
    float* depths = GetCurveData(0);
    for (int i = 0; i < n; ++i)
        depths[i] = static_cast<float>(grid.At(i));
    KeepDepthColumn(grid);
    Changed();
}

namespace {

// A number of a message: up to 15 significant digits, the exponent form for large ones.
std::string NumberText(double x)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", x);
    return text;
}

// Digits before the point of a number of at most 10^308.
int IntegerDigits(double x)
{
    return x < 1.0 ? 0 : static_cast<int>(std::floor(std::log10(x))) + 1;
}

// The end of a message on depth texts too long: "… N значащих цифр, а записать можно не более M".
std::string DigitsOverCap(int digits, int cap)
{
    return std::to_string(digits) + " значащих цифр, а записать можно не более " + std::to_string(cap);
}

// The value of one unit in the last of the decimals ("0.01").
std::string LastPlace(int decimals)
{
    return decimals <= 0 ? "1" : "0." + std::string(static_cast<size_t>(decimals - 1), '0') + "1";
}

// The digits of the widest depth text the document's rows were read or last written with, the
// leading zeros before the point not counted.
int HeldDepthDigits(const LasDataSource& source)
{
    int held = 0;
    for (const std::string_view text : {std::string_view(source.firstDepthText), std::string_view(source.lastDepthText)}) {
        int digits = 0;
        bool leading = true;
        for (const char c : text) {
            if (c == 'e' || c == 'E')
                break;
            leading = leading && (c == '0' || c == '+' || c == '-');
            digits += !leading && c >= '0' && c <= '9';
        }
        held = std::max(held, digits);
    }
    return held;
}

} // namespace

int TLASFile::DepthDigitCap() const
{
    // A double holds 15 significant digits: beyond them the digits written are not the depth's,
    // unless the file already held them (17 at most tell a double apart).
    return std::max(15, std::min(HeldDepthDigits(parser_.GetDataSource()), 17));
}

std::string TLASFile::DepthDigitsProblem(const std::string& text, double depth, int decimals) const
{
    const int cap = DepthDigitCap();
    const int digits = IntegerDigits(std::fabs(depth)) + decimals;
    if (digits <= cap)
        return {};
    return "глубина " + text + " с " + std::to_string(decimals) + " знаками после точки займет " +
           DigitsOverCap(digits, cap);
}

std::string TLASFile::DepthDigitsProblem(double depth, int decimals) const
{
    return DepthDigitsProblem(NumberText(depth), depth, decimals);
}

std::string TLASFile::DepthShiftProblem(double d) const
{
    const std::string shift = "Сдвиг " + NumberText(d);
    if (!std::isfinite(d))
        return shift + " слишком велик: глубины нельзя записать в файл";
    const int n = GetPointCount();
    if (d == 0.0 || n == 0)
        return {};
    const LasDepthColumn& before = ColumnForChange();
    LasDepthColumn column = before;
    column.Shift(LasDecimal::Of(d));
    const int decimals = column.Decimals();
    if (decimals > kMaxLasDecimals)
        return shift + " задан слишком точно: глубины записываются не более чем с " +
               std::to_string(kMaxLasDecimals) + " знаками после точки";
    for (const long long i : {0LL, n - 1LL}) {
        const double depth = column.At(i);
        if (!(std::fabs(depth) <= FLT_MAX))
            return shift + " слишком велик: глубина " + NumberText(depth) + " не может быть записана в файл";
        if (const std::string problem = DepthDigitsProblem(depth, decimals); !problem.empty()) {
            // The depths would fit with the decimals they had: the shift has more.
            const int held = before.Decimals();
            if (held < decimals && DepthDigitsProblem(depth, held).empty())
                return shift + " выходит за последний знак глубин файла (" + LastPlace(held) + "): с " +
                       std::to_string(decimals) + " знаками после точки глубины займут " +
                       DigitsOverCap(IntegerDigits(std::fabs(depth)) + decimals, DepthDigitCap());
            return shift + " невозможен: " + problem;
        }
    }
    const float* depths = GetCurveData(0);
    float above = static_cast<float>(column.At(0));
    for (int i = 0; i < n; ++i) {
        const float depth = static_cast<float>(column.At(i));
        // Rows may share a float where they shared one as read.
        if (i > 0 && depth == above &&
            static_cast<float>(before.Unshifted(i)) != static_cast<float>(before.Unshifted(i - 1)))
            return shift + " слишком велик: глубины " + NumberText(column.At(i - 1)) + " и " +
                   NumberText(column.At(i)) + " соседних строк станут одинаковыми";
        // The stored depth must move with the decimal one, which a shift always moves: the curves
        // are drawn and shifted by the floats.
        if (depth == depths[i])
            return shift + " меньше точности хранимых глубин: глубина " + NumberText(before.At(i)) +
                   " не изменится";
        above = depth;
    }
    return {};
}

void TLASFile::ShiftDepth(double d)
{
    if (d == 0.0 || GetPointCount() == 0)
        return;
    if (const std::string problem = DepthShiftProblem(d); !problem.empty())
        throw std::runtime_error(problem);
    LasDepthColumn column = ColumnForChange();
    column.Shift(LasDecimal::Of(d));
    float* depths = GetCurveData(0);
    for (int i = 0; i < GetPointCount(); ++i)
        depths[i] = static_cast<float>(column.At(i));
    parser_.SetDepthDecimals(column.Decimals());
    KeepDepthColumn(std::move(column));
    Changed();
}

void TLASFile::ShiftCurveBySamples(int index, int n)
{
    if (!IsDataCurve(index) || n == 0)
        return;
    float* values = GetCurveData(index);
    const long long count = GetPointCount();
    const long long shift = n;
    const float null = GetNullValue();
    if (std::llabs(shift) >= count) {
        std::fill(values, values + count, null);
    } else if (shift > 0) {
        std::copy_backward(values, values + count - shift, values + count);
        std::fill(values, values + shift, null);
    } else {
        std::copy(values - shift, values + count, values);
        std::fill(values + count + shift, values + count, null);
    }
}

std::optional<double> TLASFile::DepthInSamples(double d) const
{
    const float step = GetStep();
    if (step == 0.0f)
        return std::nullopt;
    // Worked in float as the shift was typed; beyond the float range only its size matters.
    const double samples = std::fabs(d) <= FLT_MAX ? static_cast<float>(d) / step : d / step;
    if (!std::isfinite(samples))
        return std::nullopt;
    return samples;
}

void TLASFile::ShiftCurveByDepth(int index, double d)
{
    const std::optional<double> samples = DepthInSamples(d);
    if (!IsDataCurve(index) || !samples)
        return;
    // Any shift beyond the point count empties the curve; clamping keeps the rounding in range.
    const double count = GetPointCount();
    ShiftCurveBySamples(index, RoundToInt(static_cast<float>(std::clamp(*samples, -count, count))));
}

namespace {

std::string RowCount(double rows)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", rows);
    return text;
}

std::runtime_error NoMemoryToGrow(double rows)
{
    return std::runtime_error("Недостаточно памяти, чтобы документ вырос до " + RowCount(rows) + " строк");
}

}  // namespace

void TLASFile::CheckGrowth(double rows) const
{
    if (rows <= GetPointCount())
        return;
    if (rows > kMaxPointCount)
        throw std::runtime_error("Документ не может вырасти до " + RowCount(rows) + " строк: допускается не более " +
                                 std::to_string(kMaxPointCount));
    if (rows * GetCurvesCount() * sizeof(float) > static_cast<double>(MemoryForArrays()))
        throw NoMemoryToGrow(rows);
}

int TLASFile::ShiftCurveExtending(int index, int n)
{
    const int count = GetPointCount();
    if (!IsDataCurve(index) || n == 0 || count == 0)
        return count;
    CheckGrowth(static_cast<double>(count) + std::fabs(static_cast<double>(n)));
    const int grow = std::abs(n);  // within the row limit now
    const int newCount = count + grow;
    const float null = GetNullValue();
    TStravoFloatArrayList& arrays = parser_.GetCurveArrays();
    // Growing at the bottom keeps the other curves in place and moves the named one down;
    // growing at the top moves the other curves down and keeps the named one in place.
    // Every array is built before the document changes; the new depths continue the column by
    // its step.
    LasDepthColumn column;
    TStravoFloatArrayList grown;
    try {
        column = ColumnForChange();
        for (int i = 0; i < arrays.Count(); ++i) {
            const int offset = (n > 0) == (i == index) ? grow : 0;
            TStravoFloatArray array(newCount, null);
            std::copy_n(arrays.Item(i).Data(), count, array.Data() + offset);
            grown.Add(std::move(array));
        }
    } catch (const std::bad_alloc&) {
        throw NoMemoryToGrow(newCount);
    }
    column.Move(std::min(n, 0));
    float* depths = grown.Item(0).Data();
    for (int j = 0; j < grow; ++j) {
        const int sample = n > 0 ? count + j : j;
        depths[sample] = static_cast<float>(column.At(sample));
    }
    arrays.Swap(grown);
    const int stepDecimals = StepDecimals(column.Step());
    KeepDepthColumn(std::move(column));
    RaiseDepthDecimals(stepDecimals);
    Changed();
    return newCount;
}

int TLASFile::ShiftCurveByDepthExtending(int index, double d)
{
    const std::optional<double> samples = DepthInSamples(d);
    if (!samples || !IsDataCurve(index) || GetPointCount() == 0)
        return GetPointCount();
    CheckGrowth(GetPointCount() + std::round(std::fabs(*samples)));
    const int n = RoundToInt(static_cast<float>(*samples));
    return n == 0 ? GetPointCount() : ShiftCurveExtending(index, n);
}

bool TLASFile::WriteLasThinned(int n, const int* curves, int /*unused*/, int k, int last,
                               int first, const std::string& fileName) const
{
    if (!curves || n <= 0 || n >= GetCurvesCount() || fileName.empty())
        return false;
    std::vector<int> written(curves, curves + n);
    if (!std::all_of(written.begin(), written.end(), [this](int c) { return IsDataCurve(c); }))
        return false;
    last = std::min(last, GetPointCount() - 1);
    first = std::max(first, 0);
    k = std::max(k, 1);
    if (first > last)
        return false;
    last = first + (last - first) / k * k;
    writeError_ = 0;
    return WriteLasFile(parser_, DepthColumn(), written, first, last, k, fileName, &writeError_);
}

bool TLASFile::WriteLas(const std::string& path, bool completeRows) const
{
    if (GetCurvesCount() == 0 || GetPointCount() == 0 || path.empty())
        return false;
    std::vector<int> written;
    for (int i = 1; i < GetCurvesCount(); ++i)
        written.push_back(i);
    writeError_ = 0;
    return WriteLasFile(parser_, DepthColumn(), written, 0, GetPointCount() - 1, 1, path, &writeError_,
                        completeRows);
}

void TLASFile::SwapCurveArrays(TStravoFloatArrayList& other)
{
    parser_.GetCurveArrays().Swap(other);
    parser_.GetCurveDecimals().resize(static_cast<size_t>(GetCurvesCount()), defaultDecimals_);
    Changed();
}

TLASFile::DepthState TLASFile::GetDepthState() const
{
    return {depthColumn_, depthColumnKnown_.load(), GetDepthDecimals(), parser_.GetStepValue()};
}

void TLASFile::SwapDepthState(DepthState& other)
{
    DepthState current = GetDepthState();
    depthColumn_ = std::move(other.column);
    depthColumnKnown_ = other.known;
    parser_.SetDepthDecimals(other.decimals);
    parser_.SetStepValue(other.step);
    other = std::move(current);
    Changed();
}
