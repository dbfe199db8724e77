// EMF pictures through libuemf.
#include "platform/EmfCanvas.h"

#include "platform/CanvasFont.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"

#include <uemf.h>

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Records of points are split so that no single record grows without bound.
constexpr std::size_t MaxPointsPerRecord = 16384;

U_COLORREF ToColorRef(CanvasColor c)
{
    return colorref3_set(static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                         static_cast<uint8_t>((c >> 16) & 0xFF));
}

U_RECTL ToRectl(const CanvasRect& r) { return rectl_set(point32_set(r.left, r.top), point32_set(r.right, r.bottom)); }

// Inclusive bounds of device points.
U_RECTL BoundsOf(const CanvasPoint* points, std::size_t count)
{
    CanvasRect b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (std::size_t i = 1; i < count; ++i) {
        b.left = std::min(b.left, points[i].x);
        b.top = std::min(b.top, points[i].y);
        b.right = std::max(b.right, points[i].x);
        b.bottom = std::max(b.bottom, points[i].y);
    }
    return ToRectl(b);
}

std::vector<U_POINTL> ToPointl(const CanvasPoint* points, std::size_t count)
{
    std::vector<U_POINTL> result(count);
    for (std::size_t i = 0; i < count; ++i)
        result[i] = point32_set(points[i].x, points[i].y);
    return result;
}

uint32_t ToEmfPenStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return U_PS_DASH;
    case PenStyle::Dot: return U_PS_DOT;
    case PenStyle::DashDot: return U_PS_DASHDOT;
    case PenStyle::DashDotDot: return U_PS_DASHDOTDOT;
    case PenStyle::Clear: return U_PS_NULL;
    case PenStyle::Solid:
    case PenStyle::Custom: break;
    }
    return U_PS_SOLID;
}

// A custom pen that really has gaps; others draw as solid lines, as on the painter canvas.
bool IsDashed(const CanvasPen& p) { return p.style == PenStyle::Custom && p.dash > 0.0 && p.gap > 0.0; }

CanvasRect Intersect(const CanvasRect& a, const CanvasRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

}  // namespace

EmfReference ScreenReference()
{
    EmfReference r;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return r;
    r.dpiX = std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchX())));
    r.dpiY = std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
    r.widthPx = std::max(1, screen->geometry().width());
    r.heightPx = std::max(1, screen->geometry().height());
    const QSizeF mm = screen->physicalSize();
    r.widthMm = mm.width() >= 1.0 ? static_cast<int>(std::lround(mm.width()))
                                  : static_cast<int>(std::lround(r.widthPx * 25.4 / r.dpiX));
    r.heightMm = mm.height() >= 1.0 ? static_cast<int>(std::lround(mm.height()))
                                    : static_cast<int>(std::lround(r.heightPx * 25.4 / r.dpiY));
    return r;
}

// The records written so far and libuemf's table of object handles. The header goes first,
// with its sizes and bounds filled in when the picture is finished.
struct EmfCanvas::Records {
    std::FILE* file = nullptr;  // null while only measuring
    EMFHANDLES* eht = nullptr;
    std::vector<char> header;
    std::uint64_t bytes = 0;
    std::uint32_t count = 0;
    ~Records()
    {
        if (file)
            std::fclose(file);
        if (eht)
            emf_htable_free(&eht);
    }
};

EmfCanvas::EmfCanvas(std::string path, const EmfReference& reference, const CanvasRect& frame)
    : file_(std::make_unique<AtomicFileTarget>(std::move(path))), records_(std::make_unique<Records>()),
      reference_(reference)
{
    if (!file_->IsValid()) {
        Fail(WriteFailure(file_->SystemError()));
        return;
    }
    records_->file = std::fopen(file_->TempPath().c_str(), "wb");
    if (!records_->file || emf_htable_create(128, 128, &records_->eht) != 0) {
        Fail(WriteFailure(errno));
        return;
    }
    std::setvbuf(records_->file, nullptr, _IOFBF, 1 << 20);
    // The bounds of what was drawn are filled in when the picture is finished.
    Emit(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(-1, -1)), ToRectl(frame), nullptr, 0, nullptr,
                         sizel_set(reference.widthPx, reference.heightPx),
                         sizel_set(reference.widthMm, reference.heightMm), 0));
}

