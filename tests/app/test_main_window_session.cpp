#include "app/StrativSession.h"
#include "core/Lasfile.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/FileBytes.h"
#include "view/PanelWithCurves.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <tuple>

using strativ::test::MainWindowTest;
using strativ::test::WriteTestLas;

namespace {

// The interval count and records; the path of the file the work came from may follow them.
std::string IntervalBlock(const std::string& sessionPath, size_t intervals)
{
    StrativSession session;
    std::string error;
    if (!session.Load(sessionPath, error))
        return {};
    const std::string bytes = strativ::test::ReadFileBytes(sessionPath);
    const size_t size = 4 + intervals * 149;
    const size_t end = bytes.size() - (session.OriginalFile.empty() ? 0 : 4 + session.OriginalFile.size());
    return end >= size ? bytes.substr(end - size, size) : std::string();
}

} // namespace

TEST_F(MainWindowTest, SessionBringsBackDocumentViewAndIntervalsAndDamagedOnesAreRefused)
{
    const std::string las = WriteTestLas(dir.file("well.las"), 3, 200);
    ASSERT_TRUE(Open(las));
    TLASFile& original = *window->LasFile();
    original.GetCurveData(2)[5] = original.GetNullValue();
    original.GetCurveData(3)[7] = 123.25f;
    original.SetCurveUnit(3, "мВ");
    window->SetModified();

    TPanelWithCurves& panel = *window->PanelCurves;
    panel.GetCurve(0)->SetColor(0x123456);
    panel.GetCurve(0)->SetLineWidth(3);
    panel.GetCurve(0)->SetPixelsPerUnit(2.5);
    panel.GetCurve(1)->SetVisible(false);
    panel.GetCurve(2)->SetSelected(true);
    panel.GetCurve(2)->SetXOffset(-40);
    window->SetDepthScale(500);
    panel.YAxisInfo.SetOffset(37);
    window->Intervals.SetInterval(120, 130)->Name = "Пласт А";
    IntervalItem* second = window->Intervals.SetInterval(150, 160);
    second->Name = "Пласт Б";
    second->Color = 0x00FF00;
    second->Active = false;

    const std::string path = dir.file("work.vxs");
    ASSERT_TRUE(window->SaveSession(QString::fromStdString(path)));
    StrativSession written;
    std::string error;
    ASSERT_TRUE(written.Load(path, error));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file(written.LasCopyName))));
    const std::string savedBlock = IntervalBlock(path, 2);

    // Another window, another document: the session replaces all of it.
    window.reset();
    CreateWindow();
    ASSERT_TRUE(Open(WriteTestLas(dir.file("other.las"), 1, 10)));
    window->Intervals.SetInterval(101, 102);
    ASSERT_TRUE(window->LoadSession(QString::fromStdString(path)));

    TLASFile& loaded = *window->LasFile();
    ASSERT_EQ(loaded.GetCurvesCount(), 4);
    ASSERT_EQ(loaded.GetPointCount(), 200);
    EXPECT_EQ(loaded.GetCurveData(2)[5], loaded.GetNullValue());
    EXPECT_EQ(loaded.GetCurveData(3)[7], 123.25f);
    EXPECT_EQ(loaded.GetCurveData(1)[199], strativ::test::GeneratedValue(1, 199));
    EXPECT_EQ(loaded.GetCurveUnit(3), "мВ");
    EXPECT_FALSE(window->IsModified());

    TPanelWithCurves& view = *window->PanelCurves;
    EXPECT_EQ(window->DepthScale, 500);
    EXPECT_EQ(view.YAxisInfo.Offset(), 37);
    const TCurve& first = *view.GetCurve(0);
    EXPECT_EQ(std::tuple(first.Color(), first.LineWidth(), first.PixelsPerUnit()), std::tuple(0x123456u, 3, 2.5));
    EXPECT_FALSE(view.GetCurve(1)->IsVisible());
    EXPECT_TRUE(view.GetCurve(2)->IsSelected());
    EXPECT_EQ(view.GetCurve(2)->XOffset(), -40);
    EXPECT_EQ(window->ListCurveNames->item(2)->checkState(), Qt::Checked);

    ASSERT_EQ(window->Intervals.List.size(), 2u);
    EXPECT_EQ(window->Intervals.List[0].Name, "Пласт А");
    EXPECT_EQ(window->Intervals.List[1].Color, 0x00FF00u);
    EXPECT_FALSE(window->Intervals.List[1].Active);
    EXPECT_EQ(std::pair(window->Intervals.GetTop(), window->Intervals.GetBottom()), std::pair(100.0f, 199.5f));

    const std::string again = dir.file("again.vxs");
    ASSERT_TRUE(window->SaveSession(QString::fromStdString(again)));
    EXPECT_EQ(IntervalBlock(again, 2), savedBlock);

    // A damaged session is refused and the document stays.
    strativ::test::WriteFileBytes(path, "STRVXS1");
    EXPECT_FALSE(window->LoadSession(QString::fromStdString(path)));
    EXPECT_EQ(window->LasFile(), &loaded);
    EXPECT_EQ(Messages().last(), "Ошибка|Файл сессии поврежден или имеет неизвестный формат");
}

