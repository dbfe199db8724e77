// The depth column: the decimal depths its floats stand for, held exactly where they fit 18
// digits, so that every change of the column (a shift, rows added or cut, a new grid) is computed
// from the depths as read and written as the decimal values asked for, never from floats or
// doubles that lost digits.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DecimalDepths.h"
#include "core/ExactDecimal.h"

class TLasParser2Parser;

// x rounded to the decimals; unchanged where a double holds no digit at that place.
double RoundToDecimals(double x, int decimals);
// A decimal number (a depth of the depth column, a number typed) in fixed notation, rounded to the
// decimals, never "-0.00"; right-aligned in at least width characters.
void AppendLasDecimal(std::string& out, double value, int decimals, int width = 0);

// A number as the decimal it was typed as: the shortest text that reads back as it (as a float
// when it is exactly one, so that 0.1f is 0.1), its value and the decimals that text needs.
struct LasDecimal {
    double value = 0.0;
    int decimals = 0;

    static LasDecimal Of(double number);
};

// The decimals a step (or a depth) typed as this number needs to be written as typed.
int StepDecimals(double step);

// The decimal depth behind a stored float: its shortest text when that has at most the decimals,
// else the float rounded to the decimals when that reads back as the same float, else the float.
double DecimalDepth(float depth, int decimals);
// The decimal depth of row j of n depths (n > 0), rows beyond the ends continuing them by the step.
double ContinuedDepth(const float* depths, long long n, int decimals, double step, long long j);

class LasDepthColumn {
public:
    // The even grid every depth of the document lies on, found from STRT or STOP and STEP of ~W,
    // from the first and last depth texts of the file, or from the depths rounded to their
    // decimals; none when the depths are not evenly spaced.
    static std::optional<LasDepthColumn> FindGrid(const TLasParser2Parser& document);
    // The depths as they stand, copied as decimals, continued beyond the ends by the document's
    // step.
    static LasDepthColumn Irregular(const TLasParser2Parser& document);
    // These decimal depths, continued beyond the ends by the step, written with the decimals.
    static LasDepthColumn Irregular(DecimalDepths depths, double step, int decimals);
    static LasDepthColumn Irregular(const std::vector<double>& depths, double step, int decimals);
    // first + i * step, written with the decimals.
    static LasDepthColumn Grid(const ExactDecimal& first, const ExactDecimal& step, int decimals);
    static LasDepthColumn Grid(double first, double step, int decimals);
    // The step between samples that the document's depths continue by beyond their ends (STEP,
    // else the mean step), as a decimal.
    static double StepOf(const TLasParser2Parser& document);

    bool IsRegular() const { return !read_; }
    double Step() const { return step_; }
    // The depth of sample i, the nearest double to its decimal; samples outside the document
    // continue the ends by the step.
    double At(long long i) const;
    // The depth of sample i before the shifts.
    double Unshifted(long long i) const { return UnshiftedAt(i + origin_); }
    // The depth of sample i as AppendLasDecimal writes At(i), as its decimal where it has no more
    // decimals.
    void AppendDepth(std::string& out, long long i, int decimals, int width) const;
    // Whether the float stands for the depth of sample i.
    bool Holds(long long i, float depth) const;
    bool HoldsAll(const float* depths, int n) const;
    // Whether every float stands for the depth of its sample and that depth is the decimal the
    // float was read from (where a float may stand for more than one).
    bool GivesBackAll(const float* depths, int n) const;
    // The depth of sample i of these depths: At(i) where the float stands for it, else the
    // float's own decimal (a depth written in place since).
    double DepthOf(long long i, const float* depths, int n) const;

    // Decimals the depths are written with: those of the column, more where the shifts need them.
    int Decimals() const;
    void SetDecimals(int decimals) { decimals_ = decimals; }
    // Adds a shift to every depth.
    void Shift(const LasDecimal& shift);
    // Sample i becomes what sample i + offset was.
    void Move(long long offset) { origin_ += offset; }
    // The offset at which these depths lie on the column (sample i at At(i + offset)); none when
    // they do not.
    std::optional<long long> OffsetOf(const float* depths, int n) const;

    // The same description: the same depths and decimals.
    bool operator==(const LasDepthColumn&) const = default;

private:
    double UnshiftedAt(long long j) const;
    // The decimal depth of sample j of the grid or of read_, shifted or not, in units of the last
    // place of its numbers (trailing zeros kept: for Value() or to be normalized); none where a
    // number does not fit.
    std::optional<ExactDecimal> Sum(long long j, bool shifted) const;
    // The decimal sum of the shift and the depth of sample i before it; none where it does not fit.
    std::optional<ExactDecimal> Shifted(long long i) const;

    // Regular: depth of sample 0 before the shifts. The decimals are none where the doubles had
    // no decimal of 18 digits.
    double first_ = 0.0;
    std::optional<ExactDecimal> exactFirst_;
    double step_ = 0.0;   // positive, or 0 for a single irregular depth without STEP
    std::optional<ExactDecimal> exactStep_;
    // Irregular: the decimal depths as they stood; shared with the undo store's copies.
    std::shared_ptr<const DecimalDepths> read_;
    int decimals_ = 0;
    long long origin_ = 0;  // sample i is sample i + origin_ of the grid or of read_
    double shift_ = 0.0;
    std::optional<ExactDecimal> exactShift_ = ExactDecimal{};
    int shiftDecimals_ = 0;
};
