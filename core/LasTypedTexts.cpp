#include "core/LasTypedTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/LasNumbers.h"

bool FormattingGivesBack(std::string_view text, float value, int decimals)
{
    std::string formatted;
    AppendLasFixed(formatted, value, decimals);
    double given = 0.0;
    double written = 0.0;
    return ParseLasNumber(text, given) && ParseLasNumber(formatted, written) && given == written;
}

void LasTypedTexts::Set(int curve, int sample, std::string_view text)
{
    if (curve < 0 || sample < 0 || text.empty())
        return;
    Curve& texts = Make(curve);
    Entry entry{sample, 0};
    if (!Store(texts, text, entry))
        return;
    // Texts mostly come in sample order; a text typed again leaves its old bytes unused.
    if (texts.entries.empty() || texts.entries.back().sample < sample) {
        texts.entries.push_back(entry);
        return;
    }
    const auto at = texts.entries.begin() + (First(texts, sample) - texts.entries.cbegin());
    if (at != texts.entries.end() && at->sample == sample)
        *at = entry;
    else
        texts.entries.insert(at, entry);
}

void LasTypedTexts::KeepFormatted(int curve, const std::vector<float>& values, float null, int from, int to)
{
    if (curve < 0 || from == to)
        return;
    Curve& texts = Make(curve);
    std::vector<Entry> entries;
    auto held = texts.entries.cbegin();
    std::string formatted;
    for (int sample = 0; static_cast<size_t>(sample) < values.size(); ++sample) {
        if (held != texts.entries.cend() && held->sample == sample) {
            entries.push_back(*held++);
            continue;
        }
        const float value = values[static_cast<size_t>(sample)];
        if (value == null || !std::isfinite(value))
            continue;
        formatted.clear();
        AppendLasFixed(formatted, value, from);
        if (FormattingGivesBack(formatted, value, to))
            continue;
        Entry entry{sample, 0};
        if (Store(texts, formatted, entry))
            entries.push_back(entry);
    }
    entries.insert(entries.end(), held, texts.entries.cend());
    texts.entries = std::move(entries);
}

bool LasTypedTexts::Store(Curve& texts, std::string_view text, Entry& entry)
{
    // Beyond what an offset can reach the value is written formatted.
    if (texts.buffer.size() + text.size() >= UINT32_MAX)
        return false;
    entry.offset = static_cast<std::uint32_t>(texts.buffer.size());
    texts.buffer += text;
    texts.buffer += '\0';
    return true;
}

LasTypedTexts::Curve& LasTypedTexts::Make(int curve)
{
    if (curves_.size() <= static_cast<size_t>(curve))
        curves_.resize(static_cast<size_t>(curve) + 1);
    return curves_[static_cast<size_t>(curve)];
}

void LasTypedTexts::EraseCurve(int curve)
{
    if (curve >= 0 && static_cast<size_t>(curve) < curves_.size())
        curves_.erase(curves_.begin() + curve);
}

std::vector<LasTypedTexts::Entry>::const_iterator LasTypedTexts::First(const Curve& texts, int sample)
{
    return std::lower_bound(texts.entries.begin(), texts.entries.end(), sample,
                            [](const Entry& entry, int at) { return entry.sample < at; });
}

const LasTypedTexts::Curve* LasTypedTexts::Find(int curve) const
{
    return curve >= 0 && static_cast<size_t>(curve) < curves_.size() ? &curves_[static_cast<size_t>(curve)]
                                                                      : nullptr;
}

std::string_view LasTypedTexts::Of(int curve, int sample, float value) const
{
    const Curve* texts = Find(curve);
    if (!texts || texts->entries.empty())
        return {};
    const auto at = First(*texts, sample);
    if (at == texts->entries.end() || at->sample != sample)
        return {};
    const std::string_view text(texts->buffer.c_str() + at->offset);
    return IsTextOfValue(text, value) ? text : std::string_view();
}

std::string_view LasTypedTexts::Written(int curve, int sample, float value, int decimals) const
{
    const std::string_view text = Of(curve, sample, value);
    return text.empty() || FormattingGivesBack(text, value, decimals) ? std::string_view() : text;
}

bool LasTypedTexts::AnyIn(int curve, int first, int end) const
{
    const Curve* texts = Find(curve);
    if (!texts)
        return false;
    const auto at = First(*texts, first);
    return at != texts->entries.end() && at->sample < end;
}