EmfCanvas::EmfCanvas(const EmfReference& reference) : records_(std::make_unique<Records>()), reference_(reference)
{
    if (emf_htable_create(128, 128, &records_->eht) != 0) {
        Fail("Недостаточно памяти");
        return;
    }
    Emit(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(-1, -1)), ToRectl({0, 0, 0, 0}), nullptr, 0,
                         nullptr, sizel_set(reference.widthPx, reference.heightPx),
                         sizel_set(reference.widthMm, reference.heightMm), 0));
}

EmfCanvas::~EmfCanvas() = default;

std::uint64_t EmfCanvas::Bytes()
{
    Flush();
    return records_->bytes;
}

std::string EmfCanvas::WriteFailure(int systemError) const
{
    return WriteFailureText(FileNameFromBytes(file_ ? file_->Target() : std::string()), systemError)
        .toStdString();
}

void EmfCanvas::Fail(const std::string& what)
{
    if (error_.empty())
        error_ = what;
}

void EmfCanvas::Emit(char* record)
{
    if (!record) {
        Fail("Недостаточно памяти");
        return;
    }
    const std::unique_ptr<char, decltype(&std::free)> owned(record, &std::free);
    if (!error_.empty() || !records_ || !records_->eht || finished_)
        return;
    const auto* emr = reinterpret_cast<const U_EMR*>(record);
    // A picture the header cannot measure would be read as a different, broken one.
    if (records_->bytes + emr->nSize > MaxBytes) {
        Fail("Рисунок больше 4 ГБ: формат EMF не может его вместить");
        return;
    }
    if (emr->iType == U_EMR_HEADER)
        records_->header.assign(record, record + emr->nSize);
    if (records_->file && std::fwrite(record, emr->nSize, 1, records_->file) != 1) {
        Fail(WriteFailure(errno));
        return;
    }
    records_->bytes += emr->nSize;
    ++records_->count;
}

CanvasPoint EmfCanvas::Device(double x, double y)
{
    const CanvasPoint p{static_cast<int>(std::lround(x * sx_)), static_cast<int>(std::lround(y * sy_))};
    Include(p);
    return p;
}

std::vector<CanvasPoint> EmfCanvas::DevicePoints(const std::vector<CanvasPoint>& points)
{
    std::vector<CanvasPoint> device;
    device.reserve(points.size());
    for (const CanvasPoint& p : points)
        device.push_back(Device(p.x, p.y));
    return device;
}

CanvasRect EmfCanvas::DeviceRect(const CanvasRect& r)
{
    const CanvasPoint a = Device(r.left, r.top);
    const CanvasPoint b = Device(r.right, r.bottom);
    return {a.x, a.y, b.x, b.y};
}

void EmfCanvas::Include(const CanvasPoint& p)
{
    if (!drawn_) {
        bounds_ = {p.x, p.y, p.x, p.y};
        drawn_ = true;
        return;
    }
    bounds_.left = std::min(bounds_.left, p.x);
    bounds_.top = std::min(bounds_.top, p.y);
    bounds_.right = std::max(bounds_.right, p.x);
    bounds_.bottom = std::max(bounds_.bottom, p.y);
}

template <class Key>
bool EmfCanvas::Reselect(Selection<Key>& s, const Key& key)
{
    // A picture that could not be started has no handle table and takes no objects.
    if (!records_ || !records_->eht)
        return true;
    if (!s.key || !(*s.key == key))
        return false;
    if (!s.selected) {
        Emit(selectobject_set(s.handle, records_->eht));
        s.selected = true;
    }
    return true;
}

