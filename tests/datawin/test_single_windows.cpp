// The list of single-curve windows without a main window: docking by real moves, scrolling and
// selecting together, the shared undo store through the callbacks, and the statistics texts.
#include "core/Lasfile.h"
#include "core/data_dump_restore.h"
#include "datawin/SingleCurve.h"
#include "datawin/SingleCurveValues.h"
#include "datawin/SynchSingleWindows.h"
#include "editing/IntervalManager.h"
#include "core/MathExpression.h"
#include "platform/Help.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "ui_SingleCurve.h"
#include "view/PanelWithCurves.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace strativ::test {
namespace {

constexpr float kNull = -999.25f;

std::string LasText(int rows)
{
    std::ostringstream out;
    out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 1000 :\r\n STOP.M " << 1000 + (rows - 1) * 0.5
        << " :\r\n STEP.M 0.5 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n GR.API :\r\n SP.MV :\r\n~A\r\n";
    for (int r = 0; r < rows; ++r)
        out << 1000 + r * 0.5 << ' ' << (r % 10 == 3 ? -999.25 : 20.0 + r % 13) << ' ' << -r << "\r\n";
    return out.str();
}

struct Notices {
    int undoState = 0;
    int undo = 0;
    int redo = 0;
    int intervals = 0;
};

class SingleWindowListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetDecimalSeparator(QChar('.'));
        WriteFileBytes(dir.file("a.las"), LasText(400));
        document = std::make_unique<TLASFile>(dir.file("a.las"), 2);
        ASSERT_EQ(document->GetCurvesCount(), 3);
        store.SetLasFile(document.get());
        intervals.SetTopBottom(document->GetTopDepth(), document->GetBottomDepth());
        list = std::make_unique<TSynchSingleWindows>(&store, &intervals);
        list->CallbackContext = &notices;
        list->OnUndoStateChanged = [](void* c) { ++static_cast<Notices*>(c)->undoState; };
        list->OnUndo = [](void* c) { ++static_cast<Notices*>(c)->undo; };
        list->OnRedo = [](void* c) { ++static_cast<Notices*>(c)->redo; };
        list->OnIntervalsChanged = [](void* c) { ++static_cast<Notices*>(c)->intervals; };
        list->SetLasFile(document.get());
    }

    void TearDown() override
    {
        list.reset();
        store.SetLasFile(nullptr);
        platform::SetDecimalSeparator(QChar());
    }

    TFormSingleCurve& Open(int curve)
    {
        const int count = list->OpenWindow(curve, 0xFF0000, 200);
        EXPECT_GT(count, 0);
        TFormSingleCurve& window = *list->Window(count - 1);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return window;
    }

    static void Activate(TFormSingleCurve& window)
    {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Two windows docked by moving the first next to the second, which it pulls to its right
    // edge (the offscreen desktop is 800 pixels wide: the moved window must keep clear of its edge).
    std::pair<TFormSingleCurve*, TFormSingleCurve*> DockedPair()
    {
        TFormSingleCurve& left = Open(1);
        TFormSingleCurve& right = Open(2);
        for (TFormSingleCurve* window : {&left, &right})
            window->resize(window->minimumSize());
        right.move(400, 10);
        Activate(left);
        left.move(12, 19);
        QTest::qWait(20);
        return {&left, &right};
    }

    TempDir dir;
    std::unique_ptr<TLASFile> document;
    DumpRestoreCurveData store;
    IntervalManager intervals;
    Notices notices;
    std::unique_ptr<TSynchSingleWindows> list;
    platform::RecordingDialogRunner runner;
};

TEST_F(SingleWindowListTest, AWindowMovedNearAnotherDocksAndThePairScrollsAndSelectsTogether)
{
    auto [left, right] = DockedPair();
    EXPECT_EQ(right->frameGeometry().topLeft(), QPoint(left->frameGeometry().right() + 1, left->frameGeometry().top()));
    EXPECT_EQ(list->Pair().first, 0);
    EXPECT_EQ(list->Pair().second, 1);

    // The active window's scroll offset and selected range reach its partner, not the other way.
    Activate(*right);
    right->PanelMain->YAxisInfo.SetOffset(120);
    EXPECT_EQ(left->PanelMain->YAxisInfo.Offset(), 120);
    right->PanelMain->Interval.SetRange(30, 12);
    EXPECT_EQ(left->PanelMain->Interval.First(), 12);
    EXPECT_EQ(left->PanelMain->Interval.Last(), 30);
    left->PanelMain->YAxisInfo.SetOffset(40);
    EXPECT_EQ(right->PanelMain->YAxisInfo.Offset(), 120);

    // Dragging the first carries the second.
    Activate(*left);
    left->move(30, 40);
    QTest::qWait(20);
    EXPECT_EQ(right->frameGeometry().topLeft(), QPoint(left->frameGeometry().right() + 1, left->frameGeometry().top()));

    // Minimising a member dissolves the pair.
    right->showMinimized();
    QTest::qWait(20);
    EXPECT_EQ(list->Pair().first, -1);
}

