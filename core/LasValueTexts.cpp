#include "core/LasValueTexts.h"

#include <algorithm>

#include "core/LasParser2.h"

LasValueTexts::LasValueTexts(const TLasParser2Parser& document, const std::vector<int>& curves)
    : source_(document.GetDataSource()),
      hasSource_(!source_.path.empty() && source_.IsAvailable() && !source_.summary.blocks.empty()),
      depths_(document, nullptr, 0, 1),
      format_(document, depths_, curves),
      bytes_(hasSource_ ? source_.path : std::string()),
      descending_(document.IsDescending()),
      row_(curves.size())
{
    sourceColumns_.push_back(-1);
    for (int curve : curves)
        sourceColumns_.push_back(LasSourceColumnOf(document, curve));
}

const std::vector<std::string>& LasValueTexts::Row(int sample)
{
    tokens_.clear();
    const long long fileRow = descending_ ? source_.rows - 1LL - sample : sample;
    if (hasSource_ && fileRow >= 0 && fileRow < source_.rows)
        SourceRow(fileRow, tokens_);
    for (size_t c = 1; c < format_.Columns(); ++c) {
        std::string& text = row_[c - 1];
        text.clear();
        format_.AppendKeeping(text, c, sample, &tokens_, sourceColumns_[c], 0);
    }
    return row_;
}

void LasValueTexts::SourceRow(long long fileRow, std::vector<std::string_view>& tokens)
{
    const std::vector<LasSourceBlock>& blocks = source_.summary.blocks;
    const auto after = std::upper_bound(blocks.begin(), blocks.end(), fileRow,
                                        [](long long row, const LasSourceBlock& block) { return row < block.firstRow; });
    if (after == blocks.begin())
        return;
    const auto block = static_cast<size_t>(after - blocks.begin() - 1);
    if (block != block_)
        LoadBlock(block);
    const auto row = static_cast<size_t>(fileRow - blocks[block].firstRow);
    if (!blockRead_ || row >= rows_.size())
        return;
    const size_t end = row + 1 < rows_.size() ? rows_[row + 1] : spans_.size();
    for (size_t i = rows_[row]; i < end; ++i)
        tokens.emplace_back(texts_.data() + spans_[i].first, spans_[i].second);
}

void LasValueTexts::LoadBlock(size_t block)
{
    const LasSourceBlock& source = source_.summary.blocks[block];
    block_ = block;
    texts_.clear();
    spans_.clear();
    rows_.clear();
    const std::string_view text = bytes_.Read(source.offset, source_.summary.EndOffset(block) - source.offset);
    // Rewritten behind the program's back: none of its texts is taken.
    blockRead_ = LasHash::Of(text.data(), text.size()) == source.bytesHash;
    size_t pos = 0;
    std::string_view line;
    std::string_view end;
    while (blockRead_ && NextLineOf(text, pos, line, end)) {
        const DataLine kind = KindOf(line);
        if (kind == DataLine::End)
            break;
        if (kind != DataLine::Values)
            continue;
        if (!source_.wrapped)
            rows_.push_back(spans_.size());
        size_t begin = 0;
        size_t stop = 0;
        while (NextToken(line, stop, begin, stop)) {
            if (source_.wrapped && spans_.size() % static_cast<size_t>(std::max(source_.columns, 1)) == 0)
                rows_.push_back(spans_.size());
            spans_.emplace_back(texts_.size(), stop - begin);
            texts_.append(line.substr(begin, stop - begin));
        }
    }
}