// Selects a new object and deletes the one it replaces, so that the handle table stays small.
template <class Key>
void EmfCanvas::Replace(Selection<Key>& s, const Key& key, std::uint32_t handle)
{
    Emit(selectobject_set(handle, records_->eht));
    if (s.key && !(s.handle & U_STOCK_OBJECT))
        Emit(deleteobject_set(&s.handle, records_->eht));
    s.key = key;
    s.handle = handle;
    s.selected = true;
}

void EmfCanvas::SelectPen(const CanvasPen& p)
{
    const double factor = (std::fabs(sx_) + std::fabs(sy_)) / 2.0;
    PenKey key{p.color, std::max(1, static_cast<int>(std::lround(std::max(1, p.width) * factor))), p.style};
    if (p.style == PenStyle::Custom)
        key.style = PenStyle::Solid;
    if (p.style == PenStyle::Clear)
        key = PenKey{0, 0, PenStyle::Clear};
    if (Reselect(pen_, key))
        return;
    uint32_t handle = U_NULL_PEN;
    if (key.style != PenStyle::Clear) {
        PU_EXTLOGPEN elp = extlogpen_set(U_PS_GEOMETRIC | U_PS_ENDCAP_FLAT | U_PS_JOIN_ROUND | ToEmfPenStyle(key.style),
                                         static_cast<uint32_t>(key.width), U_BS_SOLID, ToColorRef(key.color), 0, 0,
                                         nullptr);
        Emit(extcreatepen_set(&handle, records_->eht, nullptr, 0, nullptr, elp));
        std::free(elp);
    }
    Replace(pen_, key, handle);
}

void EmfCanvas::SelectBrush(const CanvasBrush& b)
{
    const BrushKey key = b.style == BrushStyle::Solid ? BrushKey{true, b.color} : BrushKey{};
    if (Reselect(brush_, key))
        return;
    uint32_t handle = U_NULL_BRUSH;
    if (key.solid)
        Emit(createbrushindirect_set(&handle, records_->eht, logbrush_set(U_BS_SOLID, ToColorRef(key.color), 0)));
    Replace(brush_, key, handle);
}

