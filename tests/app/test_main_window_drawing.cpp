// What the main window draws and where: the value strip's captions, the extreme track scales,
// the curve's scale bar, the depth overview's labels, the status bar and the window's placement.
#include "AppTestSupport.h"

#include "app/DepthOverview.h"
#include "app/StrativApplication.h"
#include "core/Lasfile.h"
#include "platform/NumberText.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QDoubleSpinBox>
#include <QRegularExpression>
#include <QTranslator>
#include <climits>
#include <map>

namespace strativ::test {
namespace {

using DrawingTest = MainWindowTest;

TEST_F(DrawingTest, EveryVisibleCurveGetsACaptionThatNeverCoversItsNumbers)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("six.las"), 6, 50)));
    Panel().GetCurve(2)->SetVisible(false);
    Panel().GetCurve(2)->SetVisible(true);
    for (const double trackPixels : {400.0, 160.0, 90.0, 45.0, 24.0}) {
        for (int i = 0; i < 6; ++i) {
            TCurve& curve = *Panel().GetCurve(i);
            curve.SetPixelsPerUnit(trackPixels / (curve.Maximum() - curve.Minimum()));
            curve.SetXOffset(i * int(trackPixels + 10) + Panel().XAxisInfo.Offset());
        }
        Panel().Repaint();
        const auto entries = Panel().ValueStripLayout().entries;
        // Every curve with its track in view, and only those.
        const PanelCoordinates c = Panel().Coordinates();
        std::size_t inView = 0;
        for (int i = 0; i < 6; ++i) {
            const TCurve& curve = *Panel().GetCurve(i);
            inView += curve.ColumnOf(curve.Maximum(), c) >= c.area.left() && curve.ColumnOf(curve.Minimum(), c) <= c.area.right();
        }
        ASSERT_GE(inView, 2u) << trackPixels;
        ASSERT_EQ(entries.size(), inView) << trackPixels;
        const int stripBottom = Panel().DrawingArea().top();
        for (const auto& e : entries) {
            const QString name = "C" + QString::number(e.curve + 1);
            ASSERT_FALSE(e.caption.isNull()) << trackPixels << " " << e.curve;
            EXPECT_FALSE(e.caption.intersects(e.minimum)) << trackPixels << " " << e.curve;
            EXPECT_FALSE(e.caption.intersects(e.maximum)) << trackPixels << " " << e.curve;
            EXPECT_FALSE(e.minimum.intersects(e.maximum)) << trackPixels << " " << e.curve;
            EXPECT_LT(e.lineY, stripBottom);
            // The caption is really drawn: ink in its box of the panel's image (for a track in view).
            if (e.right > Panel().DrawingArea().right())
                continue;
            bool drawn = false;
            for (int y = e.caption.top(); y <= e.caption.bottom() && !drawn; ++y)
                for (int x = e.caption.left(); x <= e.caption.right() && !drawn; ++x)
                    drawn = Panel().Bitmap().pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_TRUE(drawn) << name.toStdString() << " at " << trackPixels;
        }
    }
    // Fewer curves (all six were in view), a lower strip: the drawing area takes the room back.
    const int sixTop = Panel().DrawingArea().top();
    for (int i = 1; i < 6; ++i)
        Panel().GetCurve(i)->SetVisible(false);
    Panel().Repaint();
    EXPECT_LT(Panel().DrawingArea().top(), sixTop);
}

// Sixteen logged curves as a real file has them: a constant one (CONST) and one of NULLs only
// (EMPTY) among curves of various ranges, signs and name lengths.
std::string WriteSixteenCurveLas(const std::string& path)
{
    const char* names[] = {"GR", "SP", "CALI", "RHOB", "NPHI", "DT", "ILD", "ILM",
                           "SFLU", "PEF", "CONST", "EMPTY", "TEMP", "RES", "BS", "DRHO"};
    std::ofstream out(path, std::ios::binary);
    out << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 1000 :\n STOP.M 1049 :\n STEP.M 1 :\n NULL. -999.25 :\n"
        << "~C\n DEPT.M :\n";
    for (const char* name : names)
        out << ' ' << name << ".U :\n";
    out << "~A\n";
    for (int r = 0; r < 50; ++r) {
        out << 1000 + r;
        for (int c = 0; c < 16; ++c)
            out << ' ' << (c == 10 ? 2.65 : c == 11 ? -999.25 : c * 37.5 - 120 + (r % 9) * (c + 1) * 3.7);
        out << '\n';
    }
    return path;
}

