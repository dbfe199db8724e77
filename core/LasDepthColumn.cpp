#include "core/LasDepthColumn.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "core/LasNumbers.h"
#include "core/LasParser2.h"
#include "core/LasReadDepths.h"
#include "core/PowersOfTen.h"

namespace {

// Offsets searched for depths that continue a column: beyond any document's rows.
constexpr long long kSearchRange = 1LL << 31;

bool FitsFloat(double x)
{
    return std::fabs(x) <= FLT_MAX;
}

// The number of a ~W line, when the depth decimals can write it exactly.
bool WellNumber(const TLasParsSection& well, int code, int decimals, double& value)
{
    const TLasParsParsedString* line = well.FindLineByCode(code);
    if (!line)
        return false;
    std::string_view text = line->Value();
    while (!text.empty() && IsLasBlank(text.back()))
        text.remove_suffix(1);
    if (text.find('.') != std::string_view::npos &&
        text.find_first_of("eE") == std::string_view::npos)
        text = text.substr(0, text.find_last_not_of('0') + 1);
    return LasDecimals(text) <= decimals && ParseLasNumber(line->Value(), value);
}

// The depth of row j of n rows continued beyond the ends by the step.
template <class DepthOfRow>
double Continued(long long n, double step, long long j, DepthOfRow depthOf)
{
    const long long edge = std::clamp<long long>(j, 0, n - 1);
    return depthOf(edge) + static_cast<double>(j - edge) * step;
}

} // namespace

double RoundToDecimals(double x, int decimals)
{
    if (decimals > kMaxExactPowerOfTen || !std::isfinite(x))
        return x;
    const double scale = PowerOfTen(std::max(decimals, 0));
    const double scaled = x * scale;
    return std::fabs(scaled) < 0x1p52 ? std::round(scaled) / scale : x;
}

void AppendLasDecimal(std::string& out, double value, int decimals, int width)
{
    const double rounded = RoundToDecimals(value, decimals);
    // A depth the decimals would round away, or cut when they are all that may be written.
    if (value != 0.0 && (rounded == 0.0 || (decimals >= kMaxLasDecimals && rounded != value)))
        AppendLasExponent(out, value, width);
    else
        AppendLasGridDepth(out, rounded == 0.0 ? 0.0 : rounded, decimals, width);
}

LasDecimal LasDecimal::Of(double number)
{
    LasDecimal decimal{number, 0};
    if (!std::isfinite(number))
        return decimal;
    char text[64];
    const bool isFloat = FitsFloat(number) && static_cast<double>(static_cast<float>(number)) == number;
    const auto result = isFloat ? std::to_chars(text, text + sizeof text, static_cast<float>(number))
                                : std::to_chars(text, text + sizeof text, number);
    const std::string_view shortest(text, static_cast<size_t>(result.ptr - text));
    ParseLasNumber(shortest, decimal.value);
    decimal.decimals = std::max(0, LasDecimals(shortest));
    return decimal;
}

int StepDecimals(double step)
{
    return std::min(LasDecimal::Of(step).decimals, kMaxLasDecimals);
}

double DecimalDepth(float depth, int decimals)
{
    // Of the decimals that read as the float, the one of fewest digits: "16.575000" is read back
    // from 16.575000763 rather than 16.575001.
    const LasDecimal shortest = LasDecimal::Of(depth);
    if (shortest.decimals <= decimals)
        return shortest.value;
    const double rounded = RoundToDecimals(depth, decimals);
    return static_cast<float>(rounded) == depth ? rounded : depth;
}

double ContinuedDepth(const float* depths, long long n, int decimals, double step, long long j)
{
    return Continued(n, step, j, [&](long long row) { return DecimalDepth(depths[row], decimals); });
}