void EmfCanvas::SelectFont()
{
    FontKey key{font, static_cast<int>(std::lround(FontPixelHeight() * std::fabs(sy_)))};
    key.font.color = 0;
    key.height = std::max(1, key.height);
    if (Reselect(font_, key))
        return;
    uint16_t face[U_LF_FACESIZE] = {};
    const QString name = QString::fromStdString(font.name).left(U_LF_FACESIZE - 1);
    std::copy_n(name.utf16(), name.size(), face);
    const U_LOGFONT lf = logfont_set(-key.height, 0, 0, 0, font.bold ? U_FW_BOLD : U_FW_NORMAL, font.italic,
                                     font.underline, font.strikeOut, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                                     U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_DONTCARE, face);
    uint16_t none[U_LF_FULLFACESIZE] = {};
    const U_LOGFONT_PANOSE elf = logfont_panose_set(lf, none, none, 0, panose_set(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    uint32_t handle = 0;
    Emit(extcreatefontindirectw_set(&handle, records_->eht, reinterpret_cast<const char*>(&elf), nullptr));
    Replace(font_, key, handle);
}

void EmfCanvas::SetTextColor(CanvasColor color)
{
    if (textColor_ == color)
        return;
    Emit(U_EMRSETTEXTCOLOR_set(ToColorRef(color)));
    textColor_ = color;
}

void EmfCanvas::Flush()
{
    FlushTrace();
    FlushDashes();
}

void EmfCanvas::FlushTrace()
{
    if (trace_.size() >= 2) {
        SelectPen(tracePen_);
        Emit(U_EMRMOVETOEX_set(point32_set(trace_[0].x, trace_[0].y)));
        for (std::size_t first = 1; first < trace_.size(); first += MaxPointsPerRecord) {
            const std::size_t count = std::min(MaxPointsPerRecord, trace_.size() - first);
            const std::vector<U_POINTL> points = ToPointl(&trace_[first], count);
            Emit(U_EMRPOLYLINETO_set(BoundsOf(&trace_[first - 1], count + 1), static_cast<uint32_t>(count),
                                     points.data()));
        }
    }
    trace_.clear();
}

void EmfCanvas::FlushDashes()
{
    if (!dashes_.empty()) {
        SelectPen(dashPen_);
        for (std::size_t first = 0; first < dashes_.size(); first += MaxPointsPerRecord)
            EmitDashes(&dashes_[first], std::min(MaxPointsPerRecord, dashes_.size() - first));
    }
    dashes_.clear();
}

// Dashes take 16-bit points from their top-left corner, which a world transform moves back;
// 32-bit ones only when they spread wider than that.
void EmfCanvas::EmitDashes(const CanvasPoint* dashes, std::size_t count)
{
    const std::vector<uint32_t> counts(count / 2, 2);
    const U_RECTL bounds = BoundsOf(dashes, count);
    if (static_cast<long long>(bounds.right) - bounds.left > INT16_MAX ||
        static_cast<long long>(bounds.bottom) - bounds.top > INT16_MAX) {
        const std::vector<U_POINTL> points = ToPointl(dashes, count);
        Emit(U_EMRPOLYPOLYLINE_set(bounds, static_cast<uint32_t>(counts.size()), counts.data(),
                                   static_cast<uint32_t>(count), points.data()));
        return;
    }
    std::vector<U_POINT16> points(count);
    for (std::size_t i = 0; i < count; ++i)
        points[i] = point16_set(static_cast<int16_t>(dashes[i].x - bounds.left),
                                static_cast<int16_t>(dashes[i].y - bounds.top));
    const bool shifted = bounds.left != 0 || bounds.top != 0;
    if (shifted)
        Emit(U_EMRSETWORLDTRANSFORM_set(xform_set(1.0f, 0.0f, 0.0f, 1.0f, static_cast<U_FLOAT>(bounds.left),
                                                  static_cast<U_FLOAT>(bounds.top))));
    Emit(U_EMRPOLYPOLYLINE16_set(bounds, static_cast<uint32_t>(counts.size()), counts.data(),
                                 static_cast<uint32_t>(count), points.data()));
    if (shifted)
        Emit(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f), U_MWT_IDENTITY));
}

// The dash pattern runs on along the path and starts afresh with a dash at its first point:
// dash k covers the path distances [k × period, k × period + dash].
void EmfCanvas::AddDashes(const std::vector<CanvasPoint>& path)
{
    if (!dashes_.empty() && !(dashPen_ == pen))
        FlushDashes();
    dashPen_ = pen;
    const double period = pen.dash + pen.gap;
    double start = 0.0;  // path distance at the segment's first point
    for (std::size_t i = 1; i < path.size(); ++i) {
        const double ax = path[i - 1].x, ay = path[i - 1].y;
        const double dx = path[i].x - ax, dy = path[i].y - ay;
        const double length = std::hypot(dx, dy);
        const double end = start + length;
        for (double k = std::floor(start / period); k * period < end; k += 1.0) {
            const double from = std::max(start, k * period) - start;
            const double to = std::min(end, k * period + pen.dash) - start;
            if (to <= from)
                continue;
            const CanvasPoint p = Device(ax + dx * from / length, ay + dy * from / length);
            const CanvasPoint q = Device(ax + dx * to / length, ay + dy * to / length);
            if (!(p == q)) {
                dashes_.push_back(p);
                dashes_.push_back(q);
            }
        }
        start = end;
    }
    if (dashes_.size() >= MaxPointsPerRecord)
        FlushDashes();
}

void EmfCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    if (pen.style == PenStyle::Clear)
        return;
    // Patterns shorter than half a pixel are indistinguishable from a solid line.
    if (IsDashed(pen) && (pen.dash + pen.gap) * std::max(std::fabs(sx_), std::fabs(sy_)) >= 0.5) {
        FlushTrace();
        AddDashes({from, to});
        return;
    }
    FlushDashes();
    const bool continues = !trace_.empty() && traceEnd_ == from && tracePen_ == pen;
    if (!continues) {
        FlushTrace();
        trace_.push_back(Device(from.x, from.y));
        tracePen_ = pen;
    }
    trace_.push_back(Device(to.x, to.y));
    traceEnd_ = to;
}