TEST_F(DrawingTest, SixteenCurvesShowEveryNameAndBothNumbersInFullWithoutOverlap)
{
    ASSERT_TRUE(Open(WriteSixteenCurveLas(dir.file("sixteen.las"))));
    const auto inkIn = [&](const QRect& box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (Panel().Bitmap().pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    // The starting size and maximised on a 1920 x 1080 screen; the tracks lie side by side.
    for (const QSize size : {QSize(1000, 700), QSize(1920, 1040)}) {
        window->resize(size);
        QApplication::processEvents();
        Panel().Repaint();
        const QRect area = Panel().DrawingArea();
        const PanelCoordinates c = Panel().Coordinates();
        const auto strip = Panel().ValueStripLayout();
        std::vector<int> inView;
        for (int i = 0; i < 16; ++i) {
            const TCurve& curve = *Panel().GetCurve(i);
            if (curve.ColumnOf(curve.Maximum(), c) >= area.left() && curve.ColumnOf(curve.Minimum(), c) <= area.right())
                inView.push_back(i);
        }
        ASSERT_GE(inView.size(), 7u) << size.width();
        std::vector<int> shown;
        std::map<int, std::vector<QRect>> rows;
        for (const auto& e : strip.entries) {
            const TCurve& curve = *Panel().GetCurve(e.curve);
            const std::string where = std::to_string(size.width()) + " " + e.captionText.toStdString();
            shown.push_back(e.curve);
            // EMPTY holds NULLs only: no numbers that would read as a curve of zeros.
            const QString name = QString::fromLatin1(Document().GetCurveName(e.curve + 1).c_str());
            const bool noValues = e.curve == 11;
            EXPECT_EQ(e.captionText, noValues ? name + " (нет значений)" : name) << where;
            // Minimum and maximum with the curve's decimals, as the file holds them.
            const auto value = [&](float v) { return platform::CurveValueText(Document(), e.curve + 1, v); };
            EXPECT_EQ(e.minimumText, noValues ? QString() : value(curve.Minimum())) << where;
            EXPECT_EQ(e.maximumText, noValues ? QString() : value(curve.Maximum())) << where;
            EXPECT_LT(e.lineY, area.top() - 1) << where;  // above the border
            for (const auto& [box, text] :
                 {std::pair{e.minimum, e.minimumText}, {e.caption, e.captionText}, {e.maximum, e.maximumText}}) {
                if (text.isEmpty())
                    continue;
                EXPECT_EQ(box.width(), Panel().fontMetrics().horizontalAdvance(text)) << where;
                EXPECT_TRUE(area.left() <= box.left() && box.right() <= area.right()) << where;
                EXPECT_TRUE(inkIn(box)) << where;
                for (const QRect& other : rows[e.lineY])
                    EXPECT_FALSE(box.intersects(other)) << where;
                rows[e.lineY].push_back(box);
            }
        }
        EXPECT_EQ(shown, inView) << size.width();
        EXPECT_LE(rows.size(), 2u) << size.width();
        EXPECT_TRUE(strip.more.isNull());
    }

    // Sixteen tracks over one another in a low window: the rows that fit, then an ellipsis.
    for (int i = 0; i < 16; ++i)
        Panel().GetCurve(i)->SetXOffset(Panel().GetCurve(0)->XOffset());
    Panel().XAxisInfo.SetOffset(Panel().GetCurve(0)->XOffset() - 300);
    window->resize(1000, 450);
    QApplication::processEvents();
    Panel().Repaint();
    const auto strip = Panel().ValueStripLayout();
    ASSERT_FALSE(strip.more.isNull());
    EXPECT_LT(strip.entries.size(), 16u);
    EXPECT_GE(strip.entries.size(), 3u);
    EXPECT_LT(strip.entries.back().lineY, strip.more.top());
    EXPECT_LT(strip.more.bottom(), Panel().DrawingArea().top() - 1);
    EXPECT_TRUE(inkIn(strip.more));
}

// A curve running from 0 to 98000 (the widest tracks overflow first).
std::string WriteWideRangeLas(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 10 :\n STOP.M 59 :\n STEP.M 1 :\n NULL. -999.25 :\n"
        << "~C\n DEPT.M :\n GR.API :\n~A\n";
    for (int r = 0; r < 50; ++r)
        out << 10 + r << ' ' << r * 2000 << '\n';
    return path;
}

TEST_F(DrawingTest, TrackScalesAndOffsetsStopWherePixelsStillFitAnInt)
{
    ASSERT_TRUE(Open(WriteWideRangeLas(dir.file("wide.las"))));
    TCurve& curve = *Panel().GetCurve(0);
    Ui::TFormMain& f = window->Form();
    window->ShowCurveCoords(0);
    f.SpinCoordsScale->setValue(f.SpinCoordsScale->minimum());
    EXPECT_LE(curve.PixelsPerUnit() * 98000, TCurve::kMaxTrackPixels * 1.000001);
    EXPECT_NEAR(f.SpinCoordsScale->value(), Panel().YAxisInfo.PixelsPerCm() / curve.PixelsPerUnit(), 1e-3);
    window->HideCurveCoords();

    // Holding the track-width buttons long, both ways (each press is one step).
    const QPoint at = Panel().DrawingArea().center();
    for (QAction* button : {f.TBZoomIn, f.TBZoomOut}) {
        button->setChecked(true);
        window->TBPencilClick();
        for (int i = 0; i < 300; ++i) {
            QTest::mouseMove(&Panel(), at);
            if (Panel().GetCurrentCurve() != 1)  // the press needs the curve under the mouse
                Panel().GetCurve(0)->SetXOffset(Panel().GetCurve(0)->XOffset() + at.x() -
                                                int(std::lround(curve.ColumnOf(curve.ValueAt(at.x(), Panel().Coordinates()), Panel().Coordinates()))));
            QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
        }
        button->setChecked(false);
        Panel().Repaint();
    }
    EXPECT_GE(curve.PixelsPerUnit() * 98000, TCurve::kMinTrackPixels * 0.999999);

    // Offsets at the ends of the int range are held to the panel's limits.
    Panel().XAxisInfo.SetOffset(INT_MAX);
    curve.SetXOffset(INT_MIN);
    Panel().Repaint();
    EXPECT_EQ(Panel().XAxisInfo.Offset(), kMaxPixelOffset);
    EXPECT_EQ(curve.XOffset(), -kMaxPixelOffset);
    curve.SetPixelsPerUnit(1e300);
    Panel().Repaint();
    EXPECT_LE(curve.PixelsPerUnit() * 98000, TCurve::kMaxTrackPixels * 1.000001);
}

TEST_F(DrawingTest, TheCurveScaleBarOpensBelowTheCurves)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("bar.las"), 2, 50)));
    const int before = Panel().height();
    window->ShowCurveCoords(0);
    QApplication::processEvents();
    const QWidget& bar = *window->Form().PanelCurveCoords;
    ASSERT_TRUE(bar.isVisible());
    EXPECT_GE(bar.y(), Panel().geometry().bottom());
    EXPECT_GE(Panel().height(), before - bar.height() - 2);
    EXPECT_LT(bar.height(), before / 4);
}

