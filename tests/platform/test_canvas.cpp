// The QPainter canvas: what it leaves on an image for traces, dash patterns, text
// backgrounds, saved state and scaling.
#include "platform/PainterCanvas.h"
#include "platform/RecordingCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using platform::BrushStyle;
using platform::PainterCanvas;
using platform::PenStyle;

constexpr QRgb White = 0xFFFFFFFF;

// A white 200 × 120 image at 254 dpi (100 pixels per cm).
struct Sheet {
    QImage image{200, 120, QImage::Format_RGB32};
    Sheet() { image.fill(Qt::white); }
    QRgb At(int x, int y) const { return image.pixel(x, y); }
    // Runs of non-white pixels along a row.
    int RunsOnRow(int y) const
    {
        int runs = 0;
        bool inside = false;
        for (int x = 0; x < image.width(); ++x) {
            const bool ink = At(x, y) != White;
            runs += ink && !inside;
            inside = ink;
        }
        return runs;
    }
};

TEST(PainterCanvas, PendingTracesKeepTheirPensBreaksAndScale)
{
    Sheet sheet;
    {
        QPainter painter(&sheet.image);
        PainterCanvas canvas(painter, 254, 254);
        canvas.pen.color = 0x0000FF;  // red
        canvas.MoveTo(10, 10);
        canvas.LineTo(60, 10);
        canvas.LineTo(60, 40);
        canvas.pen.color = 0xFF0000;  // blue from here on
        canvas.LineTo(110, 40);
        canvas.MoveTo(10, 80);  // a new piece, nothing drawn in between
        canvas.LineTo(110, 80);
        canvas.Save();
        canvas.pen.color = 0x00FF00;
        canvas.pen.width = 5;
        canvas.Scale(0.5, 0.5);
        canvas.MoveTo(300, 200);
        canvas.LineTo(380, 200);  // at y 100
        canvas.Restore();
        EXPECT_EQ(canvas.pen, (platform::CanvasPen{0xFF0000}));
        canvas.MoveTo(150, 110);
        canvas.LineTo(199, 110);
    }  // the destructor draws what is pending
    EXPECT_EQ(sheet.At(30, 10), qRgb(255, 0, 0));
    EXPECT_EQ(sheet.At(60, 25), qRgb(255, 0, 0));
    EXPECT_EQ(sheet.At(90, 40), qRgb(0, 0, 255));
    EXPECT_EQ(sheet.At(50, 80), qRgb(0, 0, 255));
    EXPECT_EQ(sheet.At(110, 60), White);
    EXPECT_EQ(sheet.At(10, 50), White);
    EXPECT_EQ(sheet.At(170, 100), qRgb(0, 255, 0));
    EXPECT_EQ(sheet.At(170, 110), qRgb(0, 0, 255));
    EXPECT_EQ(sheet.At(170, 55), White);
}

TEST(PainterCanvas, CustomPatternDrawsWholeDashesThenTheRest)
{
    Sheet sheet;
    {
        QPainter painter(&sheet.image);
        PainterCanvas canvas(painter, 254, 254);
        canvas.pen.style = PenStyle::Custom;
        canvas.pen.dash = 5.0;
        canvas.pen.gap = 5.0;
        canvas.MoveTo(0, 20);
        canvas.LineTo(100, 20);  // ten periods
        canvas.MoveTo(0, 60);
        canvas.LineTo(92, 60);  // nine periods and a 2-pixel dash
        canvas.MoveTo(100, 60);
        canvas.LineTo(150, 60);  // a line of its own starts with a dash again
    }
    EXPECT_EQ(sheet.RunsOnRow(20), 10);
    EXPECT_EQ(sheet.RunsOnRow(60), 15);
    EXPECT_NE(sheet.At(100, 60), White);
}

TEST(PainterCanvas, SolidBrushGivesTextAnOpaqueBackground)
{
    for (const BrushStyle style : {BrushStyle::Solid, BrushStyle::Clear}) {
        Sheet sheet;
        sheet.image.fill(Qt::black);
        QPainter painter(&sheet.image);
        PainterCanvas canvas(painter, 96, 96);
        canvas.brush = {0xFFFFFF, style};
        canvas.font.color = 0xFFFFFF;
        canvas.TextOut(20, 20, "Ж");
        const int w = canvas.TextWidth("Ж");
        const int h = canvas.TextHeight("Ж");
        painter.end();
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        // The corner of the text box holds no glyph: only the background paints it.
        EXPECT_EQ(sheet.At(20, 20) == White, style == BrushStyle::Solid);
        EXPECT_EQ(sheet.At(20 + w + 2, 20), qRgb(0, 0, 0));
    }
}

TEST(PainterCanvas, FontHeightFollowsTheVerticalResolution)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    PainterCanvas screen(painter, 96, 96);
    PainterCanvas printer(painter, 96, 600);  // the image's own resolution is not the printer's
    screen.font.size = printer.font.size = 12.0;
    EXPECT_NEAR(printer.TextHeight("0"), screen.TextHeight("0") * 6.25, screen.TextHeight("0"));

    platform::RecordingCanvas recording(96, 96);
    recording.font.size = 9.0;
    EXPECT_EQ(recording.TextWidth("Жж0"), 18);  // characters, not bytes
}

}  // namespace
