// Single-curve windows opened from the main window: the shared document, undo store and
// intervals, the value operations and calculations of a window, and the windows' life with
// the document.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "datawin/SaveToLas.h"
#include "datawin/SingleCurve.h"
#include "editing/IntervalLimiter.h"
#include "editing/IntervalParams.h"
#include "tests/common/FileBytes.h"
#include "ui_IntervalLimiter.h"
#include "ui_IntervalParams.h"
#include "ui_MainUnit.h"
#include "ui_SaveToLas.h"
#include "ui_SingleCurve.h"
#include "view/NumberInput.h"
#include "view/PanelWithCurves.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QMenu>
#include <QPointer>
#include <filesystem>

namespace strativ::test {
namespace {

constexpr float kNull = -999.25f;

class SingleWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.file("calc"));
        WriteFileBytes(dir.file("calc/twice.exp"),
                       "[Info]\nVersion=1\nName=twice\nCaption=T2\nHint=Удвоить\nButton=20\n[Expression]\nValue=x[0] * 2\n");
        WriteFileBytes(dir.file("calc/sum.exp"),
                       "[Info]\nVersion=1\nName=sum\nCaption=S\nHint=\nButton=20\n[Expression]\nValue=x[0] + x[1]\n");
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("doc.las"), 3, 200)));  // 100 .. 199.5 m
    }

    TSynchSingleWindows& List() const { return window->SingleWindows; }

    TFormSingleCurve* OpenSingle(int curve)
    {
        const int count = List().OpenWindow(curve, 0x0000FF, float(window->DepthScale));
        if (count <= 0)
            return nullptr;
        TFormSingleCurve* single = List().Window(count - 1);
        single->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(single));
        return single;
    }

    std::vector<float> Values(int curve) const
    {
        const float* values = Document().GetCurveData(curve);
        return {values, values + Document().GetPointCount()};
    }

    // The number box answered with `value`.
    void PushNumber(double value)
    {
        runner->PushDialog([value](QDialog& dialog) {
            static_cast<TNumberInputBox&>(dialog).SpinEdit()->setValue(value);
            return int(QDialog::Accepted);
        });
    }

    // A right-button click on the panel of `single` at depth index `row`, the pop-up closed after.
    static void RightClickAt(TFormSingleCurve& single, int row)
    {
        const PanelCoordinates c = single.PanelMain->Coordinates();
        const QPoint at(c.area.right() - 3, c.RowOf(c.depths[row]));
        QTest::mouseClick(single.PanelMain, Qt::RightButton, Qt::NoModifier, at);
        single.PMenuInterval->hide();
    }

    // First and last depth index shown in the panel.
    static std::pair<int, int> VisibleRows(const TFormSingleCurve& single)
    {
        const PanelCoordinates c = single.PanelMain->Coordinates();
        return {c.IndexAt(c.area.top() + 2), c.IndexAt(c.area.bottom() - 2)};
    }

    static void ExpectFollowsDocument(const TFormSingleCurve& single, TLASFile& document)
    {
        const TPanelWithCurves& panel = *single.PanelMain;
        ASSERT_EQ(panel.GetCurvesCount(), 1);
        EXPECT_EQ(panel.GetCurve(0)->Values(), document.GetCurveData(single.CurveIndex()));
        EXPECT_EQ(panel.GetCurve(0)->Count(), document.GetPointCount());
        EXPECT_EQ(panel.YAxisInfo.DepthArray(), document.GetCurveData(0));
        EXPECT_EQ(panel.YAxisInfo.DepthCount(), document.GetPointCount());
    }
};