void EmfCanvas::Rectangle(const CanvasRect& r)
{
    Flush();
    SelectPen(pen);
    SelectBrush(brush);
    Emit(U_EMRRECTANGLE_set(ToRectl(DeviceRect(r))));
}

void EmfCanvas::Polygon(const std::vector<CanvasPoint>& points)
{
    Flush();
    if (points.size() < 2)
        return;
    SelectPen(pen);
    SelectBrush(brush);
    const std::vector<CanvasPoint> device = DevicePoints(points);
    const std::vector<U_POINTL> emf = ToPointl(device.data(), device.size());
    Emit(U_EMRPOLYGON_set(BoundsOf(device.data(), device.size()), static_cast<uint32_t>(emf.size()), emf.data()));
}

// A rectangle without outline: the one fill that the common readers all draw.
void EmfCanvas::FillDeviceRect(const CanvasRect& device)
{
    if (device.right <= device.left || device.bottom <= device.top)
        return;
    SelectPen(CanvasPen{0, 1, PenStyle::Clear});
    SelectBrush(brush);
    Emit(U_EMRRECTANGLE_set(ToRectl(device)));
}

void EmfCanvas::FillRect(const CanvasRect& r)
{
    Flush();
    if (brush.style == BrushStyle::Solid)
        FillDeviceRect(DeviceRect(r));
}

void EmfCanvas::Polyline(const std::vector<CanvasPoint>& points)
{
    Flush();
    if (pen.style == PenStyle::Clear || points.size() < 2)
        return;
    if (IsDashed(pen)) {
        AddDashes(points);
        FlushDashes();
        return;
    }
    SelectPen(pen);
    const std::vector<CanvasPoint> device = DevicePoints(points);
    const std::vector<U_POINTL> emf = ToPointl(device.data(), device.size());
    Emit(U_EMRPOLYLINE_set(BoundsOf(device.data(), device.size()), static_cast<uint32_t>(emf.size()), emf.data()));
}

void EmfCanvas::Metrics()
{
    if (metricsFont_ && *metricsFont_ == font)
        return;
    qfont_ = ToQFont(font, FontPixelHeight());
    metrics_.emplace(qfont_);
    metricsF_.emplace(qfont_);
    metricsFont_ = font;
}

