// EMF pictures drawn through the canvas, read back through libuemf's record structures: the
// header and framing, pens, brushes, text, clipping, scale, the same primitives as the
// recording canvas, and failed writes.
#include "platform/EmfCanvas.h"
#include "platform/FontSubstitutes.h"
#include "platform/RecordingCanvas.h"
#include "tests/common/EmfRecords.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::BrushStyle;
using platform::Canvas;
using platform::CanvasPoint;
using platform::CanvasRect;
using platform::EmfCanvas;
using platform::PenStyle;
using strativ::test::EmfPicture;
using strativ::test::EmfRecord;
using strativ::test::ReadEmf;

const platform::EmfReference Screen{96, 96, 1920, 1080, 508, 286};
const CanvasRect Frame{0, 0, 21000, 29700};

using platform::CanvasOpKind;
using Primitive = std::pair<CanvasOpKind, std::vector<CanvasPoint>>;

std::vector<CanvasPoint> PointsOf(const U_POINTL* p, uint32_t n)
{
    std::vector<CanvasPoint> result;
    for (uint32_t i = 0; i < n; ++i)
        result.push_back({p[i].x, p[i].y});
    return result;
}

// The picture's drawing records as canvas primitives: every line segment (of POLYLINETO runs
// and of POLYPOLYLINE dashes, 16-bit ones moved by the world transform) on its own, a rectangle
// under the null pen as a fill, a text as its reference point.
std::vector<Primitive> PrimitivesOf(const EmfPicture& picture)
{
    std::vector<Primitive> result;
    bool nullPen = false;
    CanvasPoint at;
    CanvasPoint shift;  // the world transform's translation, its only part
    for (const EmfRecord& r : picture.records) {
        switch (r.type) {
        case U_EMR_SELECTOBJECT:
            if (r.As<U_EMRSELECTOBJECT>().ihObject == U_NULL_PEN)
                nullPen = true;
            break;
        case U_EMR_EXTCREATEPEN: nullPen = false; break;
        case U_EMR_MOVETOEX: at = PointsOf(&r.As<U_EMRMOVETOEX>().ptl, 1)[0]; break;
        case U_EMR_POLYLINETO:
            for (const CanvasPoint& p : PointsOf(r.As<U_EMRPOLYLINETO>().aptl, r.As<U_EMRPOLYLINETO>().cptl)) {
                result.push_back({CanvasOpKind::Line, {at, p}});
                at = p;
            }
            break;
        case U_EMR_SETWORLDTRANSFORM: {
            const U_XFORM& x = r.As<U_EMRSETWORLDTRANSFORM>().xform;
            EXPECT_TRUE(x.eM11 == 1.0f && x.eM12 == 0.0f && x.eM21 == 0.0f && x.eM22 == 1.0f);
            shift = {static_cast<int>(x.eDx), static_cast<int>(x.eDy)};
            break;
        }
        case U_EMR_MODIFYWORLDTRANSFORM:
            EXPECT_EQ(r.As<U_EMRMODIFYWORLDTRANSFORM>().iMode, static_cast<uint32_t>(U_MWT_IDENTITY));
            shift = {};
            break;
        case U_EMR_POLYPOLYLINE: {
            const auto& rec = r.As<U_EMRPOLYPOLYLINE>();
            const auto all = PointsOf(reinterpret_cast<const U_POINTL*>(rec.aPolyCounts + rec.nPolys), rec.cptl);
            for (size_t i = 0; i + 1 < all.size(); i += 2)
                result.push_back({CanvasOpKind::Line, {all[i], all[i + 1]}});
            break;
        }
        case U_EMR_POLYPOLYLINE16: {
            const auto& rec = r.As<U_EMRPOLYPOLYLINE16>();
            const auto* p = reinterpret_cast<const U_POINT16*>(rec.aPolyCounts + rec.nPolys);
            const auto device = [&](const U_POINT16& q) { return CanvasPoint{q.x + shift.x, q.y + shift.y}; };
            for (size_t i = 0; i + 1 < rec.cpts; i += 2)
                result.push_back({CanvasOpKind::Line, {device(p[i]), device(p[i + 1])}});
            break;
        }
        case U_EMR_RECTANGLE: {
            const U_RECTL b = r.As<U_EMRRECTANGLE>().rclBox;
            result.push_back({nullPen ? CanvasOpKind::FillRect : CanvasOpKind::Rectangle,
                              {{b.left, b.top}, {b.right, b.bottom}}});
            break;
        }
        case U_EMR_POLYGON:
            result.push_back({CanvasOpKind::Polygon, PointsOf(r.As<U_EMRPOLYGON>().aptl, r.As<U_EMRPOLYGON>().cptl)});
            break;
        case U_EMR_POLYLINE:
            result.push_back({CanvasOpKind::Polyline, PointsOf(r.As<U_EMRPOLYLINE>().aptl, r.As<U_EMRPOLYLINE>().cptl)});
            break;
        case U_EMR_EXTTEXTOUTW:
            result.push_back({CanvasOpKind::Text, PointsOf(&r.As<U_EMREXTTEXTOUTW>().emrtext.ptlReference, 1)});
            break;
        default: break;
        }
    }
    return result;
}