// Sessions of files written bottom up, of files whose ~W depths disagree with their rows, and of a
// file cut in its last row come back whole.
TEST_F(MainWindowTest, SessionsOfUpwardAndMisdeclaredFilesComeBack)
{
    const struct {
        const char* name;
        double top;
        double step;
        std::string declared;  // a ~W line replaced, "" for none
        std::string written;
    } cases[] = {
        {"up", 119.5, -0.5, "", ""},
        {"wrong-stop", 100.0, 0.5, " STOP.M  119.5 ", " STOP.M  150 "},
        {"up-wrong-strt", 119.5, -0.5, " STRT.M  119.5 ", " STRT.M  90 "},
        {"cut-last-row", 100.0, 0.5, "119.5 14 24", "119.5 14"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string las = WriteTestLas(dir.file(std::string(c.name) + ".las"), 2, 40, c.top, c.step);
        if (!c.declared.empty()) {
            std::string bytes = strativ::test::ReadFileBytes(las);
            ASSERT_NE(bytes.find(c.declared), std::string::npos);
            strativ::test::WriteFileBytes(las, bytes.replace(bytes.find(c.declared), c.declared.size(), c.written));
        }
        if (!TLASFile(las, 2).GetOmittedData().empty())
            runner->Push(platform::IDOK);  // the file named as loaded in part
        ASSERT_TRUE(Open(las));
        const std::vector<float> values = Values(2);
        const std::string path = dir.file(std::string(c.name) + ".vxs");
        ASSERT_TRUE(window->SaveSession(QString::fromStdString(path)));
        runner->Clear();
        ASSERT_TRUE(window->LoadSession(QString::fromStdString(path))) << Messages().join("\n").toStdString();
        EXPECT_EQ(std::pair(Document().GetTopDepth(), Document().GetBottomDepth()), std::pair(100.0f, 119.5f));
        EXPECT_EQ(Values(2), values);
    }
}

TEST_F(MainWindowTest, ClosingWithADocumentWritesTheLastSession)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("well.las"), 2, 50)));
    window->Intervals.SetInterval(110, 115)->Name = "Зона";
    const QString sessions = QString::fromStdString(window->SessionsDir);
    window->close();
    StrativSession last;
    std::string error;
    ASSERT_TRUE(last.Load((sessions + "last.vxs").toStdString(), error)) << error;
    // Written through temporary names: nothing else is left in the folder.
    EXPECT_EQ(QDir(sessions).entryList(QDir::Files),
              (QStringList{QString::fromStdString(last.LasCopyName), "last.vxs"}));
    ASSERT_EQ(last.Intervals.size(), 1u);
    EXPECT_EQ(last.Intervals[0].Name, "Зона");
    EXPECT_EQ(TLASFile((sessions + QString::fromStdString(last.LasCopyName)).toStdString(), 2).GetPointCount(), 50);
}