int EmfCanvas::TextWidth(std::string_view text)
{
    Metrics();
    return metrics_->horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int EmfCanvas::TextHeight(std::string_view)
{
    Metrics();
    return metrics_->height();
}

// Text at its top-left corner with one advance per UTF-16 unit, so that a reader that
// substitutes the face still places every character where it was measured.
void EmfCanvas::DrawText(int x, int y, std::string_view text, const CanvasRect* clip)
{
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (s.isEmpty())
        return;
    Metrics();
    const int width = metrics_->horizontalAdvance(s);
    const CanvasRect box{x, y, x + width, y + metrics_->height()};
    if (brush.style == BrushStyle::Solid)
        FillDeviceRect(DeviceRect(clip ? Intersect(box, *clip) : box));

    // Advances measured in floating point, spread so that they add up to the text's width.
    std::vector<double> advances(static_cast<std::size_t>(s.size()), 0.0);
    double sum = 0.0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const bool pair = s[i].isHighSurrogate() && i + 1 < s.size();
        advances[static_cast<std::size_t>(i)] = metricsF_->horizontalAdvance(s.mid(i, pair ? 2 : 1));
        sum += advances[static_cast<std::size_t>(i)];
        i += pair;
    }
    std::vector<uint32_t> dx(advances.size(), 0);
    const double factor = sum > 0.0 ? width * sx_ / sum : 0.0;
    double position = 0.0;
    long previous = 0;
    for (std::size_t i = 0; i < advances.size(); ++i) {
        position += advances[i] * factor;
        const long rounded = std::lround(position);
        dx[i] = static_cast<uint32_t>(std::max(0L, rounded - previous));
        previous = std::max(previous, rounded);
    }

    // The text modes come with the first text, so that a picture without any holds only its
    // header and end.
    if (!textModesSet_) {
        Emit(U_EMRSETBKMODE_set(U_TRANSPARENT));
        Emit(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
        textModesSet_ = true;
    }
    SelectFont();
    SetTextColor(font.color);
    const CanvasRect deviceBox = DeviceRect(box);
    if (clip) {
        Emit(U_EMRSAVEDC_set());
        Emit(U_EMRINTERSECTCLIPRECT_set(ToRectl(DeviceRect(*clip))));
    }
    const double mmX = reference_.widthPx > 0 ? reference_.widthMm * 100.0 / reference_.widthPx : 0.0;
    const double mmY = reference_.heightPx > 0 ? reference_.heightMm * 100.0 / reference_.heightPx : 0.0;
    char* emrtext = emrtext_set(point32_set(deviceBox.left, deviceBox.top), static_cast<uint32_t>(s.size()), 2,
                                const_cast<ushort*>(s.utf16()), U_ETO_NONE, ToRectl(deviceBox), dx.data());
    if (emrtext) {
        Emit(U_EMREXTTEXTOUTW_set(ToRectl(deviceBox), U_GM_COMPATIBLE, static_cast<U_FLOAT>(mmX),
                                  static_cast<U_FLOAT>(mmY), reinterpret_cast<PU_EMRTEXT>(emrtext)));
        std::free(emrtext);
    } else {
        Fail("Недостаточно памяти");
    }
    if (clip) {
        Emit(U_EMRRESTOREDC_set(-1));
        // The restored context has the objects of before the save; select anew what is needed.
        pen_.selected = brush_.selected = font_.selected = false;
        textColor_.reset();
    }
}

void EmfCanvas::TextOut(int x, int y, std::string_view text)
{
    Flush();
    DrawText(x, y, text, nullptr);
}

void EmfCanvas::TextRect(const CanvasRect& clip, int x, int y, std::string_view text)
{
    Flush();
    DrawText(x, y, text, &clip);
}

void EmfCanvas::Scale(double sx, double sy)
{
    Flush();
    sx_ *= sx;
    sy_ *= sy;
}

void EmfCanvas::SaveDevice()
{
    Flush();
    savedScales_.emplace_back(sx_, sy_);
}

void EmfCanvas::RestoreDevice()
{
    Flush();
    if (savedScales_.empty())
        return;
    std::tie(sx_, sy_) = savedScales_.back();
    savedScales_.pop_back();
}

bool EmfCanvas::Finish()
{
    if (finished_)
        return error_.empty();
    Flush();
    EMFTRACK track{};  // the end record reads the palette count from it
    Emit(U_EMREOF_set(0, nullptr, &track));
    finished_ = true;
    if (error_.empty() && records_->file) {
        auto* header = reinterpret_cast<PU_EMRHEADER>(records_->header.data());
        header->rclBounds = drawn_ ? ToRectl(bounds_) : rectl_set(point32_set(0, 0), point32_set(-1, -1));
        header->nBytes = static_cast<uint32_t>(records_->bytes);
        header->nRecords = records_->count;
        header->nHandles = records_->eht->peak + 1;
        header->nPalEntries = 0;
        std::FILE* file = std::exchange(records_->file, nullptr);
        const bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                             std::fwrite(records_->header.data(), records_->header.size(), 1, file) == 1 &&
                             std::fflush(file) == 0;
        const int error = errno;
        if (std::fclose(file) != 0 || !written)
            Fail(WriteFailure(written ? errno : error));
        else if (!file_->Commit())
            Fail(WriteFailure(file_->SystemError()));
    }
    if (file_)
        file_->Discard();
    return error_.empty();
}

}  // namespace platform