TEST_F(SingleWindowTest, WindowsOpenOnDataCurvesOnly)
{
    EXPECT_EQ(List().OpenWindow(0, 0, 200), -1);
    EXPECT_EQ(List().OpenWindow(Document().GetCurvesCount(), 0, 200), -1);
    EXPECT_EQ(List().Count(), 0);

    // The curve list's pop-up opens the chosen curve, in its colour, at the main window's scale.
    window->ListCurveNames->setCurrentRow(1);
    window->PMenuCurvesPopup(true, window->ListCurveNames->mapToGlobal(QPoint(5, 5)));
    window->MICurveToWindow->trigger();
    window->PMenuCurves->hide();
    ASSERT_EQ(List().Count(), 1);
    TFormSingleCurve& single = *List().Window(0);
    EXPECT_EQ(single.windowTitle(), "Кривая C2");
    EXPECT_EQ(single.CurveIndex(), 2);
    EXPECT_EQ(single.Curve()->Color(), window->PanelCurves->GetCurve(1)->Color());
    EXPECT_EQ(single.PanelMain->YAxisInfo.ScaleFactorValue(), window->DepthScale);
    EXPECT_EQ(single.Form().EdVertScale->value(), window->DepthScale);
    EXPECT_FALSE(single.parentWidget());
    EXPECT_EQ(single.size(), QSize(405, 536));
    EXPECT_EQ(single.minimumSize(), QSize(400, 260));
    ExpectFollowsDocument(single, Document());

    // Several windows on the same curve are allowed.
    EXPECT_EQ(List().OpenWindow(2, 0, 200), 2);
}

TEST_F(SingleWindowTest, ScaleLabelsAndEditsStandWholeInsideTheWindowEdges)
{
    TFormSingleCurve* single = OpenSingle(1);
    ASSERT_NE(single, nullptr);
    // The starting size, the least one and maximised on a 1920 x 1080 screen.
    for (const QSize size : {single->size(), single->minimumSize(), QSize(1920, 1040)}) {
        single->resize(size);
        QApplication::processEvents();
        for (QWidget* control : single->Form().PanelTools->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible())
                continue;
            const QRect inWindow(control->mapTo(single, QPoint(0, 0)), control->size());
            const std::string where = control->objectName().toStdString() + " " + std::to_string(size.width());
            EXPECT_GE(inWindow.left(), 6) << where;
            EXPECT_LE(inWindow.right(), single->width() - 7) << where;
            if (auto* label = qobject_cast<QLabel*>(control)) {
                EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << where;
            }
        }
    }
}

TEST_F(SingleWindowTest, AnEditInOneWindowIsSeenEverywhereAndUndoneFromAnother)
{
    TFormSingleCurve* first = OpenSingle(1);
    TFormSingleCurve* second = OpenSingle(1);
    ASSERT_TRUE(first && second);
    Document().GetCurveData(1)[5] = kNull;
    const std::vector<float> before = Values(1);

    // Shift with no selection: the whole curve, NULL samples left alone.
    PushNumber(2.5);
    first->Form().TBShiftAmplitude->trigger();
    EXPECT_FALSE(first->Form().TBShiftAmplitude->isChecked());
    for (int i = 0; i < Document().GetPointCount(); ++i)
        EXPECT_EQ(Values(1)[i], i == 5 ? kNull : before[i] + 2.5f) << i;
    EXPECT_EQ(window->PanelCurves->GetCurve(0)->Values(), Document().GetCurveData(1));
    EXPECT_EQ(second->Curve()->Values(), Document().GetCurveData(1));
    EXPECT_TRUE(window->IsModified());

    const QString undo = "Отменить Сдвиг значений кривой";
    EXPECT_EQ(window->Form().TBUndo->toolTip(), undo);
    EXPECT_EQ(window->Form().MIUndo->text(), undo);
    for (TFormSingleCurve* single : {first, second}) {
        EXPECT_TRUE(single->Form().TBUndo->isEnabled());
        EXPECT_EQ(single->Form().TBUndo->toolTip(), undo);
    }

    // Undone from the second window: the arrays are swapped, every view follows them.
    second->Form().TBUndo->trigger();
    EXPECT_EQ(Values(1), before);
    ExpectFollowsDocument(*first, Document());
    ExpectFollowsDocument(*second, Document());
    const QString redo = "Повторить Сдвиг значений кривой";
    EXPECT_EQ(window->Form().TBRedo->toolTip(), redo);
    for (TFormSingleCurve* single : {first, second}) {
        EXPECT_FALSE(single->Form().TBUndo->isEnabled());
        EXPECT_EQ(single->Form().TBUndo->toolTip(), "Отмена изменений - нет доступных");
        EXPECT_EQ(single->Form().TBRedo->toolTip(), redo);
    }
    first->Form().TBRedo->trigger();
    EXPECT_FLOAT_EQ(Values(1)[0], before[0] + 2.5f);
    first->PanelMain->grab();  // paints the redone arrays
    second->PanelMain->grab();

    // Shift by 0 and multiply by 1 take no step.
    window->TBUndoClick();
    PushNumber(0);
    first->Form().TBShiftAmplitude->trigger();
    PushNumber(1);
    first->Form().TBMultAmplitude->trigger();
    EXPECT_EQ(Values(1), before);
    EXPECT_FALSE(window->Form().TBUndo->isEnabled());
}

