// Every window with tool bars, grids or lists, on a 16-curve file, at its starting size and
// maximised: no tool bar hides a command behind its overflow button, no header, caption or entry
// is cut, no control reaches out of its parent.
#include "AppTestSupport.h"

#include "core/SettingsFile.h"
#include "datawin/AddData.h"
#include "datawin/LasEditor.h"
#include "datawin/SingleCurve.h"
#include "editing/CalcBarEdit.h"
#include "library/LasBrowser.h"
#include "printing/FormCurveTemplate.h"
#include "printing/MacroSettingsDlg.h"
#include "printing/TitleTemplate.h"
#include "tests/common/FileBytes.h"
#include "ui_FormCurveTemplate.h"
#include "ui_LasEditor.h"
#include "ui_MainUnit.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
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

std::string Text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
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
    // At its starting size the curve's settings show whole, without scrolling.
    for (const QScrollArea* pane : editor.findChildren<QScrollArea*>())
        if (pane->widget()->isAncestorOf(editor.Form().ListBoxAllCurves)) {
            EXPECT_LE(pane->widget()->minimumSizeHint().height(), pane->viewport()->height());
        }
    editor.hide();
    CheckModal([this] { F().MMITilteTmplate->trigger(); }, "title template");
    CheckModal([this] { F().MMIToolsMacro->trigger(); }, "macros");
    CheckModal([this] { window->AddCurvesFromFile({}); }, "add curves");
    CheckModal([this] { window->MICalcBarEditClick(); }, "calc bar");
    EXPECT_EQ(faults.join('\n').toStdString(), "");
}

// On a 1600 x 1000 screen at 100 % and at 150 % (1066 x 666 logical pixels) every window starts
// within the screen; a stored placement is kept only where it still fits. At 100 % the browser
// shows the file name and every header column whole, and the LAS editor ten curve rows.
TEST_F(WindowFitTest, WindowsStartWithinTheScreenShowingTheirMainContent)
{
    const std::string las = window->LasFile()->GetFileName();
    const struct {
        QRect area;
        bool placementKept;
    } rows[] = {{QRect(0, 0, 1600, 1000), true}, {QRect(0, 0, 1066, 666), false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.area.width());
        const ScreenAreaReplaced screen(row.area);
        const std::unique_ptr<QObject> fitted = platform::FitWindowsAsShown(*qApp);
        ASSERT_TRUE(window->close());
        window.reset();
        {
            TRxIniFile settings(dir.file("strativ.ini"));
            for (const auto& [key, value] : {std::pair{"Left", 100}, {"Top", 100}, {"Width", 1000}, {"Height", 700}})
                settings.WriteInteger("MainWindow", key, value);
            settings.WriteBool("MainWindow", "Maximized", false);
            ASSERT_TRUE(settings.UpdateFile());
        }
        window = std::make_unique<TFormMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_EQ(window->geometry() == QRect(100, 100, 1000, 700), row.placementKept) << Text(window->geometry());
        ASSERT_TRUE(Open(las));

        window->MILasBrowseClick();
        TFormLasBrowser& browser = *window->LasBrowser;
        QTest::qWait(50);
        window->MIEditLas->trigger();
        TFormEditor& editor = *window->FormEditor;
        editor.OpenFile(QString::fromStdString(las));
        QTest::qWait(20);
        for (const QWidget* shown : {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(&browser),
                                     static_cast<QWidget*>(&editor)})
            EXPECT_TRUE(row.area.contains(shown->frameGeometry()))
                << shown->metaObject()->className() << " " << Text(shown->frameGeometry());
        if (row.placementKept) {
            const QTreeWidget& list = *browser.ListView;
            const QTreeWidgetItem* file = list.findItems(QFileInfo(QString::fromStdString(las)).fileName(),
                                                         Qt::MatchExactly).value(0);
            ASSERT_NE(file, nullptr);
            EXPECT_GE(list.columnWidth(0), static_cast<const QAbstractItemView&>(list).sizeHintForColumn(0));
            for (int k = 0; k < list.columnCount(); ++k)
                EXPECT_LE(list.header()->sectionViewportPosition(k) + list.columnWidth(k), list.viewport()->width())
                    << list.headerItem()->text(k).toStdString();
            EXPECT_EQ(list.headerItem()->text(2), "Скважина");
            EXPECT_EQ(file->text(2), "TEST");
            const QTableWidget& curves = *editor.Form().SGCurves;
            ASSERT_EQ(curves.rowCount(), 17);
            EXPECT_LE(curves.rowViewportPosition(9) + curves.rowHeight(9), curves.viewport()->height());
        }
        browser.hide();
        editor.hide();
    }
}

}  // namespace
}  // namespace strativ::test
