#include "app/StrativSession.h"

#include "core/AtomicFile.h"
#include "core/BinaryIO.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "view/PanelCoordinates.h"

#include <cmath>

#include <fstream>
#include <sstream>

namespace {

constexpr std::string_view kSignature("STRVXS1\0", 8);
constexpr std::int32_t kVersion = 1;
constexpr size_t kNameField = kIntervalNameBytes + 1;
constexpr size_t kIntervalRecord = 8 + 8 + 4 + kNameField + 1;
constexpr size_t kCurveRecord = 4 + 4 + 4 + 8 + 4 + 1 + 1;

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutAtCharacter(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// A record count that the bytes left cannot hold marks a damaged file.
bool ReadCount(BinaryReader& in, size_t recordSize, size_t& count)
{
    const std::int32_t stored = in.I32();
    if (in.Failed() || stored < 0 || static_cast<size_t>(stored) > in.Remaining() / recordSize)
        return false;
    count = static_cast<size_t>(stored);
    return true;
}

// A fixed text field must hold its terminating zero.
bool Terminated(BinaryReader& in, size_t size, std::string& text)
{
    const std::string_view field = in.Bytes(size);
    const size_t end = field.find('\0');
    if (end == std::string_view::npos)
        return false;
    text = std::string(field.substr(0, end));
    return true;
}

bool Offset(std::int32_t value)
{
    return value >= -kMaxPixelOffset && value <= kMaxPixelOffset;
}

// Values the main window itself can produce.
bool Plausible(const StrativSession& session)
{
    const SessionView& view = session.View;
    if (view.DepthScale < 1 || view.DepthScale > StrativSession::kMaxDepthScale || view.DepthOffset < 0 ||
        !Offset(view.DepthOffset) || !Offset(view.ValueOffset))
        return false;
    for (const SessionCurve& curve : session.Curves)
        if (curve.DocumentIndex < 1 || curve.PenWidth < 1 || curve.PenWidth > 5 || !Offset(curve.XOffset) ||
            !std::isfinite(curve.PixelsPerUnit) || curve.PixelsPerUnit <= 0 ||
            curve.PixelsPerUnit > StrativSession::kMaxPixelsPerUnit)
            return false;
    for (const IntervalItem& item : session.Intervals)
        if (!(std::fabs(item.Top) < 1e15) || !(std::fabs(item.Bottom) < 1e15) || item.Top > item.Bottom)
            return false;
    return true;
}

} // namespace

bool StrativSession::Save(const std::string& path, const IntervalManager& intervals, std::string& error)
{
    BinaryWriter out;
    out.Bytes(kSignature);
    out.I32(kVersion);
    out.Sized(LasCopyName);
    out.Sized(PreviewPng);
    out.I32(View.DepthScale);
    out.I32(View.DepthOffset);
    out.I32(View.ValueOffset);
    out.U8(View.CaptionsShown ? 1 : 0);
    out.I32(static_cast<std::int32_t>(Curves.size()));
    for (const SessionCurve& curve : Curves) {
        out.I32(curve.DocumentIndex);
        out.U32(curve.Color);
        out.I32(curve.PenWidth);
        out.F64(curve.PixelsPerUnit);
        out.I32(curve.XOffset);
        out.U8(curve.Visible ? 1 : 0);
        out.U8(curve.Selected ? 1 : 0);
    }
    out.I32(static_cast<std::int32_t>(intervals.List.size()));
    for (const IntervalItem& item : intervals.List) {
        out.F64(item.Top);
        out.F64(item.Bottom);
        out.U32(item.Color);
        out.FixedText(CutAtCharacter(item.Name, kNameField - 1), kNameField);
        out.U8(item.Active ? 1 : 0);
    }
    // After the intervals, where readers of files without it stop.
    if (!OriginalFile.empty())
        out.Sized(OriginalFile);
    AtomicFileWriter file(path);
    file.Write(out.Data());
    if (!file.Commit()) {
        error = platform::WriteFailureText(platform::FileNameFromBytes(path), file.SystemError()).toStdString();
        return false;
    }
    Intervals = intervals.List;
    return true;
}

bool StrativSession::Load(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Не удалось открыть файл сессии " + path;
        return false;
    }
    std::stringstream buffer;
    buffer << file.rdbuf();
    const std::string bytes = buffer.str();

    BinaryReader in(bytes);
    StrativSession loaded;
    const bool known = in.Bytes(kSignature.size()) == kSignature && in.I32() == kVersion;
    loaded.LasCopyName = std::string(in.Sized());
    loaded.PreviewPng = std::string(in.Sized());
    loaded.View.DepthScale = in.I32();
    loaded.View.DepthOffset = in.I32();
    loaded.View.ValueOffset = in.I32();
    loaded.View.CaptionsShown = in.U8() != 0;
    size_t count = 0;
    bool valid = known && ReadCount(in, kCurveRecord, count);
    for (size_t i = 0; valid && i < count; ++i) {
        SessionCurve curve;
        curve.DocumentIndex = in.I32();
        curve.Color = in.U32();
        curve.PenWidth = in.I32();
        curve.PixelsPerUnit = in.F64();
        curve.XOffset = in.I32();
        curve.Visible = in.U8() != 0;
        curve.Selected = in.U8() != 0;
        loaded.Curves.push_back(curve);
    }
    valid = valid && ReadCount(in, kIntervalRecord, count);
    for (size_t i = 0; valid && i < count; ++i) {
        IntervalItem item;
        item.Top = in.F64();
        item.Bottom = in.F64();
        item.Color = in.U32() & 0xFFFFFFu; // any four bytes may be stored; colours are 24-bit
        valid = Terminated(in, kNameField, item.Name);
        item.Active = in.U8() != 0;
        loaded.Intervals.push_back(std::move(item));
    }
    if (valid && in.Remaining() > 0)
        loaded.OriginalFile = std::string(in.Sized());
    // The LAS copy lies beside the session: a name with a folder part is not ours.
    const bool plainName = !loaded.LasCopyName.empty() &&
                           loaded.LasCopyName.find_first_of("/\\") == std::string::npos &&
                           loaded.LasCopyName != "." && loaded.LasCopyName != "..";
    if (!valid || in.Failed() || !plainName || !Plausible(loaded)) {
        error = StrativSession::kDamaged;
        return false;
    }
    *this = std::move(loaded);
    return true;
}

void StrativSession::RestoreIntervals(IntervalManager& intervals, float documentTop, float documentBottom) const
{
    intervals.List.clear();
    intervals.SetTopBottom(documentTop, documentBottom);
    intervals.List = Intervals;
}