TEST_F(SingleWindowTest, ShiftAndMultiplyFollowThePopupZone)
{
    TFormSingleCurve& single = *OpenSingle(2);
    const int n = Document().GetPointCount();
    const auto [top, bottom] = VisibleRows(single);
    ASSERT_GE(bottom - top, 16);
    const int first = top + 5;
    const int last = top + 10;
    single.PanelMain->Interval.SetRange(first, last);
    Document().GetCurveData(2)[first + 2] = kNull;
    Document().GetCurveData(2)[0] = kNull;

    struct Case {
        int row;
        int from;
        int to;
    };
    for (const Case& c : {Case{first + 5, first, last}, Case{top + 2, 0, first}, Case{last + 5, last, n - 1}}) {
        SCOPED_TRACE(c.row);
        const std::vector<float> before = Values(2);
        RightClickAt(single, c.row);
        EXPECT_TRUE(single.Form().MIRemoveInterval->isEnabled() == (c.row >= first && c.row <= last));
        PushNumber(-1.5);
        single.Form().MIShiftAmpl->trigger();
        EXPECT_EQ(single.Zone(), TFormSingleCurve::ZoneNotFromPopup);
        for (int i = 0; i < n; ++i) {
            const bool changed = i >= c.from && i <= c.to && before[i] != kNull;
            EXPECT_EQ(Values(2)[i], changed ? before[i] - 1.5f : before[i]) << i;
        }
    }

    // Multiplying inside the selection.
    const std::vector<float> before = Values(2);
    RightClickAt(single, first + 1);
    PushNumber(3);
    single.Form().MIMultAmpl->trigger();
    for (int i = 0; i < n; ++i) {
        const bool changed = i >= first && i <= last && before[i] != kNull;
        EXPECT_EQ(Values(2)[i], changed ? before[i] * 3 : before[i]) << i;
    }
    EXPECT_EQ(window->Form().TBUndo->toolTip(), "Отменить Умножение значений кривой");

    // A tool button pressed while a range is selected waits for a double click, whose height
    // gives the range: below the selection here, whatever a pop-up dismissed before it said.
    const std::vector<float> pressed = Values(2);
    RightClickAt(single, first + 1);
    single.Form().TBShiftAmplitude->trigger();
    EXPECT_TRUE(single.Form().TBShiftAmplitude->isChecked());
    EXPECT_EQ(Values(2), pressed);
    PushNumber(1);
    const PanelCoordinates c = single.PanelMain->Coordinates();
    QTest::mouseDClick(single.PanelMain, Qt::LeftButton, Qt::NoModifier,
                       QPoint(c.area.right() - 3, c.RowOf(c.depths[last + 4])));
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(Values(2)[i], i >= last ? pressed[i] + 1 : pressed[i]) << i;

    // Removing the selection makes the next operation whole-curve.
    RightClickAt(single, first + 1);
    single.Form().MIRemoveInterval->trigger();
    EXPECT_FALSE(single.PanelMain->Interval.IsSet());
}