// The line segments alone.
std::vector<std::vector<CanvasPoint>> SegmentsOf(const EmfPicture& picture)
{
    std::vector<std::vector<CanvasPoint>> result;
    for (const Primitive& p : PrimitivesOf(picture))
        if (p.first == CanvasOpKind::Line)
            result.push_back(p.second);
    return result;
}

using Segment = std::vector<CanvasPoint>;

class EmfCanvasTest : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::string path = dir.file("picture.emf");

    template <class Drawing>
    EmfPicture Draw(Drawing draw)
    {
        EmfCanvas canvas(path, Screen, Frame);
        draw(canvas);
        EXPECT_TRUE(canvas.Finish()) << canvas.Error();
        return ReadEmf(path);
    }
};

TEST_F(EmfCanvasTest, HeaderCountsTextAndLargeCoordinatesAgreeWithTheFile)
{
    const EmfPicture picture = Draw([](Canvas& c) {
        c.MoveTo(10, 20);
        c.LineTo(300, 70000);
        c.LineTo(100000, 80000);
        c.font.name = "Arial";
        c.font.size = 12;
        c.TextOut(50, 60, "Глубина, м");
        c.brush.color = 0x00FF00;
        c.Rectangle({5, 5, 40, 30});
    });
    ASSERT_TRUE(picture.complete);
    EXPECT_TRUE(picture.sizesAligned);
    ASSERT_GE(picture.bytes.size(), 44u);
    uint32_t signature = 0;
    std::memcpy(&signature, picture.bytes.data() + 40, 4);
    EXPECT_EQ(signature, 0x464D4520u);
    const U_EMRHEADER& h = picture.Header();
    EXPECT_EQ(h.emr.iType, 1u);
    EXPECT_EQ(h.nBytes, picture.bytes.size());
    EXPECT_EQ(h.nRecords, picture.records.size());
    EXPECT_EQ(picture.records.back().type, static_cast<uint32_t>(U_EMR_EOF));
    EXPECT_EQ(h.rclFrame.right, 21000);
    EXPECT_EQ(h.rclFrame.bottom, 29700);
    EXPECT_EQ(h.szlDevice.cx, 1920);
    EXPECT_EQ(h.szlDevice.cy, 1080);
    EXPECT_EQ(h.szlMillimeters.cx, 508);
    EXPECT_EQ(h.szlMillimeters.cy, 286);
    EXPECT_EQ(h.szlMicrometers.cx, 508000);
    EXPECT_EQ(h.rclBounds.left, 5);
    EXPECT_EQ(h.rclBounds.right, 100000);
    EXPECT_EQ(h.rclBounds.bottom, 80000);
    EXPECT_GE(h.nHandles, 3);

    const std::vector<Segment> lines = SegmentsOf(picture);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (Segment{{10, 20}, {300, 70000}}));
    EXPECT_EQ(lines[1], (Segment{{300, 70000}, {100000, 80000}}));

    const auto texts = picture.OfType(U_EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(strativ::test::TextOf(texts[0]), u"Глубина, м");
    const std::vector<uint32_t> dx = strativ::test::AdvancesOf(texts[0]);
    ASSERT_EQ(dx.size(), 10u);
    EmfCanvas measure(dir.file("measure.emf"), Screen, Frame);
    measure.font.size = 12;
    uint32_t sum = 0;
    for (uint32_t a : dx) {
        EXPECT_GT(a, 0u);
        sum += a;
    }
    EXPECT_EQ(sum, static_cast<uint32_t>(measure.TextWidth("Глубина, м")));
    const auto& text = texts[0].As<U_EMREXTTEXTOUTW>();
    EXPECT_EQ(text.emrtext.ptlReference.x, 50);
    EXPECT_EQ(text.emrtext.ptlReference.y, 60);
    const auto fonts = picture.OfType(U_EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(fonts.size(), 1u);
    const U_LOGFONT& lf = fonts[0].As<U_EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
    EXPECT_EQ(lf.lfHeight, -16);  // 12 pt at 96 dpi
    EXPECT_EQ(lf.lfFaceName[0], u'A');
    // Text is written over a transparent background; a picture without drawing holds only
    // its header and its end.
    EXPECT_EQ(picture.OfType(U_EMR_SETBKMODE).size(), 1u);
    const EmfPicture empty = Draw([](Canvas&) {});
    ASSERT_TRUE(empty.complete);
    EXPECT_EQ(empty.records.size(), 2u);
    EXPECT_EQ(empty.Header().nRecords, 2u);
}

TEST_F(EmfCanvasTest, CustomDashesPenStylesAndBrushes)
{
    const EmfPicture picture = Draw([](Canvas& c) {
        c.pen.style = PenStyle::Custom;
        c.pen.dash = 10;
        c.pen.gap = 5;
        c.MoveTo(0, 100);
        c.LineTo(95, 100);
        // A grid: every line starts with a whole dash whatever the one before ended with.
        for (int y = 200; y < 240; y += 10) {
            c.MoveTo(3, y);
            c.LineTo(40, y);
        }
        c.pen = {};
        c.pen.style = PenStyle::Dot;
        c.brush.style = BrushStyle::Clear;
        c.Rectangle({10, 10, 50, 30});
        c.FillRect({60, 60, 90, 90});
    });
    ASSERT_TRUE(picture.complete);
    const std::vector<Segment> dashes = SegmentsOf(picture);
    ASSERT_EQ(dashes.size(), 7u + 4u * 3u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(dashes[i], (Segment{{15 * i, 100}, {std::min(15 * i + 10, 95), 100}})) << i;
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(dashes[7 + 3 * line][0], (CanvasPoint{3, 200 + 10 * line}));
        EXPECT_EQ(dashes[7 + 3 * line][1], (CanvasPoint{13, 200 + 10 * line}));
        EXPECT_EQ(dashes[9 + 3 * line][1], (CanvasPoint{40, 200 + 10 * line}));  // 7 of 10
    }
    EXPECT_EQ(picture.OfType(U_EMR_POLYPOLYLINE16).size(), 1u);  // batched

    // Dashes are drawn with a solid pen; the frame with a dotted one; both geometric, flat.
    const auto pens = picture.OfType(U_EMR_EXTCREATEPEN);
    ASSERT_EQ(pens.size(), 2u);
    const U_EXTLOGPEN& solid = pens[0].As<U_EMREXTCREATEPEN>().elp;
    const U_EXTLOGPEN& dotted = pens[1].As<U_EMREXTCREATEPEN>().elp;
    EXPECT_EQ(solid.elpPenStyle & U_PS_STYLE_MASK, static_cast<uint32_t>(U_PS_SOLID));
    EXPECT_EQ(dotted.elpPenStyle & U_PS_STYLE_MASK, static_cast<uint32_t>(U_PS_DOT));
    EXPECT_EQ(dotted.elpPenStyle & U_PS_ENDCAP_MASK, static_cast<uint32_t>(U_PS_ENDCAP_FLAT));
    EXPECT_EQ(dotted.elpPenStyle & U_PS_TYPE_MASK, static_cast<uint32_t>(U_PS_GEOMETRIC));
    EXPECT_EQ(dotted.elpWidth, 1u);

    // The outline is drawn with the stock null brush selected; the clear fill wrote nothing.
    const auto rects = picture.OfType(U_EMR_RECTANGLE);
    ASSERT_EQ(rects.size(), 1u);
    uint32_t brush = 0;
    for (const EmfRecord& r : picture.records) {
        if (r.data == rects[0].data)
            break;
        if (r.type == U_EMR_SELECTOBJECT && (r.As<U_EMRSELECTOBJECT>().ihObject & 0x7FFFFFFF) <= 0xF &&
            (r.As<U_EMRSELECTOBJECT>().ihObject & U_STOCK_OBJECT))
            brush = r.As<U_EMRSELECTOBJECT>().ihObject;
    }
    EXPECT_EQ(brush, static_cast<uint32_t>(U_NULL_BRUSH));
    EXPECT_EQ(picture.records[picture.records.size() - 2].data, rects[0].data);  // then only EOF
}

// A long dashed grid far down a strip: a dash costs 12 bytes however far from the origin it
// lies; dashes spread over more than 16 bits fall back to 32-bit points at the same places.
TEST_F(EmfCanvasTest, DashedGridLinesStaySmallAndInPlace)
{
    constexpr int Lines = 200;
    constexpr int DashesPerLine = 250;  // 2000 px in periods of 8
    const auto grid = [](Canvas& c, int top, int step) {
        c.pen.style = PenStyle::Custom;
        c.pen.dash = 4.5;
        c.pen.gap = 3.5;
        for (int i = 0; i < Lines; ++i) {
            c.MoveTo(100, top + step * i);
            c.LineTo(2100, top + step * i);
        }
    };
    const EmfPicture far = Draw([&](Canvas& c) { grid(c, 150000, 19); });
    ASSERT_TRUE(far.complete);
    EXPECT_LT(far.bytes.size(), 12u * Lines * DashesPerLine + 2000u);
    const std::vector<Segment> dashes = SegmentsOf(far);
    ASSERT_EQ(dashes.size(), static_cast<size_t>(Lines * DashesPerLine));
    EXPECT_EQ(dashes[0], (Segment{{100, 150000}, {105, 150000}}));  // 4.5 rounds up
    EXPECT_EQ(dashes[DashesPerLine * Lines - 1], (Segment{{2092, 150000 + 19 * 199}, {2097, 150000 + 19 * 199}}));
    EXPECT_EQ(far.OfType(U_EMR_POLYPOLYLINE).size(), 0u);

    const EmfPicture spread = Draw([&](Canvas& c) { grid(c, 0, 2000); });
    const std::vector<Segment> spreadDashes = SegmentsOf(spread);
    ASSERT_EQ(spreadDashes.size(), static_cast<size_t>(Lines * DashesPerLine));
    EXPECT_EQ(spreadDashes.back(), (Segment{{2092, 2000 * 199}, {2097, 2000 * 199}}));
    EXPECT_FALSE(spread.OfType(U_EMR_POLYPOLYLINE).empty());
}

TEST_F(EmfCanvasTest, ReplacedObjectsAreDeletedSoTheHandleTableStaysSmall)
{
    const EmfPicture picture = Draw([](Canvas& c) {
        for (int i = 0; i < 200; ++i) {
            c.pen.color = static_cast<platform::CanvasColor>(i);
            c.brush.color = static_cast<platform::CanvasColor>(i);
            c.font.size = 8 + i % 7;
            c.Rectangle({i, i, i + 10, i + 10});
            c.TextOut(i, i, "x");
        }
    });
    ASSERT_TRUE(picture.complete);
    EXPECT_LE(picture.Header().nHandles, 8);
    EXPECT_GE(picture.OfType(U_EMR_DELETEOBJECT).size(), 500u);
}

TEST_F(EmfCanvasTest, ClippedTextIsSavedAndItsFontSelectedAgainAfterTheRestore)
{
    const EmfPicture picture = Draw([](Canvas& c) {
        c.font.name = "Times New Roman";
        c.font.bold = true;
        c.brush.color = 0xFFFFFF;
        c.TextRect({10, 10, 30, 25}, 12, 12, "клетка таблицы");
        c.TextOut(100, 100, "после");
    });
    ASSERT_TRUE(picture.complete);
    std::vector<uint32_t> types;
    for (const EmfRecord& r : picture.records)
        types.push_back(r.type);
    const auto save = std::find(types.begin(), types.end(), static_cast<uint32_t>(U_EMR_SAVEDC));
    ASSERT_NE(save, types.end());
    ASSERT_EQ(*(save + 1), static_cast<uint32_t>(U_EMR_INTERSECTCLIPRECT));
    EXPECT_EQ(*(save + 2), static_cast<uint32_t>(U_EMR_EXTTEXTOUTW));
    EXPECT_EQ(*(save + 3), static_cast<uint32_t>(U_EMR_RESTOREDC));
    const U_RECTL clip = picture.records[save + 1 - types.begin()].As<U_EMRINTERSECTCLIPRECT>().rclClip;
    EXPECT_EQ(clip.left, 10);
    EXPECT_EQ(clip.top, 10);
    EXPECT_EQ(clip.right, 30);
    EXPECT_EQ(clip.bottom, 25);
    // The opaque background lies under the text, inside the clip, before the save.
    const auto rect = std::find(types.begin(), save, static_cast<uint32_t>(U_EMR_RECTANGLE));
    ASSERT_NE(rect, save);
    const U_RECTL box = picture.records[rect - types.begin()].As<U_EMRRECTANGLE>().rclBox;
    EXPECT_EQ(box.left, 12);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(box.bottom, 25);

    const uint32_t font = picture.OfType(U_EMR_EXTCREATEFONTINDIRECTW)[0].As<U_EMREXTCREATEFONTINDIRECTW>().ihFont;
    EXPECT_EQ(picture.OfType(U_EMR_EXTCREATEFONTINDIRECTW).size(), 1u);
    const auto second = std::find(save + 4, types.end(), static_cast<uint32_t>(U_EMR_EXTTEXTOUTW));
    ASSERT_NE(second, types.end());
    bool reselected = false;
    for (auto it = save + 4; it != second; ++it)
        reselected = reselected || (*it == U_EMR_SELECTOBJECT &&
                                    picture.records[it - types.begin()].As<U_EMRSELECTOBJECT>().ihObject == font);
    EXPECT_TRUE(reselected);
}

TEST_F(EmfCanvasTest, ScaleShrinksCoordinatesUntilRestored)
{
    const EmfPicture picture = Draw([](Canvas& c) {
        c.Save();
        c.Scale(0.5, 0.5);
        c.MoveTo(0, 0);
        c.LineTo(1000, 1000);
        c.Restore();
        c.MoveTo(0, 0);
        c.LineTo(1000, 1000);
    });
    const std::vector<Segment> lines = SegmentsOf(picture);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (Segment{{0, 0}, {500, 500}}));
    EXPECT_EQ(lines[1], (Segment{{0, 0}, {1000, 1000}}));
}