std::optional<LasDepthColumn> LasDepthColumn::FindGrid(const TLasParser2Parser& document)
{
    const int n = document.GetPointCount();
    if (n == 0)
        return std::nullopt;
    const float* depths = document.GetCurveArrays().Item(0).Data();
    const int decimals = document.GetDepthDecimals();
    const auto fits = [&](double first, double step) -> std::optional<LasDepthColumn> {
        LasDepthColumn grid = Grid(first, step, decimals);
        if (step > 0.0 && grid.GivesBackAll(depths, n))
            return grid;
        return std::nullopt;
    };
    const TLasParsSection& well = document.GetWellSection();
    double step = 0.0;
    if (WellNumber(well, kLineStep, decimals, step) && step != 0.0) {
        // A file written bottom up holds its top depth in STOP.
        for (const int code : {kLineStrt, kLineStop}) {
            double first = 0.0;
            if (WellNumber(well, code, decimals, first) && FitsFloat(first) &&
                static_cast<float>(first) == depths[0])
                if (auto grid = fits(first, std::fabs(step)))
                    return grid;
        }
    }
    if (n < 2)
        return std::nullopt;
    // The first and last rows as the file wrote them: exact where a float cannot hold them.
    const LasDataSource& source = document.GetDataSource();
    double top = 0.0;
    double bottom = 0.0;
    if (source.rows == n && ParseLasNumber(source.firstDepthText, top) &&
        ParseLasNumber(source.lastDepthText, bottom)) {
        if (document.IsDescending())
            std::swap(top, bottom);
        const int textDecimals =
            std::max(LasDecimals(source.firstDepthText), LasDecimals(source.lastDepthText));
        if (auto grid = fits(top, RoundToDecimals((bottom - top) / (n - 1), textDecimals)))
            return grid;
    }
    top = DecimalDepth(depths[0], decimals);
    bottom = DecimalDepth(depths[n - 1], decimals);
    return fits(top, RoundToDecimals((bottom - top) / (n - 1), decimals));
}

LasDepthColumn LasDepthColumn::Irregular(const TLasParser2Parser& document)
{
    const TStravoFloatArray& depths = document.GetCurveArrays().Item(0);
    const int decimals = document.GetDepthDecimals();
    DecimalDepths read;
    read.Reserve(static_cast<size_t>(depths.Count()));
    for (int i = 0; i < depths.Count(); ++i)
        read.Add(DecimalDepth(depths.Data()[i], decimals));
    return Irregular(std::move(read), StepOf(document), decimals);
}

LasDepthColumn LasDepthColumn::Irregular(DecimalDepths depths, double step, int decimals)
{
    LasDepthColumn column;
    column.decimals_ = decimals;
    column.read_ = std::make_shared<const DecimalDepths>(std::move(depths));
    column.step_ = step;
    column.exactStep_ = ExactDecimal::Of(step);
    return column;
}

LasDepthColumn LasDepthColumn::Irregular(const std::vector<double>& depths, double step, int decimals)
{
    DecimalDepths read;
    read.Reserve(depths.size());
    for (const double depth : depths)
        read.Add(depth);
    return Irregular(std::move(read), step, decimals);
}

LasDepthColumn LasDepthColumn::Grid(const ExactDecimal& first, const ExactDecimal& step, int decimals)
{
    LasDepthColumn grid = Grid(first.Value(), step.Value(), decimals);
    grid.exactFirst_ = first;
    grid.exactStep_ = step;
    return grid;
}

LasDepthColumn LasDepthColumn::Grid(double first, double step, int decimals)
{
    LasDepthColumn grid;
    grid.first_ = first;
    grid.exactFirst_ = ExactDecimal::Of(first);
    grid.step_ = step;
    grid.exactStep_ = ExactDecimal::Of(step);
    grid.decimals_ = decimals;
    return grid;
}

double LasDepthColumn::StepOf(const TLasParser2Parser& document)
{
    const float step = std::fabs(document.GetStepValue());
    if (step != 0.0f)
        return LasDecimal::Of(step).value;
    const int n = document.GetPointCount();
    if (n < 2)
        return 0.0;
    const float* depths = document.GetCurveArrays().Item(0).Data();
    const int decimals = document.GetDepthDecimals();
    const double mean = (DecimalDepth(depths[n - 1], decimals) - DecimalDepth(depths[0], decimals)) / (n - 1);
    // Depths continued by it are written with the column's decimals.
    const double rounded = RoundToDecimals(mean, decimals);
    return rounded != 0.0 ? rounded : mean;
}

double LasDepthColumn::UnshiftedAt(long long j) const
{
    if (const auto depth = Sum(j, false))
        return depth->Value();
    if (!read_)
        return first_ + static_cast<double>(j) * step_;
    return Continued(static_cast<long long>(read_->Size()), step_, j,
                     [this](long long row) { return read_->Value(static_cast<size_t>(row)); });
}