// A loaded session's document is named by its session, not by the profile's copy, and the file
// dialogs start in the folder the user last opened a file from, not among the profile's files.
TEST_F(MainWindowTest, ALoadedSessionIsNamedAndItsDialogsStartWhereTheUserWorks)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("well.las"), 2, 50)));
    const QString session = QString::fromStdString(window->SessionsDir) + "work.vxs";
    ASSERT_TRUE(window->SaveSession(session));
    {  // as written before sessions recorded the file they came from
        StrativSession older;
        std::string error;
        ASSERT_TRUE(older.Load(session.toStdString(), error));
        older.OriginalFile.clear();
        ASSERT_TRUE(older.Save(session.toStdString(), window->Intervals, error));
    }
    ASSERT_TRUE(window->LoadSession(session));
    EXPECT_EQ(window->windowTitle(), "Strativ - сессия \"work\"");

    window->SetModified();
    runner->Clear();
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->AskSaveChanges());
    EXPECT_EQ(Messages(), QStringList{"Strativ|Сохранить изменения в документе сессии \"work\"?"});

    runner->Clear();
    EXPECT_FALSE(window->OpenLasFile({}));  // the open dialog, cancelled
    ASSERT_EQ(runner->Requests().size(), 1u);
    EXPECT_EQ(runner->Requests()[0].file.directory, QString::fromStdString(dir.path()));

    // The save offers the session's name there; the whole document saved becomes that file.
    const QString saved = QString::fromStdString(dir.file("work.las"));
    runner->PushDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EditFileName")->text(), saved);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(window->SaveDocument());
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(window->windowTitle(), "Strativ - " + saved);
}

// The work kept as the session "last" at the end comes back as the file it was opened from: the
// save proposes that file, and the session's own copy stays as it was.
TEST_F(MainWindowTest, ARestoredLastSessionSavesIntoTheFileItCameFrom)
{
    const std::string path = WriteTestLas(dir.file("well.las"), 2, 50);
    ASSERT_TRUE(Open(path));
    Document().GetCurveData(1)[3] = 77.0f;
    window->SetModified();
    runner->Push(platform::IDNO);  // not saved at the close
    window->close();
    window.reset();
    CreateWindow();
    const std::string last = window->SessionsDir + "last.vxs";
    ASSERT_TRUE(window->LoadSession(QString::fromStdString(last)));
    StrativSession stored;
    std::string error;
    ASSERT_TRUE(stored.Load(last, error)) << error;
    const std::string copy = window->SessionsDir + stored.LasCopyName;
    const std::string copyBytes = strativ::test::ReadFileBytes(copy);

    runner->Clear();
    runner->PushDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EditFileName")->text(), QString::fromStdString(path));
        return int(QDialog::Accepted);
    });
    runner->Push(platform::IDYES);  // replace the file
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_EQ(Messages(), QStringList{"Сохранение|Файл\n" + QString::fromStdString(path) + "\nуже существует. Заменить?"});
    EXPECT_EQ(TLASFile(path, 2).GetCurveData(1)[3], 77.0f);
    EXPECT_EQ(strativ::test::ReadFileBytes(copy), copyBytes);
    EXPECT_EQ(window->windowTitle(), "Strativ - " + QString::fromStdString(path));
    EXPECT_FALSE(window->IsModified());
}

TEST_F(MainWindowTest, IntervalBandsArePaintedOverThePanel)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("well.las"), 1, 400, 100.0, 0.25)));
    window->PanelCurves->GetCurve(0)->SetVisible(false);
    window->PanelCurves->GotoDepth(120);
    IntervalItem* band = window->Intervals.SetInterval(118, 122);
    band->Color = 0x0000FF;
    const QRect area = window->PanelCurves->DrawingArea();
    const int y = area.top() + area.height() / 2 - 10;  // depth 120 is in the middle, a grid line
    const auto redPixels = [&] {
        window->RefreshIntervals();
        int red = 0;
        for (int x = area.left() + 5; x < area.right() - 5; x += 7)
            red += window->PanelCurves->Bitmap().pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        return red;
    };
    EXPECT_GT(redPixels(), 0);
    band->Active = false;
    EXPECT_EQ(redPixels(), 0);
}
