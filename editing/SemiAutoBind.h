// The state of a semi-automatic binding: the base curve's marked area and feature, then the
// bound curves with theirs.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TLASFile;

// One curve of a semi-automatic binding.
struct tagAutoBindCurve {
    int curve = 0;       // LAS index
    std::string name;    // mnemonic when the record was filled
    int first = 0;       // depth index of the area's top
    int last = 0;        // depth index of the area's bottom
    bool useMinimum = true;  // the feature is the minimum, else the maximum
    int feature = -1;    // depth index of the feature; -1 not found yet
};

class TSemiAutoBindCurves {
public:
    // Empties the state, then stores the base curve and its area.
    void SetBase(int curve, int first, int last, bool useMinimum, TLASFile* document);
    // The base feature: `forced` when 0 or more, else searched; the stage becomes 1. -1 without
    // a document.
    int FindBaseFeature(int forced);
    // Appends a bound curve with feature -1; its position in the list, or -1 without a
    // document, before stage 1 or for the base curve.
    int AddBound(int curve, int first, int last, bool useMinimum);
    // The feature of bound record `position`: `forced` when 0 or more, else searched; the stage
    // becomes 2. -1 without a document, before stage 1 or for a position outside the list.
    int SetBoundFeature(int position, int forced);
    void Clear();

    int Stage() const { return stage_; }
    TLASFile* Document() const { return document_; }
    const tagAutoBindCurve& Base() const { return base_; }
    const std::vector<std::unique_ptr<tagAutoBindCurve>>& Bound() const { return bound_; }

    // The extreme of the curve's non-NULL samples first..last (the first one on ties); the
    // area's first index when it holds none.
    static int FindFeature(const TLASFile& document, const tagAutoBindCurve& record);

private:
    tagAutoBindCurve base_;
    std::vector<std::unique_ptr<tagAutoBindCurve>> bound_;
    TLASFile* document_ = nullptr;
    int stage_ = 0;  // 0 nothing marked, 1 base marked, 2 bound curves marked
};
