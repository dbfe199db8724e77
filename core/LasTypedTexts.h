// The texts the user typed or a table gave for values of a document, by curve and sample, and the
// one rule for when such a text is written in place of the value's formatting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Whether the value written with the decimals, as a column formats it, is the number of the text.
bool FormattingGivesBack(std::string_view text, float value, int decimals);

// Kept compactly: per curve one buffer of texts and, by sample, where each starts.
class LasTypedTexts {
public:
    void Set(int curve, int sample, std::string_view text);
    // The curve leaves the document: those after it move down by one.
    void EraseCurve(int curve);
    void Clear() { curves_.clear(); }
    // The text given for the sample when it reads as the value; empty otherwise.
    std::string_view Of(int curve, int sample, float value) const;
    // The text a writer puts for the value in a column of these decimals: the one given, where
    // the column's formatting would give other digits; empty where it gives the same.
    std::string_view Written(int curve, int sample, float value, int decimals) const;
    // The decimals of the curve's column rise from `from` to `to`: each value held without a text,
    // standing for its formatting with `from`, is given that text where `to` would give other
    // digits (NULL values aside).
    void KeepFormatted(int curve, const std::vector<float>& values, float null, int from, int to);
    // Whether a text is held for a sample of [first, end) of the curve.
    bool AnyIn(int curve, int first, int end) const;

private:
    struct Entry {
        int sample;
        std::uint32_t offset;  // of its text in the buffer, ended by '\0'
    };
    struct Curve {
        std::vector<Entry> entries;  // by sample
        std::string buffer;
    };

    // The first entry of the sample or after it.
    static std::vector<Entry>::const_iterator First(const Curve& texts, int sample);
    const Curve* Find(int curve) const;
    Curve& Make(int curve);
    // Appends the text to the curve's buffer, its offset to the entry; false when it cannot hold it.
    static bool Store(Curve& texts, std::string_view text, Entry& entry);

    std::vector<Curve> curves_;
};