// One drawing on both canvases gives the same primitives in the same order; a custom-dash
// line comes back as the dashes it expands to.
TEST_F(EmfCanvasTest, SamePrimitivesAsTheRecordingCanvas)
{
    auto drawing = [](Canvas& c) {
        c.MoveTo(0, 0);
        c.LineTo(50, 0);
        c.LineTo(50, 40);
        c.brush.color = 0xFFFFFF;
        c.FillRect({1, 2, 30, 40});
        c.pen.style = PenStyle::Custom;
        c.pen.dash = 4;
        c.pen.gap = 2;
        c.MoveTo(0, 60);
        c.LineTo(0, 71);
        c.pen = {};
        c.brush.color = 0x808080;
        c.Polygon({{0, 0}, {10, 0}, {5, 8}});
        c.Polyline({{1, 1}, {2, 3}, {5, 5}});
        c.Rectangle({3, 4, 5, 6});
        c.brush.style = BrushStyle::Clear;
        c.TextOut(7, 8, "Ab");
    };
    platform::RecordingCanvas recording;
    drawing(recording);
    const EmfPicture picture = Draw(drawing);

    std::vector<Primitive> expected;
    for (const platform::CanvasOp& op : recording.Ops()) {
        std::vector<CanvasPoint> points = op.points;
        if (op.kind == CanvasOpKind::Rectangle || op.kind == CanvasOpKind::FillRect)
            points = {{op.rect.left, op.rect.top}, {op.rect.right, op.rect.bottom}};
        if (op.kind == CanvasOpKind::Text)
            points = {op.at};
        if (op.kind == CanvasOpKind::Line && op.pen.style == PenStyle::Custom) {
            // 11 pixels: dash 4, gap 2, dash 4, and a last pixel of gap.
            for (const int y : {60, 66})
                expected.push_back({CanvasOpKind::Line, {{0, y}, {0, y + 4}}});
            continue;
        }
        expected.push_back({op.kind, points});
    }

    const std::vector<Primitive> actual = PrimitivesOf(picture);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].first, expected[i].first) << i;
        EXPECT_EQ(actual[i].second, expected[i].second) << i;
    }
}

