// The open LAS document: the header sections and one float array per curve (curve 0 = depth,
// increasing), with the editing operations and the writers.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/LasDepthColumn.h"
#include "core/LasParser2.h"
#include "core/StravoFloatArray.h"

// Most rows a document may grow to.
inline constexpr int kMaxPointCount = 20'000'000;

class TLASFile {
public:
    // Reads the file at once; a failed read leaves an empty document (0 curves, 0 points) that
    // is not loaded, with the reason in GetLoadError. defaultDecimals: decimals of curves whose
    // column has no number with a point, and of curves added later.
    TLASFile(const std::string& path, int defaultDecimals);
    ~TLASFile();
    TLASFile(const TLASFile&) = delete;
    TLASFile& operator=(const TLASFile&) = delete;

    bool IsLoaded() const { return loaded_; }
    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& path) { fileName_ = path; }
    const std::string& GetLoadError() const { return loadError_; }
    // What the read left out of the file's data, in Russian naming the lines (each ended by a
    // line break); empty when everything was taken.
    const std::string& GetOmittedData() const { return parser_.GetOmittedData(); }
    // What of it names values of the file not loaded (GetOmittedData less the rows cut short).
    const std::string& GetUnloadedData() const { return parser_.GetUnloadedData(); }
    TLasParser2Parser& GetParser() { return parser_; }
    const TLasParser2Parser& GetParser() const { return parser_; }

    int GetCurvesCount() const { return parser_.GetCurveArrays().Count(); }
    int GetPointCount() const { return parser_.GetPointCount(); }
    // The curve's point-count values; null out of range. Operations that resize the document
    // replace the arrays, so callers fetch the pointer again after them.
    float* GetCurveData(int index);
    const float* GetCurveData(int index) const;

    float GetNullValue() const { return parser_.GetNullValue(); }
    // STEP of ~W, positive; when STEP is 0 or missing, the mean step of the depths (0 below two
    // points).
    float GetStep() const;
    // Sets STEP, written into ~W with the depth decimals.
    void SetStep(float step);
    float GetTopDepth() const;
    float GetBottomDepth() const;
    int GetDepthDecimals() const { return parser_.GetDepthDecimals(); }
    void SetDepthDecimals(int n);
    // The depth of sample i as a decimal in double: the depth as read plus the shifts made
    // since; samples beyond the ends continue them by the step.
    double DepthAt(long long i) const;
    // The decimal depth a depth held as a float stands for: that of the row whose float it is,
    // else the shortest decimal that reads back as it.
    double DecimalDepthOf(double depth) const;

    // Fields of the curve's ~C line (index 0: depth), as UTF-8 decoded from the file's encoding;
    // "" out of range. Setters mark the line modified; false (nothing changed) out of range and
    // for a text the line or the file's encoding cannot hold.
    std::string GetCurveName(int index) const;
    bool SetCurveName(int index, const std::string& name);
    std::string GetCurveUnit(int index) const;
    bool SetCurveUnit(int index, const std::string& unit);
    // The unit depths are given in: that of the depth curve's ~C line, else that of STRT in ~W.
    std::string GetDepthUnit() const;
    std::string GetCurveDescription(int index) const;
    bool SetCurveDescription(int index, const std::string& description);
    // Why the text cannot stand in the field of a ~C line (TLasParsParsedString::kMnemonic,
    // kUnit or kDescription), in Russian; empty when it can. The setters and AddCurve refuse
    // (return false or -1, changing nothing) exactly these texts.
    std::string CheckCurveText(int field, const std::string& text) const;
    int GetCurveDecimals(int index) const;
    void SetCurveDecimals(int index, int decimals);

    // Appends a curve (~C line: the mnemonic, "Добавлена") holding a copy of point-count values
    // (NULL when values is null); returns its index, -1 for a mnemonic a ~C line cannot hold.
    // decimals: those its values are written with; the document's default when negative.
    int AddCurve(const std::string& mnemonic, const float* values, int decimals = -1);
    // Removes a curve other than depth; false for 0 or out of range.
    bool DeleteCurve(int index);
    // Copies values[first .. last-1] into the same samples of curve index (1..count-1); returns
    // the number copied, 0 when the arguments do not fit the document.
    int SetCurveValues(const float* values, int first, int index, int last);
    // Keeps the text a value was typed as (a point for the decimal separator), shown for it while
    // it reads as the value's float and written where the curve's decimals would give other digits.
    void SetTypedText(int index, int sample, std::string_view text);
    // The text typed for the value of the sample while it reads as the value; empty otherwise.
    std::string_view TypedText(int index, int sample) const;
    // For n > 0 every curve gets n samples (leading values kept, new ones NULL) and the depth
    // curve the n depths.
    void SetDepthValues(int n, const float* depths);
    // Sets the depths of every row to these decimals (one a row), which the column keeps and the
    // writers write; the depths get the decimals a changed one needs.
    void SetDepths(const std::vector<double>& depths);
    // Re-stamps the depth column as first + i * step, computed in double from the decimals the two
    // numbers were typed as.
    void SetDepthGrid(double first, double step);

    // Why a depth (as the text given) written with the decimals would have more significant
    // digits than the depths may have (a Russian message); empty when it would not.
    std::string DepthDigitsProblem(const std::string& text, double depth, int decimals) const;
    // As above, the depth named by its number.
    std::string DepthDigitsProblem(double depth, int decimals) const;
    // Why the depths cannot take the shift d (a Russian message); empty when they can.
    std::string DepthShiftProblem(double d) const;
    // Adds d to every depth, computed from the depths as read, and gives the column the decimals
    // the shift needs; a shift with a problem throws it, nothing changed.
    void ShiftDepth(double d);
    // Moves a curve n samples deeper (n < 0: shallower); vacated samples NULL.
    void ShiftCurveBySamples(int index, int n);
    void ShiftCurveByDepth(int index, double d);
    // Grows every curve by |n| samples at the bottom (n > 0) or top (n < 0) and moves the curve
    // by n so that none of its values is lost; returns the new point count. A growth beyond
    // kMaxPointCount rows or the memory left throws (a message naming the rows), nothing changed.
    int ShiftCurveExtending(int index, int n);
    int ShiftCurveByDepthExtending(int index, double d);
    // Throws (a message naming the rows) when the document cannot grow to `rows`.
    void CheckGrowth(double rows) const;

    // Writes the depth and the n listed curves at the samples first, first + k, ..., last;
    // false (nothing written) for arguments that do not fit or a failed write.
    bool WriteLasThinned(int n, const int* curves, int unused, int k, int last, int first,
                         const std::string& fileName) const;
    // Writes the whole document; with completeRows a last row the file read lacked values in is
    // written whole (see WriteLasFile).
    bool WriteLas(const std::string& path, bool completeRows = false) const;
    // errno of the last failed write (0 when it failed for its arguments or none failed).
    int GetWriteError() const { return writeError_; }

    // For the undo store: the curve arrays, and an exchange of the whole list.
    const TStravoFloatArrayList& GetCurveArrays() const { return parser_.GetCurveArrays(); }
    void SwapCurveArrays(TStravoFloatArrayList& other);
    // What the depth column holds beside its floats; undone and redone with the arrays.
    struct DepthState {
        std::optional<LasDepthColumn> column;
        bool known = false;
        int decimals = 0;
        float step = 0.0f;
    };
    DepthState GetDepthState() const;
    void SwapDepthState(DepthState& other);
    // The typed texts, undone and redone with the arrays.
    const LasTypedTexts& GetTypedTexts() const { return parser_.GetTypedTexts(); }
    void SwapTypedTexts(LasTypedTexts& other) { std::swap(parser_.GetTypedTexts(), other); }
    // Grows whenever a curve is added or deleted.
    unsigned long long GetCurveSetRevision() const { return curveSetRevision_; }

    // Raised by every operation that replaces, adds, removes or resizes a curve array or
    // changes the depth column or STEP; views holding pointers into the arrays compare it with
    // the value they attached at. Writes of values in place leave it.
    unsigned long long Generation() const { return generation_; }

