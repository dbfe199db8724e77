#include "core/LasWellValues.h"

#include <algorithm>

#include "core/LasNumbers.h"

// Keeps the raw text of the first VERS line of ~V and of the first line of each table code of ~W.
class LasWellValueReader::Collector : public LasHeaderWalker::Visitor {
public:
    explicit Collector(LasWellValueReader& reader) : reader_(reader) {}

    void Title(std::string_view, int, int) override {}
    void Line(std::string_view line, int, int sectionKind) override
    {
        if (sectionKind != kSectionWell && sectionKind != kSectionVersion)
            return;
        const int code = LasHeaderLineCode(sectionKind, line);
        if (code < kLineVers)
            return;
        LasWellValueReader::Line* kept = nullptr;
        if (sectionKind == kSectionWell)
            kept = &reader_.wellLines_[static_cast<size_t>(code)];
        else if (code == kLineVers)
            kept = &reader_.version_;
        if (kept && !kept->found) {
            kept->found = true;
            kept->raw.assign(line);
        }
    }

private:
    LasWellValueReader& reader_;
};

bool LasWellValueReader::Read(const std::string& path)
{
    for (Line& line : wellLines_)
        line.found = line.decoded = false;
    version_.found = false;
    las12_ = false;
    Collector collector(*this);
    if (!reader_.Open(path) || !walker_.Walk(reader_, collector))
        return false;
    if (version_.found) {
        const std::string_view text = LasParameterSplit::Of(version_.raw, false).value;
        float version = 0.0f;
        las12_ = ParseLasFloat(text.data(), text.data() + text.size(), version) && version > 0.0f &&
                 version < 2.0f;
    }
    return true;
}

const std::string* LasWellValueReader::Value(int code)
{
    if (code < 0 || code >= static_cast<int>(kCodes))
        return nullptr;
    Line& line = wellLines_[static_cast<size_t>(code)];
    if (!line.found)
        return nullptr;
    if (!line.decoded) {
        // LAS 1.2 information lines carry their information after the first colon; the depth
        // range and NULL lines keep their values.
        const bool swapped = las12_ && code != kLineStrt && code != kLineStop && code != kLineStep &&
                             code != kLineNull;
        const LasParameterSplit split = LasParameterSplit::Of(line.raw, swapped);
        const std::string_view text = swapped ? split.Description(line.raw) : split.value;
        const bool ascii = std::none_of(text.begin(), text.end(), [](char c) { return c & 0x80; });
        if (ascii || walker_.GetEncoding() == TextEncoding::Utf8)
            line.value.assign(text);
        else
            line.value = DecodeText(text, walker_.GetEncoding());
        line.decoded = true;
    }
    return &line.value;
}