TEST_F(SingleWindowTest, ACalculationIsArmedAppliedAndDeclined)
{
    TFormSingleCurve& single = *OpenSingle(1);
    // Only one-argument scripts are offered, captioned by their hint.
    ASSERT_EQ(single.PopupMenuCalculations->actions().size(), 1);
    QAction* twice = single.PopupMenuCalculations->actions()[0];
    EXPECT_EQ(twice->text(), "Удвоить");
    EXPECT_EQ(single.PMICalc->actions().size(), 1);
    EXPECT_TRUE(single.Form().TBCalculations->isEnabled());

    // Without a selection the whole curve at once; declined first, then applied.
    const std::vector<float> before = Values(1);
    runner->Push(platform::IDCANCEL);
    twice->trigger();
    EXPECT_EQ(runner->Last().title, "Вычисления");
    EXPECT_EQ(runner->Last().text, "Вычисление\nx[0] * 2\nуспешно выполнено.\nПрименить?");
    EXPECT_EQ(Values(1), before);
    EXPECT_FALSE(window->Form().TBUndo->isEnabled());  // declined: no undo step
    runner->Push(platform::IDOK);
    twice->trigger();
    for (int i = 0; i < Document().GetPointCount(); ++i)
        EXPECT_EQ(Values(1)[i], before[i] * 2) << i;
    EXPECT_EQ(window->Form().TBUndo->toolTip(), "Отменить Вычисления");

    // With a selection the script is armed and waits for a double click in the panel.
    const auto [top, bottom] = VisibleRows(single);
    single.PanelMain->Interval.SetRange(top + 5, top + 8);
    const std::vector<float> doubled = Values(1);
    twice->trigger();
    EXPECT_TRUE(single.Form().TBCalculations->isChecked());
    EXPECT_EQ(single.ArmedCalculation(), TFormSingleCurve::kArmedBase + 2);  // the second script file
    EXPECT_EQ(Values(1), doubled);
    runner->Push(platform::IDOK);
    const PanelCoordinates c = single.PanelMain->Coordinates();
    QTest::mouseDClick(single.PanelMain, Qt::LeftButton, Qt::NoModifier,
                       QPoint(c.area.right() - 3, c.RowOf(c.depths[top + 6])));
    EXPECT_EQ(single.ArmedCalculation(), 0);
    EXPECT_FALSE(single.Form().TBCalculations->isChecked());
    for (int i = 0; i < Document().GetPointCount(); ++i)
        EXPECT_EQ(Values(1)[i], i >= top + 5 && i <= top + 8 ? doubled[i] * 2 : doubled[i]) << i;

    // Any tool click disarms.
    twice->trigger();
    single.Form().TBPencil->trigger();
    EXPECT_EQ(single.ArmedCalculation(), 0);
}

