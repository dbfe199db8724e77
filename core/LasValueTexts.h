// The value texts of curves of a document as a save writes them, for other writers of its values.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/LasSourceText.h"
#include "core/LasWriteParts.h"

class TLasParser2Parser;

// Per sample, the text of each curve's value: the source file's own text where it stays for the
// value (LasRowFormat::Keeps), else the typed or formatted text a save writes.
class LasValueTexts {
public:
    LasValueTexts(const TLasParser2Parser& document, const std::vector<int>& curves);

    // The texts of the curves at the sample, valid until the next call; fastest with the samples
    // asked in order, either way.
    const std::vector<std::string>& Row(int sample);

private:
    // The source texts of the file row: its tokens, empty when the source holds none for it.
    void SourceRow(long long fileRow, std::vector<std::string_view>& tokens);
    void LoadBlock(size_t block);

    const LasDataSource& source_;
    bool hasSource_;
    DepthTexts depths_;  // not asked: the format needs one
    LasRowFormat format_;
    std::vector<int> sourceColumns_;  // per column of the format, its source column or -1
    SourceBytes bytes_;
    size_t block_ = static_cast<size_t>(-1);  // the block loaded
    bool blockRead_ = false;                  // its bytes are as read
    std::string texts_;                             // the loaded block's value texts
    std::vector<std::pair<size_t, size_t>> spans_;  // their places in texts_
    std::vector<size_t> rows_;                      // per row of the block, its first span
    std::vector<std::string_view> tokens_;
    bool descending_;
    std::vector<std::string> row_;
};