TEST_F(EmfCanvasTest, FailedWritesAreReportedAndLeaveNoFile)
{
    const std::string missing = dir.file("no/such/folder/out.emf");
    {
        EmfCanvas canvas(missing, Screen, Frame);
        canvas.MoveTo(0, 0);
        canvas.LineTo(10, 10);
        canvas.brush = {0x00FF00, platform::BrushStyle::Solid};
        canvas.FillRect({0, 0, 5, 5});
        canvas.TextOut(0, 0, "abc");  // nothing to select the font into
        EXPECT_FALSE(canvas.Finish());
        EXPECT_FALSE(canvas.Error().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A picture never finished leaves neither the target nor a temporary file.
    strativ::test::WriteFileBytes(path, "old picture");
    {
        EmfCanvas canvas(path, Screen, Frame);
        canvas.TextOut(0, 0, "abc");
    }
    EXPECT_EQ(strativ::test::ReadFileBytes(path), "old picture");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    if (geteuid() == 0)
        return;  // permissions do not bind root
    const std::string locked = dir.file("locked");
    std::filesystem::create_directory(locked);
    chmod(locked.c_str(), 0500);
    {
        EmfCanvas canvas(locked + "/out.emf", Screen, Frame);
        EXPECT_FALSE(canvas.Finish());
    }
    EXPECT_TRUE(std::filesystem::is_empty(locked));
    chmod(locked.c_str(), 0700);
}

// The mark block's "MS Sans Serif" is measured as the face "Arial" resolves to.
TEST_F(EmfCanvasTest, MsSansSerifIsMeasuredAsArial)
{
    platform::InstallFontSubstitutes();
    EmfCanvas canvas(path, Screen, Frame);
    canvas.font.name = "Arial";
    const int arial = canvas.TextWidth("Глубина контрольной метки: 1490.00");
    canvas.font.name = "MS Sans Serif";
    EXPECT_EQ(canvas.TextWidth("Глубина контрольной метки: 1490.00"), arial);
}

}  // namespace