private:
    bool IsDataCurve(int index) const { return index >= 1 && index < GetCurvesCount(); }
    std::string GetCurveField(int index, int field) const;
    bool SetCurveField(int index, int field, const std::string& text);
    // d / STEP; none when STEP is 0 or the quotient is not finite.
    std::optional<double> DepthInSamples(double d) const;
    void ResizeAll(int n);
    // The most significant digits a depth may be written with.
    int DepthDigitCap() const;
    void Changed() { ++generation_; }
    // The description of the depth column kept since its last change, else the grid its depths
    // lie on (found once), else the uneven depths as read where floats may not give them back;
    // null for other uneven depths never changed.
    const LasDepthColumn* DepthColumn() const;
    // A description that holds every depth as it stands (the depths copied when uneven).
    const LasDepthColumn& ColumnForChange() const;
    void KeepDepthColumn(std::optional<LasDepthColumn> column);
    // Keeps the depths as read (see TLasParser2Parser::TakeReadDepths), when there are any, as the
    // depth column.
    void KeepReadDepths(LasReadColumn read);
    void RaiseDepthDecimals(int decimals);

    std::string fileName_;
    unsigned long long generation_ = 0;
    bool loaded_ = false;
    std::string loadError_;
    int defaultDecimals_;
    unsigned long long curveSetRevision_ = 0;
    mutable int writeError_ = 0;
    TLasParser2Parser parser_;
    mutable std::optional<LasDepthColumn> depthColumn_;
    mutable std::atomic<bool> depthColumnKnown_ = false;  // depthColumn_ is what DepthColumn gives
    mutable std::mutex depthColumnFill_;
};