std::optional<ExactDecimal> LasDepthColumn::Sum(long long j, bool shifted) const
{
    std::optional<ExactDecimal> base = exactFirst_;
    long long steps = j;
    if (read_) {
        const long long edge = std::clamp<long long>(j, 0, static_cast<long long>(read_->Size()) - 1);
        base = read_->Exact(static_cast<size_t>(edge));
        steps = j - edge;
    }
    const ExactDecimal shift = shifted && exactShift_ ? *exactShift_ : ExactDecimal{};
    if (!base || !exactStep_ || (shifted && !exactShift_))
        return std::nullopt;
    const int decimals = std::max({base->decimals, exactStep_->decimals, shift.decimals});
    const auto first = base->UnitsAt(decimals);
    const auto step = exactStep_->UnitsAt(decimals);
    const auto shiftUnits = shift.UnitsAt(decimals);
    long long units = 0;
    if (!first || !step || !shiftUnits || __builtin_mul_overflow(*step, steps, &units) ||
        __builtin_add_overflow(units, *first, &units) || __builtin_add_overflow(units, *shiftUnits, &units))
        return std::nullopt;
    return ExactDecimal{units, decimals};
}

std::optional<ExactDecimal> LasDepthColumn::Shifted(long long i) const
{
    const auto sum = Sum(i + origin_, true);
    return sum ? ExactDecimal::Of(sum->units, sum->decimals) : std::nullopt;
}

double LasDepthColumn::At(long long i) const
{
    if (const auto sum = Sum(i + origin_, true))
        return sum->Value();
    return UnshiftedAt(i + origin_) + shift_;
}

void LasDepthColumn::AppendDepth(std::string& out, long long i, int decimals, int width) const
{
    const auto depth = Shifted(i);
    if (depth && depth->decimals <= decimals && decimals <= kMaxLasDecimals)
        AppendLasAligned(out, depth->Text(decimals), width);
    else
        AppendLasDecimal(out, At(i), decimals, width);
}

bool LasDepthColumn::Holds(long long i, float depth) const
{
    const double x = At(i);
    return FitsFloat(x) && static_cast<float>(x) == depth;
}

bool LasDepthColumn::HoldsAll(const float* depths, int n) const
{
    for (int i = 0; i < n; ++i)
        if (!Holds(i, depths[i]))
            return false;
    return true;
}

bool LasDepthColumn::GivesBackAll(const float* depths, int n) const
{
    const int decimals = std::min(Decimals(), kMaxLasDecimals);
    for (int i = 0; i < n; ++i)
        if (!Holds(i, depths[i]) ||
            (!FloatGivesDecimalBack(depths[i], decimals) &&
             RoundToDecimals(At(i), decimals) != DecimalDepth(depths[i], decimals)))
            return false;
    return true;
}

double LasDepthColumn::DepthOf(long long i, const float* depths, int n) const
{
    if (i >= 0 && i < n && !Holds(i, depths[i]))
        return DecimalDepth(depths[i], Decimals());
    return At(i);
}

int LasDepthColumn::Decimals() const
{
    return std::max(decimals_, shiftDecimals_);
}

void LasDepthColumn::Shift(const LasDecimal& shift)
{
    // Rounded to the decimals of the shifts, a shift and its opposite add up to nothing.
    shift_ = RoundToDecimals(shift_ + shift.value, std::max(shiftDecimals_, shift.decimals));
    shiftDecimals_ = LasDecimal::Of(shift_).decimals;
    exactShift_ = ExactDecimal::Of(shift_);
}

std::optional<long long> LasDepthColumn::OffsetOf(const float* depths, int n) const
{
    if (n <= 0)
        return std::nullopt;
    // The first sample at or below the first depth; the one before may round to the same float.
    long long low = -kSearchRange;
    long long high = kSearchRange;
    while (low < high) {
        const long long middle = low + (high - low) / 2;
        if (At(middle) < depths[0])
            low = middle + 1;
        else
            high = middle;
    }
    for (const long long offset : {low - 1, low}) {
        bool holds = true;
        for (int i = 0; i < n && holds; ++i)
            holds = Holds(i + offset, depths[i]);
        if (holds)
            return offset;
    }
    return std::nullopt;
}