TEST_F(DrawingTest, OverviewLabelsStandApartFromTheirTicks)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("deep.las"), 1, 2001, 3000.0, 0.5)));
    TDepthOverview& overview = *window->PBoxAllDepth;
    const QImage image = overview.grab().toImage();
    const QRgb base = overview.palette().color(QPalette::Base).rgb();
    int ticks = 0;
    for (int y = 0; y < image.height(); ++y) {
        const bool red = qRed(image.pixel(20, y)) > 200 && qGreen(image.pixel(20, y)) < 80;
        if (red)
            continue;  // the frame of the visible window
        ticks += image.pixel(0, y) != base && image.pixel(3, y) != base ? 1 : 0;
        for (int x = 4; x <= 5; ++x)
            EXPECT_EQ(image.pixel(x, y), base) << x << "," << y;
    }
    EXPECT_GE(ticks, 3);
}

// Every label is drawn whole: the overview is as wide as its widest label needs, at the default
// window size and a narrow one, for a short file with fine labels and a deep one.
TEST_F(DrawingTest, OverviewLabelsAreWhollyReadable)
{
    STRATIV_REQUIRE_CORPUS();
    const std::string shortFile = CorpusDir() + "/2.0/sample_2.0.las";  // 1669.75 .. 1670.00
    const std::string deepFile = WriteTestLas(dir.file("deep.las"), 1, 2501, 1000.0, 1.0);
    const QSize normal = window->size();
    for (const std::string& file : {shortFile, deepFile}) {
        ASSERT_TRUE(Open(file));
        for (const QSize size : {normal, QSize(480, 300)}) {
            SCOPED_TRACE(file + " " + std::to_string(size.width()));
            window->resize(size);
            QApplication::processEvents();
            TDepthOverview& overview = *window->PBoxAllDepth;
            const auto labels = overview.Labels();
            ASSERT_GE(labels.size(), 2u);
            const QFontMetrics metrics = overview.fontMetrics();
            QStringList texts;
            for (const auto& label : labels) {
                EXPECT_LE(overview.LabelLeft() + metrics.horizontalAdvance(label.text), overview.width() - 4)
                    << label.text.toStdString();
                EXPECT_FALSE(texts.contains(label.text)) << label.text.toStdString();
                texts << label.text;
            }
            // No ink of a label at the right edge, where a cut label would end.
            const QImage image = overview.grab().toImage();
            const QRgb base = overview.palette().color(QPalette::Base).rgb();
            const int h = metrics.height();
            for (const auto& label : labels)
                for (int y = std::max(0, label.row - h / 2); y < std::min(image.height(), label.row + h / 2); ++y)
                    for (int x = image.width() - 2; x < image.width(); ++x) {
                        const QRgb pixel = image.pixel(x, y);
                        if (qRed(pixel) < 200 || qGreen(pixel) > 80) {  // not the red frame
                            EXPECT_EQ(pixel, base) << x << "," << y;
                        }
                    }
        }
        // The short file's labels tell hundredths apart.
        if (file == shortFile) {
            for (const auto& label : window->PBoxAllDepth->Labels()) {
                EXPECT_TRUE(QRegularExpression("^16(69|70)[.,]\\d\\d$").match(label.text).hasMatch())
                    << label.text.toStdString();
            }
        }
    }
}

TEST_F(DrawingTest, StatusBarShowsStepAndDepthsWithTheDocumentsDecimals)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("fine.las"), 1, 41, 10.0, 0.025)));
    EXPECT_EQ(window->StatusText(3), "Шаг: 0.025");
    EXPECT_EQ(window->StatusText(2), "Глубины: 10.000 - 11.000 M");
}

TEST_F(DrawingTest, TheWindowReopensExactlyWhereItWasClosed)
{
    const ScreenAreaReplaced screen(QRect(0, 0, 1600, 1000));  // where the placement fits
    const QRect placed(140, 160, 820, 610);
    window->setGeometry(placed);
    const QRect shown = window->geometry();
    ASSERT_TRUE(window->close());
    for (int start = 0; start < 3; ++start) {
        window.reset();
        window = std::make_unique<TFormMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_EQ(window->geometry(), shown) << start;
        ASSERT_TRUE(window->close());
    }
}

TEST(QtTranslations, StandardDialogsSpeakRussian)
{
    QTranslator* translator = InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Перейти к:");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
}  // namespace strativ::test
