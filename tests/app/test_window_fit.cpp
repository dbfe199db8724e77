// Every window with tool bars, grids or lists, on a 16-curve file, at its starting size and
// maximised: no tool bar hides a command behind its overflow button, no header, caption or entry
// is cut, no control reaches out of its parent.
#include "AppTestSupport.h"

#include "datawin/AddData.h"
#include "datawin/SingleCurve.h"
#include "editing/CalcBarEdit.h"
#include "printing/FormCurveTemplate.h"
#include "printing/MacroSettingsDlg.h"
#include "printing/TitleTemplate.h"
#include "tests/common/FileBytes.h"
#include "ui_FormCurveTemplate.h"
#include "ui_MainUnit.h"

#include <QHeaderView>
#include <QListWidget>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <functional>

namespace strativ::test {
namespace {

// Each fault names the window, its size and the control.
void ExpectFits(QWidget& window, const std::string& where, QStringList& faults)
{
    const auto fault = [&](const QWidget& w, const QString& what) {
        faults << QString::fromStdString(where) + " " + w.objectName() + ": " + what;
    };
    const QSize least = window.minimumSizeHint();
    if (window.width() < least.width() || window.height() < least.height())
        fault(window, QStringLiteral("smaller than its controls need"));
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        if (bar->isVisible())
            if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")); more && more->isVisible())
                fault(*bar, QStringLiteral("overflow button shown"));
    for (QHeaderView* header : window.findChildren<QHeaderView*>()) {
        if (!header->isVisible() || !header->model())
            continue;
        const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int i = 0; i < header->count(); ++i) {
            const QString text = header->model()->headerData(i, header->orientation()).toString();
            if (!header->isSectionHidden(i) && header->fontMetrics().horizontalAdvance(text) + margin > header->sectionSize(i))
                fault(*header, QStringLiteral("header cut: ") + text);
        }
    }
    // Captions are the cells a user cannot edit; 6 pixels are the cell's padding.
    for (QTableWidget* grid : window.findChildren<QTableWidget*>()) {
        if (!grid->isVisible())
            continue;
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 0; column < grid->columnCount(); ++column) {
                const QTableWidgetItem* item = grid->item(row, column);
                if (!item || (item->flags() & Qt::ItemIsEditable) || item->text().isEmpty())
                    continue;
                const QRect cell = grid->visualItemRect(item);
                if (grid->fontMetrics().horizontalAdvance(item->text()) + 6 > cell.width() ||
                    !grid->viewport()->rect().contains(cell))
                    fault(*grid, QStringLiteral("caption cut: ") + item->text());
            }
    }
    for (QListWidget* list : window.findChildren<QListWidget*>())
        for (int row = 0; list->isVisible() && row < list->count(); ++row)
            if (list->sizeHintForIndex(list->model()->index(row, 0)).width() > list->viewport()->width())
                fault(*list, QStringLiteral("entry cut: ") + list->item(row)->text());
    // Plain containers may be larger than what shows them (a page view, a scrolled pane); the
    // panes scroll down only.
    for (QWidget* child : window.findChildren<QWidget*>()) {
        const QWidget* parent = child->parentWidget();
        if (!child->isVisible() || child->isWindow() || !parent || child->metaObject() == &QWidget::staticMetaObject)
            continue;
        if (!parent->rect().contains(child->geometry()))
            fault(*child, QStringLiteral("outside its parent ") + parent->objectName());
    }
    for (QScrollArea* pane : window.findChildren<QScrollArea*>())
        if (pane->isVisible() && pane->widget() && pane->widget()->width() > pane->viewport()->width())
            fault(*pane->widget(), QStringLiteral("wider than its pane"));
}

class WindowFitTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.file("calc"));
        WriteFileBytes(dir.file("calc/ratio.exp"),
                       "[Info]\nVersion=1\nName=ratio\nCaption=R\nHint=Отношение\nButton=20\n[Expression]\n"
                       "Value=x[0] * k + s\n[Constants]\nCount=1\nName0=k\nDescr0=коэффициент\nValue0=2\n"
                       "[Variables]\nCount=1\nName0=s\nExpr0=x[0] + 1\n");
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("Скважина 1207-бис, каротаж 2019 (16 кривых).las"), 16, 400, 1300.0, -0.5)));
    }

    // Checks the window as it opened and at the size of a maximised one; what `shown` reads
    // stays the same at both.
    void Check(QWidget& w, const std::string& name, const std::function<QString()>& shown = {})
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QString atStart = shown ? shown() : QString();
        const QSize start = w.size();
        for (const QSize size : {start, QSize(1920, 1040)}) {
            w.resize(size);
            QTest::qWait(20);
            const std::string where = name + " " + std::to_string(size.width()) + "x" + std::to_string(size.height());
            ExpectFits(w, where, faults);
            if (shown && shown() != atStart)
                faults << QString::fromStdString(where) + ": " + shown() + " instead of " + atStart;
        }
        w.resize(start);
    }

    // Runs a modal window's command, checking the window while it is open.
    void CheckModal(const std::function<void()>& command, const std::string& name)
    {
        runner->PushDialog([this, name](QDialog& dialog) {
            Check(dialog, name);
            dialog.hide();
            return int(QDialog::Rejected);
        });
        command();
    }

    QStringList faults;
};

TEST_F(WindowFitTest, EveryCommandHeaderAndCaptionFitsAtTheStartingSizeAndMaximised)
{
    Check(*window, "main");
    ASSERT_GT(window->SingleWindows.OpenWindow(1, 0x0000FF, float(window->DepthScale)), 0);
    Check(*window->SingleWindows.Window(0), "single");
    window->BindCurveTemplate();
    TFormCurveTemplate& editor = *window->FormCurveTemplate;
    // The page count is the sheet's, even where a preview on another sheet laid the first page out.
    editor.Model.Dept->SetFirstPageHeight(5.0f);
    Check(editor, "curve template", [&editor] { return editor.Form().LabelPageCount->text(); });
    EXPECT_EQ(editor.Form().LabelPageCount->text(), "4");  // 200 m at 1:200 on 29.7 cm sheets
    editor.hide();
    CheckModal([this] { F().MMITilteTmplate->trigger(); }, "title template");
    CheckModal([this] { F().MMIToolsMacro->trigger(); }, "macros");
    CheckModal([this] { window->AddCurvesFromFile({}); }, "add curves");
    CheckModal([this] { window->MICalcBarEditClick(); }, "calc bar");
    EXPECT_EQ(faults.join('\n').toStdString(), "");
}

}  // namespace
}  // namespace strativ::test
