// The texts the user typed for values of a document, by curve and sample: a value is written and
// shown with the text typed for it while that text reads as the value's float.
#pragma once

#include <map>
#include <string>
#include <vector>

class LasTypedTexts {
public:
    void Set(int curve, int sample, std::string text);
    // The curve leaves the document: those after it move down by one.
    void EraseCurve(int curve);
    void Clear() { curves_.clear(); }
    // The text typed for the sample when it reads as the value; null otherwise.
    const std::string* Of(int curve, int sample, float value) const;
    // Whether a text is held for a sample of [first, end) of the curve.
    bool AnyIn(int curve, int first, int end) const;

private:
    std::vector<std::map<int, std::string>> curves_;  // by curve: texts by sample
};
