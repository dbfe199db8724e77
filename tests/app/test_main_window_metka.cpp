// The depth-marker tool of the main window and the mark values of the print-title variables.
#include "AppTestSupport.h"

#include "editing/MetkaInfo.h"
#include "printing/TemplateVariables.h"
#include "ui_MainUnit.h"
#include "ui_MetkaInfo.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace strativ::test {
namespace {

class MetkaTest : public MainWindowTest {
protected:
    int ModalDialogs() const
    {
        return int(std::count_if(runner->Requests().begin(), runner->Requests().end(),
                                 [](const auto& r) { return r.kind == platform::DialogKind::Modal; }));
    }
};

TEST_F(MetkaTest, MarkerPanelFollowsItsButtonAndEscClosesItWithoutTheDialog)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("m.las"), 2, 50)));
    F().TBMetka->trigger();
    EXPECT_TRUE(window->PanelMetka->isVisible());
    EXPECT_EQ(window->CurrentTool(), window->ToolOf(F().TBMetka));
    // An undo ends picks, not the marker panel.
    F().TBUndo->trigger();
    EXPECT_TRUE(window->PanelMetka->isVisible());
    // Another tool takes over.
    F().TBPencil->trigger();
    EXPECT_FALSE(window->PanelMetka->isVisible());
    EXPECT_FALSE(F().TBMetka->isChecked());
    // Esc: panel closed, button up, no dialog.
    F().TBMetka->trigger();
    ASSERT_TRUE(window->PanelMetka->isVisible());
    EXPECT_FALSE(F().TBPencil->isChecked());
    const int before = ModalDialogs();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->PanelMetka->isVisible());
    EXPECT_FALSE(F().TBMetka->isChecked());
    EXPECT_EQ(window->CurrentTool(), nullptr);
    EXPECT_EQ(ModalDialogs(), before);
}

TEST_F(MetkaTest, ParametersButtonOpensTheDialogWhoseValuesThePrintTitleReads)
{
    EXPECT_EQ(GetTemplateVariableValue("metDIST"), "0.00");  // the record's start: every depth -1
    EXPECT_EQ(GetTemplateVariableValue("metKM"), "-1.00");
    F().TBMetka->trigger();  // no document needed
    runner->PushDialog([](QDialog& d) {
        Ui::TDlgMetkaInfo& f = static_cast<TDlgMetkaInfo&>(d).Form();
        f.SpinEditKontrMetka->setValue(1490.0);
        f.SpinEditPodoshva->setValue(1500.0);
        f.SpinEditGK->setValue(1495.5);
        f.SpinEditPerf->setValue(1495.0);
        f.OKBtn->click();
        return d.result();
    });
    QTest::mouseClick(window->ButtonMetkaParams, Qt::LeftButton);
    EXPECT_EQ(runner->PendingAnswers(), 0);
    EXPECT_EQ(runner->Last().dialogClass, "TDlgMetkaInfo");
    EXPECT_FALSE(window->PanelMetka->isVisible());
    EXPECT_FALSE(F().TBMetka->isChecked());
    EXPECT_EQ(window->CurrentTool(), nullptr);
    const std::pair<const char*, const char*> expected[] = {
        {"metGK", "1495.50"}, {"metPERF", "1495.00"}, {"metKM", "1490.00"}, {"metPODOSHVA", "1500.00"}, {"metDIST", "10.50"}};
    for (const auto& [name, value] : expected)
        EXPECT_EQ(GetTemplateVariableValue(name), value) << name;
    // The record goes with the window; so does its source.
    window.reset();
    EXPECT_EQ(GetTemplateVariableValue("metDIST"), "");
}

}  // namespace
}  // namespace strativ::test