TEST_F(SingleWindowTest, AnIntervalMarkedInAWindowJoinsTheMainWindowsList)
{
    TFormSingleCurve& single = *OpenSingle(1);
    TFormSingleCurve& other = *OpenSingle(2);
    const auto [top, bottom] = VisibleRows(single);
    single.Form().TBPutBoundary->trigger();
    const PanelCoordinates c = single.PanelMain->Coordinates();
    const QPoint from(c.area.right() - 3, c.RowOf(c.depths[top + 4]));
    const QPoint to(c.area.right() - 3, c.RowOf(c.depths[top + 12]));
    runner->PushDialog([](QDialog& dialog) {
        Ui::TFormIntervalParams& f = static_cast<TFormIntervalParams&>(dialog).Form();
        EXPECT_EQ(f.EditName->text(), "New");
        f.EditName->setText("Пласт");
        return int(QDialog::Accepted);
    });
    const QImage otherBefore = other.PanelMain->grab().toImage();
    QMouseEvent press(QEvent::MouseButtonPress, from, single.PanelMain->mapToGlobal(from), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(single.PanelMain, &press);
    QMouseEvent move(QEvent::MouseMove, to, single.PanelMain->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(single.PanelMain, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, single.PanelMain->mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(single.PanelMain, &release);

    EXPECT_FALSE(single.Form().TBPutBoundary->isChecked());
    ASSERT_EQ(window->Intervals.List.size(), 1u);
    const IntervalItem& added = window->Intervals.List[0];
    EXPECT_EQ(added.Name, "Пласт");
    EXPECT_NEAR(added.Top, c.DepthAt(from.y()), 0.01);
    EXPECT_NEAR(added.Bottom, c.DepthAt(to.y()), 0.01);
    EXPECT_TRUE(added.Active);
    // The other window draws the band too.
    EXPECT_NE(other.PanelMain->grab().toImage(), otherBefore);
}

TEST_F(SingleWindowTest, ReplacingTheDocumentClosesEveryWindow)
{
    QPointer<TFormSingleCurve> first = OpenSingle(1);
    QPointer<TFormSingleCurve> second = OpenSingle(2);
    ASSERT_TRUE(Open(WriteTestLas(dir.file("other.las"), 2, 50)));
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(List().LasFile(), window->LasFile());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    // A new window starts with no pair.
    ASSERT_TRUE(OpenSingle(1));
    EXPECT_EQ(List().Pair().first, -1);
}

TEST_F(SingleWindowTest, WindowsFollowArraysTheMainWindowReplaces)
{
    TFormSingleCurve& single = *OpenSingle(2);
    const std::string source = WriteTestLas(dir.file("source.las"), 2, 300, 150.0, 0.5);  // 150 .. 299.5
    runner->PushDialog([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("ButtonAdd")->click();
        return dialog.result();
    });
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    ASSERT_EQ(Document().GetCurvesCount(), 6);
    ExpectFollowsDocument(single, Document());
    single.PanelMain->grab();

    // A depth shift from the main window that grows the document, and its undo.
    const int rows = Document().GetPointCount();
    runner->PushText("10");
    window->ShiftCurveKeep(1);
    ASSERT_GT(Document().GetPointCount(), rows);
    ExpectFollowsDocument(single, Document());
    single.PanelMain->grab();
    window->TBUndoClick();
    ExpectFollowsDocument(single, Document());
    single.PanelMain->grab();

    // The cut to the panel's range shrinks every array.
    window->PanelCurves->Interval.SetRange(20, 60);
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TDlgIntervalLimiter&>(dialog).Form().OKBtn->click();
        return dialog.result();
    });
    window->MMIIntervalOnlyInterval->trigger();
    ASSERT_EQ(Document().GetPointCount(), 41);
    ExpectFollowsDocument(single, Document());
    single.PanelMain->grab();
}

TEST_F(SingleWindowTest, TheCloseQuestionFollowsEditsMadeOnlyInAWindow)
{
    TFormSingleCurve& single = *OpenSingle(1);
    EXPECT_FALSE(window->IsModified());
    PushNumber(3);
    single.Form().TBShiftAmplitude->trigger();
    EXPECT_TRUE(window->IsModified());
    runner->Clear();
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Сохранить изменения в файле\ndoc.las?"});

    // Saved into its own file: no question.
    runner->Clear();
    runner->PushDialog([&](QDialog& dialog) {
        static_cast<TFormSaveToLas&>(dialog).Form().EditFileName->setText(QString::fromStdString(dir.file("doc.las")));
        return int(QDialog::Accepted);
    });
    runner->Push(platform::IDYES);
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_FALSE(window->IsModified());
    runner->Clear();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(Messages(), QStringList{});
    EXPECT_EQ(List().Count(), 0);
}

}  // namespace
}  // namespace strativ::test