TEST_F(SingleWindowListTest, EveryListChangeDissolvesThePair)
{
    auto [left, right] = DockedPair();
    ASSERT_EQ(list->Pair().second, 1);
    TFormSingleCurve& third = Open(1);
    EXPECT_EQ(list->Pair().second, 1);  // opening into a list that has windows keeps the pair
    QPointer<TFormSingleCurve> closed = &third;
    third.close();
    EXPECT_EQ(list->Pair().first, -1);
    EXPECT_EQ(list->Count(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());

    // A scroll with no pair reaches nobody.
    Activate(*right);
    right->PanelMain->YAxisInfo.SetOffset(77);
    EXPECT_NE(left->PanelMain->YAxisInfo.Offset(), 77);

    // A window of the list left open while the list goes is freed with it.
    QPointer<TFormSingleCurve> kept = left;
    list.reset();
    EXPECT_TRUE(kept.isNull());
}

TEST_F(SingleWindowListTest, EditsAreStepsOfTheSharedStoreAndUndoAsksTheOwner)
{
    TFormSingleCurve& first = Open(1);
    TFormSingleCurve& second = Open(1);
    EXPECT_EQ(list->OpenWindow(0, 0, 200), -1);
    EXPECT_EQ(list->OpenWindow(3, 0, 200), -1);

    // The pencil: a snapshot on every press, the line written under the mouse.
    first.Form().TBPencil->trigger();
    EXPECT_FALSE(first.PanelMain->CrossMouse);
    const PanelCoordinates c = first.PanelMain->Coordinates();
    const int row = c.IndexAt(c.area.center().y());
    int onCurve = row;
    while (first.Curve()->IsNull(first.Curve()->Values()[onCurve]))
        ++onCurve;
    const TCurve& curve = *first.Curve();
    const QPoint at(int(std::lround(curve.ColumnOf(curve.Values()[onCurve], c))), c.RowOf(c.depths[onCurve]));
    const QPoint to = at + QPoint(40, 30);
    QTest::mouseMove(first.PanelMain, at);
    QTest::mousePress(first.PanelMain, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, to, first.PanelMain->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(first.PanelMain, &move);
    QTest::mouseRelease(first.PanelMain, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_TRUE(store.CanUndo());
    EXPECT_EQ(store.GetUndoName(), "Карандаш");
    EXPECT_GT(document->GetCurveData(1)[c.IndexAt(to.y())], document->GetCurveData(1)[onCurve] - 0.001f);
    EXPECT_EQ(notices.undoState, 1);
    EXPECT_EQ(second.Form().TBUndo->toolTip(), "Отменить Карандаш");

    // Undo and redo go to the owner of the store.
    second.Form().TBUndo->trigger();
    first.Form().TBRedo->setEnabled(true);
    first.Form().TBRedo->trigger();
    EXPECT_EQ(notices.undo, 1);
    EXPECT_EQ(notices.redo, 1);

    // A window without its list takes no snapshot.
    TFormSingleCurve alone;
    alone.SetLasFile(document.get());
    alone.Init(1, 0, 200);
    alone.TakeSnapshot("x");
    EXPECT_EQ(store.GetUndoName(), "Карандаш");
}

TEST_F(SingleWindowListTest, ScalesAndZoomKeepTheirEditsInStep)
{
    TFormSingleCurve& window = Open(1);
    TCurve& curve = *window.Curve();
    const double ppcm = window.PixelsPerCm();
    EXPECT_EQ(std::fmod(ppcm, 10.0), 0.0);
    EXPECT_DOUBLE_EQ(window.Form().EdHorScale->value(), std::round(ppcm / curve.PixelsPerUnit() * 1e4) / 1e4);
    EXPECT_EQ(curve.XOffset(), int(curve.Minimum() * curve.PixelsPerUnit()));
    EXPECT_EQ(window.PanelMain->XAxisInfo.Offset(), curve.XOffset());

    const double before = curve.PixelsPerUnit();
    window.Form().TBZoomIn->trigger();
    EXPECT_DOUBLE_EQ(curve.PixelsPerUnit(), before * 1.2);
    window.Form().TBZoomOut->trigger();
    EXPECT_NEAR(curve.PixelsPerUnit(), before, 1e-9);

    window.Form().EdHorScale->SetValue(2.0);
    EXPECT_DOUBLE_EQ(curve.PixelsPerUnit(), ppcm / 2.0);
    window.Form().EdVertScale->SetValue(500);
    EXPECT_EQ(window.PanelMain->YAxisInfo.ScaleFactorValue(), 500);

    // A zoom rectangle narrower than 5 pixels changes nothing; a wide one over the curve scales it.
    window.Form().TBZoomSquare->trigger();
    EXPECT_FALSE(window.PanelMain->CrossMouse);
    const QRect area = window.PanelMain->DrawingArea();
    QTest::mousePress(window.PanelMain, Qt::LeftButton, Qt::NoModifier, area.topLeft() + QPoint(10, 10));
    QTest::mouseRelease(window.PanelMain, Qt::LeftButton, Qt::NoModifier, area.topLeft() + QPoint(13, 200));
    EXPECT_DOUBLE_EQ(curve.PixelsPerUnit(), ppcm / 2.0);
    EXPECT_FALSE(window.Form().TBZoomSquare->isChecked());
    window.Form().TBZoomSquare->trigger();
    QTest::mousePress(window.PanelMain, Qt::LeftButton, Qt::NoModifier, area.topLeft() + QPoint(0, 2));
    QTest::mouseRelease(window.PanelMain, Qt::LeftButton, Qt::NoModifier,
                        area.topLeft() + QPoint(area.width() / 2, area.height() - 2));
    EXPECT_NEAR(curve.PixelsPerUnit(), ppcm / 2.0 * area.width() / (area.width() / 2 + 1), 1e-6);
    EXPECT_NEAR(window.Form().EdHorScale->Value(), ppcm / curve.PixelsPerUnit(), 1e-9);
    EXPECT_TRUE(window.PanelMain->CrossMouse);
    // A zoom button puts the pencil up, and the cross-hair comes back.
    window.Form().TBPencil->trigger();
    EXPECT_FALSE(window.PanelMain->CrossMouse);
    window.Form().TBZoomIn->trigger();
    EXPECT_FALSE(window.Form().TBPencil->isChecked());
    EXPECT_TRUE(window.PanelMain->CrossMouse);
}

TEST_F(SingleWindowListTest, TheLayoutShowsEveryControlAtTheLeastSize)
{
    TFormSingleCurve& window = Open(1);
    // At the start the panel takes what the tool rows and the scale edits leave.
    EXPECT_EQ(window.size(), QSize(405, 536));
    EXPECT_GT(window.PanelMain->height(), 400);
    window.resize(window.minimumSize());
    QTest::qWait(20);
    for (QToolBar* row : {window.ToolBarRow1, window.ToolBarRow2})
        for (QAction* action : row->actions()) {
            const QWidget* button = row->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isVisible()) << action->objectName().toStdString();
        }
    for (const QLabel* label : {window.Form().LabelVertScale, window.Form().LabelHorScale})
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
}

TEST_F(SingleWindowListTest, ScaleListKeysWheelAndHelp)
{
    TFormSingleCurve& window = Open(1);
    Activate(window);
    // The keys of a new window go to the view, which leaves them to the window, not to a scale edit.
    EXPECT_EQ(QApplication::focusWidget(), window.PanelMain);
    Ui::TFormSingleCurve& f = window.Form();
    // The list opens on the entry at or above the current scale, the last one above all.
    for (const auto& [scale, entry] : {std::pair{150.0, QString("200")}, std::pair{20000.0, QString("10000")},
                                       std::pair{10.0, QString("10")}}) {
        f.EdVertScale->SetValue(scale);
        QTest::mousePress(f.EdVertScale, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        EXPECT_TRUE(f.ComboBoxDeptScale->isVisible());
        EXPECT_EQ(f.ComboBoxDeptScale->currentText(), entry);
        EXPECT_EQ(f.ComboBoxDeptScale->geometry(), f.EdVertScale->geometry());
        f.ComboBoxDeptScale->hidePopup();
    }
    emit f.ComboBoxDeptScale->activated(5);
    EXPECT_FALSE(f.ComboBoxDeptScale->isVisible());
    EXPECT_EQ(f.EdVertScale->value(), 500);
    EXPECT_EQ(window.PanelMain->YAxisInfo.ScaleFactorValue(), 500);

    // A held arrow key repeats until released.
    TAxis& depth = window.PanelMain->YAxisInfo;
    depth.SetOffset(0);
    QTest::keyPress(&window, Qt::Key_Down);
    QTRY_VERIFY(depth.Offset() >= 45);
    QTest::keyRelease(&window, Qt::Key_Down);
    const int stopped = depth.Offset();
    QTest::qWait(40);
    EXPECT_EQ(depth.Offset(), stopped);
    EXPECT_EQ(stopped % 15, 0);

    // The wheel and End move the scroll bar and the view with it.
    QScrollBar& bar = *f.ScrollBarDepth;
    QWheelEvent down(QPointF(50, 50), window.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    for (int step = 1; step <= 3; ++step) {
        QApplication::sendEvent(&window, &down);
        EXPECT_EQ(bar.value(), step);
    }
    // A click in the overview moves the bar to the height of the click.
    QWidget& box = *f.PBoxAllDepth;
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, box.height() / 2));
    EXPECT_NEAR(bar.value(), 25, 1);
    EXPECT_NEAR(window.PanelMain->GetDepthValue(window.PanelMain->DrawingArea().center().y()), 1100.0, 1.0);
    QTest::keyPress(&window, Qt::Key_End);
    QTRY_COMPARE(bar.value(), bar.maximum());
    QTest::keyRelease(&window, Qt::Key_End);
    EXPECT_EQ(depth.Offset(), depth.MaxOffset());

    // F1 and the help button open topic 23.
    std::vector<int> topics;
    platform::SetHelpHandler([&](int topic) { topics.push_back(topic); });
    QTest::keyClick(&window, Qt::Key_F1);
    f.TBHelp->trigger();
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(topics, (std::vector<int>{23, 23}));
}

TEST_F(SingleWindowListTest, TheOverviewSpansTheRealDepthRangeOfAnyDocument)
{
    for (const int rows : {110, 10}) {  // 10.9 m and 0.9 m at a 0.1 m step
        list->SetLasFile(nullptr);
        std::ostringstream text;
        text << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 1000 :\r\n STOP.M " << 1000 + (rows - 1) * 0.1
             << " :\r\n STEP.M 0.1 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n GR.API :\r\n~A\r\n";
        for (int r = 0; r < rows; ++r)
            text << 1000 + r * 0.1 << ' ' << r << "\r\n";
        WriteFileBytes(dir.file("short.las"), text.str());
        document = std::make_unique<TLASFile>(dir.file("short.las"), 2);
        store.SetLasFile(document.get());
        list->SetLasFile(document.get());
        // At 1:1 a centimetre is tens of pixels, so the view can scroll to any depth of the document.
        ASSERT_GT(list->OpenWindow(1, 0xFF0000, 1), 0);
        TFormSingleCurve& window = *list->Window(list->Count() - 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QWidget& box = *window.Form().PBoxAllDepth;
        const double span = (rows - 1) * 0.1;
        for (const double part : {0.5, 0.75}) {
            const int y = int(box.height() * part);
            QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, y));
            const QRect area = window.PanelMain->DrawingArea();
            EXPECT_NEAR(window.PanelMain->GetDepthValue(area.top() + area.height() / 2), 1000 + span * y / box.height(),
                        0.02)
                << rows << " rows, " << part;
        }
    }
}

TEST_F(SingleWindowListTest, AWindowWhoseDocumentIsReplacedDuringItsDialogChangesNothing)
{
    TFormSingleCurve& window = Open(1);
    QPointer<TFormSingleCurve> alive = &window;
    const std::vector<float> before(document->GetCurveData(1), document->GetCurveData(1) + document->GetPointCount());
    // The box is answered after the list has let the document go, as a replaced document does.
    std::string asked;
    SetAskNumberHook([&](const std::string& title, const std::string& prompt, int, double, double, double& value) {
        asked = title + "|" + prompt;
        list->SetLasFile(nullptr);
        value = 7;
        return true;
    });
    window.Form().TBShiftAmplitude->trigger();
    SetAskNumberHook({});
    EXPECT_EQ(asked, "Сдвиг значений кривой|Величина, прибавляемая к значениям кривой");
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(store.CanUndo());
    EXPECT_EQ(std::vector<float>(document->GetCurveData(1), document->GetCurveData(1) + document->GetPointCount()),
              before);
    // Freed only after its handler has returned.
    ASSERT_FALSE(alive.isNull());
    EXPECT_FALSE(alive->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST(SingleCurveValues, RangesOfThePopupZones)
{
    struct Case {
        int zone;
        int first;
        int last;
        int point;
        std::pair<int, int> range;
    };
    for (const Case& c : {Case{0, -1, -1, 5, {0, 99}}, Case{1, 10, 20, 0, {10, 20}}, Case{2, 10, 20, 0, {0, 10}},
                          Case{3, 10, 20, 0, {20, 99}}, Case{4, 10, 20, 3, {0, 10}}, Case{4, 10, 20, 15, {10, 20}},
                          Case{4, 10, 20, 50, {20, 99}}, Case{4, -1, -1, 50, {0, 99}}, Case{1, 0, 0, 0, {0, 0}}}) {
        SCOPED_TRACE(std::to_string(c.zone) + " " + std::to_string(c.point));
        EXPECT_EQ(ValueRangeOfZone(c.zone, c.first, c.last, c.point, 100), c.range);
    }
    EXPECT_EQ(ValueRangeOfZone(0, -1, -1, 0, 1), std::make_pair(0, 0));

    float values[] = {1.0f, kNull, 3.0f, 3.0e38f};
    MultiplyValues(values, 0, 3, kNull, 10.0);
    EXPECT_EQ(values[0], 10.0f);
    EXPECT_EQ(values[1], kNull);
    EXPECT_EQ(values[2], 30.0f);
    EXPECT_EQ(values[3], kNull);  // beyond the float range
    ShiftValues(values, 1, 2, kNull, -0.5);
    EXPECT_EQ(values[0], 10.0f);
    EXPECT_EQ(values[1], kNull);
    EXPECT_EQ(values[2], 29.5f);
}

TEST(SingleCurveValues, StatisticsTexts)
{
    platform::SetDecimalSeparator(QChar('.'));
    TempDir dir;
    // Values with eight significant digits and depths with one decimal read as the file has them.
    WriteFileBytes(dir.file("s.las"), "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 1000.0 :\r\n"
                                      " STOP.M 1002.0 :\r\n STEP.M 0.5 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n"
                                      " GR.API :\r\n~A\r\n1000.0 -999.25\r\n1000.5 2692.7075\r\n1001.0 2.5000\r\n"
                                      "1001.5 2692.7075\r\n1002.0 -999.25\r\n");
    const TLASFile document(dir.file("s.las"), 2);
    ASSERT_TRUE(document.IsLoaded());
    EXPECT_EQ(CurveStatisticsText(document, 1, 1, 3, false),
              "Информация о кривой в интервале 1000.5  -  1001.5 :\n"
              "Минимальное значение: 2.5000 достигается на отметке 1001.0 M\n"
              "Максимальное значение: 2692.7075 достигается на отметке 1000.5 M\n"
              "Среднее значение в интервале: 1795.97\n" +
                  QString(59, '-') + "\nКоличество отсчетов в интервале: 3\nс шагом 0.5 M");
    EXPECT_EQ(CurveStatisticsText(document, 1, 4, 4, false),
              "Информация о кривой в интервале 1002.0  -  1002.0 :\n"
              "В интервале кривая не имеет значений (все - NULL)\n" +
                  QString(59, '-') + "\nКоличество отсчетов в интервале: 1\nс шагом 0.5 M");
    const QString info = CurveInformationText(document, 1, -1, -1);
    EXPECT_TRUE(info.startsWith("Весь интервал кривой: 1000.0  -  1002.0 :\n")) << info.toStdString();
    EXPECT_TRUE(info.contains("Среднее значение: 1795.97\n"));
    EXPECT_TRUE(info.contains("Количество отсчетов: 5\n"));
    EXPECT_TRUE(info.endsWith(QString(59, '*') + "\nИнтервал не задан"));
    platform::SetDecimalSeparator(QChar());
}

}  // namespace
}  // namespace strativ::test
