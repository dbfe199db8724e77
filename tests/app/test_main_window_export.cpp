// Export through the main window's command: the dialog's defaults and checks, the text table
// compared as text, the LAS export read back, and failed writes.
#include "AppTestSupport.h"

#include "datawin/CurveCheckList.h"
#include "datawin/Export.h"
#include "datawin/ExportTable.h"
#include "platform/FileErrors.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FileSizeLimit.h"
#include "ui_Export.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QRadioButton>
#include <QUrl>
#include <filesystem>
#include <functional>

namespace strativ::test {
namespace {

// Receives the files the export asks the desktop to open.
class OpenedFiles : public QObject
{
    Q_OBJECT
public:
    OpenedFiles() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedFiles() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

const std::string kRule(64, '-');

// The data rows of an exported text table: what follows its second rule.
std::string TableRows(const std::string& path)
{
    const std::string text = ReadFileBytes(path);
    return text.substr(text.rfind(kRule) + kRule.size() + 2);
}

class ExportWindowTest : public MainWindowTest {
protected:
    // Runs the export command; `steps` works the shown dialog, which is then closed by "Закрыть".
    void RunExport(const std::function<void(Ui::TFormExport&)>& steps)
    {
        runner->PushDialog([this, steps](QDialog& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            steps(static_cast<TFormExport&>(dialog).Form());
            EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open after an export";
            static_cast<TFormExport&>(dialog).Form().ButtonCancel->click();
            return dialog.result();
        });
        window->TBExport->trigger();
        EXPECT_EQ(runner->PendingAnswers(), 0);
    }

    // Presses "Экспорт" with the save dialog answered by `path` and the closing question by `answer`.
    void Export(Ui::TFormExport& f, const std::string& path, int answer = platform::IDNO)
    {
        runner->PushFiles({QString::fromStdString(path)});
        runner->Push(answer);
        f.ButtonOk->click();
    }

    QStringList MessagesSince(std::size_t first) const
    {
        QStringList out;
        for (std::size_t i = first; i < runner->Requests().size(); ++i)
            if (runner->Requests()[i].kind == platform::DialogKind::Message)
                out << runner->Requests()[i].title + "|" + runner->Requests()[i].text;
        return out;
    }
};

TEST_F(ExportWindowTest, TheTextTableHoldsTheHeaderAndTheThinnedRowsWithTheLocaleSeparator)
{
    runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });
    window->TBExport->trigger();
    EXPECT_EQ(runner->Requests().size(), 0u) << "nothing without a document";
    runner->Clear();

    platform::SetDecimalSeparator(QChar(','));
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));  // 100 .. 110 by 0.5
    runner->Clear();
    const std::string table = dir.file("table.txt");
    OpenedFiles opened;
    RunExport([&](Ui::TFormExport& f) {
        ASSERT_EQ(f.ListBoxCurves->count(), 2);
        EXPECT_EQ(f.ListBoxCurves->item(1)->text(), "C2");
        EXPECT_EQ(f.ListBoxCurves->item(1)->checkState(), Qt::Checked);
        EXPECT_EQ(f.LabelFileInfo->text(), "Файл target.las Интервал глубин: 100,0 - 110,0 с шагом 0,5");
        EXPECT_FALSE(f.CheckBoxLimitDept->isChecked());
        EXPECT_EQ(f.EditLimitFrom->Value(), 100.0);
        EXPECT_EQ(f.EditLimitTo->Value(), 110.0);
        EXPECT_EQ(f.EditDeptStep->Value(), 0.5);
        EXPECT_EQ(f.EditDeptStep->text(), "0,50");
        EXPECT_EQ(f.ComboBoxStepMes->currentText(), "Исходных единицах");
        EXPECT_TRUE(f.RBDeptSimple->isChecked());
        EXPECT_TRUE(f.RBExpText->isChecked());

        // 101 .. 104 typed with the comma, every second row.
        f.CheckBoxLimitDept->setChecked(true);
        auto* typed = f.EditLimitFrom->findChild<QLineEdit*>();
        typed->selectAll();
        QTest::keyClicks(typed, "101,00");
        f.EditLimitTo->SetValue(104.0);
        f.EditDeptStep->SetValue(1.0);
        Export(f, table, platform::IDYES);
    });
    const std::string header = "Экспорт файла 'target.las'\r\n"
                               "Интервал экспорта: 101,0 - 104,0 (M).\r\n"
                               "Шаг экспорта: 1,0 (M)\r\n"
                               "(исходный шаг: 0,5 (M))\r\n" +
                               kRule + "\r\nКривые:\r\n" +
                               "C1, Ед. изм. U1, Комментарий CURVE 1\r\n"
                               "C2, Ед. изм. U2, Комментарий CURVE 2\r\n" +
                               kRule + "\r\n";
    // Values as the file holds them.
    EXPECT_EQ(ReadFileBytes(table), header + "     101,0        12        22\r\n"
                                             "     102,0        14        24\r\n"
                                             "     103,0        16        26\r\n"
                                             "     104,0        11        21\r\n");
    const platform::DialogRequest& save = runner->Requests()[1];
    EXPECT_EQ(save.title, "Введите имя файла для экспорта");
    EXPECT_EQ(save.file.fileName, "target.las.txt");
    EXPECT_EQ(save.file.directory, QString::fromStdString(dir.path()));
    EXPECT_EQ(save.file.defaultSuffix, "txt");
    EXPECT_TRUE(save.file.confirmOverwrite);
    EXPECT_EQ(Messages(), QStringList{"Экспорт файла|Файл table.txt экспортирован успешно.\nОткрыть его в "
                                      "текстовом редакторе?"});
    EXPECT_EQ(runner->Requests()[2].flags, platform::MB_YESNO | platform::MB_ICONQUESTION);
    EXPECT_EQ(opened.paths, QStringList{QString::fromStdString(table)});
    EXPECT_FALSE(window->IsModified());
}

TEST_F(ExportWindowTest, DepthFormatsAndNumbersThatFillTheirFieldStaySeparated)
{
    const std::string las = dir.file("time.las");
    WriteFileBytes(las, "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.S 125.7 :\r\n STOP.S 3725.7 :\r\n"
                        " STEP.S 3600 :\r\n NULL. -999.25 :\r\n~C\r\n TIME.S : TIME\r\n A.MV : first\r\n B. : second\r\n"
                        "~A\r\n125.7 1234567.00 12345678.000\r\n3725.7 -999.25 0.125\r\n");
    ASSERT_TRUE(Open(las));
    runner->Clear();
    std::vector<std::string> tables;
    RunExport([&](Ui::TFormExport& f) {
        for (QRadioButton* format : {f.RBDeptSimple, f.RBDeptHoursMinutes, f.RBDeptMinutesSeconds,
                                     f.RBDeptHoursMinutesSeconds}) {
            format->click();
            tables.push_back(dir.file("t" + std::to_string(tables.size()) + ".txt"));
            Export(f, tables.back());
        }
    });
    ASSERT_EQ(tables.size(), 4u);
    EXPECT_EQ(TableRows(tables[0]), "     125.7 1234567.00 12345678.000\r\n    3725.7   -999.25     0.125\r\n");
    EXPECT_EQ(TableRows(tables[1]), "      2ч5м 1234567.00 12345678.000\r\n     62ч5м   -999.25     0.125\r\n");
    EXPECT_EQ(TableRows(tables[2]), "      2м5с 1234567.00 12345678.000\r\n     62м5с   -999.25     0.125\r\n");
    EXPECT_EQ(TableRows(tables[3]), "    0ч2м5с 1234567.00 12345678.000\r\n    1ч2м5с   -999.25     0.125\r\n");
    EXPECT_EQ(TFormExport::FormatDepth(3, 125.7f), "0ч2м5с");
    EXPECT_EQ(TFormExport::FormatDepth(7, 125.7f), "");
    EXPECT_NE(ReadFileBytes(tables[0]).find("Шаг экспорта: 3600.0 (S)\r\n"), std::string::npos);
}

TEST_F(ExportWindowTest, TheLasExportReadsBackWithTheThinnedDepthsAndTheTickedCurves)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));
    runner->Clear();
    const std::string las = dir.file("thin.las");
    RunExport([&](Ui::TFormExport& f) {
        f.RBExpLas->click();
        EXPECT_FALSE(f.RGDeptFormat->isEnabled());
        f.RBExpText->click();
        f.RBDeptHoursMinutes->click();
        f.RBExpLas->click();
        EXPECT_TRUE(f.RBDeptSimple->isChecked());
        f.ListBoxCurves->item(0)->setCheckState(Qt::Unchecked);
        f.ComboBoxStepMes->setCurrentIndex(1);
        EXPECT_EQ(f.EditDeptStep->Value(), 1.0);
        f.EditDeptStep->SetValue(2);
        runner->PushFiles({QString::fromStdString(las)});
        f.ButtonOk->click();
    });
    EXPECT_EQ(runner->Requests()[1].file.fileName, "target.lasExport.las");
    EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Файл thin.las сохранен"});

    TLASFile back(las, 2);
    ASSERT_TRUE(back.IsLoaded()) << back.GetLoadError();
    ASSERT_EQ(back.GetCurvesCount(), 2);
    EXPECT_EQ(back.GetCurveName(1), "C2");
    ASSERT_EQ(back.GetPointCount(), 11);
    EXPECT_FLOAT_EQ(back.GetStep(), 1.0f);
    for (int i = 0; i < 11; ++i) {
        EXPECT_FLOAT_EQ(back.GetCurveData(0)[i], 100.0f + i);
        EXPECT_EQ(back.GetCurveData(1)[i], GeneratedValue(2, 2 * i)) << i;
    }
    EXPECT_NE(ReadFileBytes(las).find(" STEP.M"), std::string::npos);
}

TEST_F(ExportWindowTest, ChecksRunInOrderAndSnapTheStep)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));  // 100 .. 110 by 0.5
    runner->Clear();
    const QString title = platform::ApplicationTitle();
    const QString badLimit = "Ошибка задания параметров экспорта|Некорректно задано ограничение интервала глубины";
    const QString badStep = "Некорректный параметр|Слишком большой шаг по глубине";
    RunExport([&](Ui::TFormExport& f) {
        f.ButtonUnselectAll->click();
        f.CheckBoxLimitDept->setChecked(true);
        f.EditLimitFrom->SetValue(104.2);
        f.EditLimitTo->SetValue(104.0);
        f.EditDeptStep->SetValue(100);
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{title + "|Не выбрано ни одной кривой для экспорта!"});

        // A reversed range shorter than a step: swapped, then refused.
        runner->Clear();
        f.ButtonSelectAll->click();
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{badLimit});
        EXPECT_EQ(runner->Last().flags, platform::MB_OK | platform::MB_ICONWARNING);
        EXPECT_EQ(f.EditLimitFrom->Value(), 104.0);
        EXPECT_EQ(f.EditLimitTo->Value(), 104.2);
        EXPECT_TRUE(f.EditLimitFrom->hasFocus());

        // Limits beyond the document are brought into it; then the step is too large.
        runner->Clear();
        f.EditLimitFrom->SetValue(50);
        f.EditLimitTo->SetValue(500);
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{badStep});
        EXPECT_EQ(f.EditLimitFrom->Value(), 100.0);
        EXPECT_EQ(f.EditLimitTo->Value(), 110.0);
        EXPECT_TRUE(f.EditDeptStep->hasFocus());

        // 1.4 steps snap to one, 1.5 to two; 21 steps reach the point count.
        runner->Clear();
        f.CheckBoxLimitDept->setChecked(false);
        f.EditDeptStep->SetValue(0.7);
        runner->PushCancel();
        f.ButtonOk->click();
        EXPECT_EQ(f.EditDeptStep->Value(), 0.5);
        f.EditDeptStep->SetValue(0.75);
        runner->PushCancel();
        f.ButtonOk->click();
        EXPECT_EQ(f.EditDeptStep->Value(), 1.0);
        EXPECT_EQ(f.EditDeptStep->text(), "1.00");
        f.EditDeptStep->SetValue(10.4);
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{badStep});
        EXPECT_EQ(runner->Requests().size(), 3u) << "a cancelled save dialog ends the export silently";

        // In array numbers the step must stay below the point count.
        runner->Clear();
        f.ComboBoxStepMes->setCurrentIndex(1);
        EXPECT_EQ(f.EditDeptStep->Value(), 21.0);
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{badStep});
        f.EditDeptStep->SetValue(3);
        f.ComboBoxStepMes->setCurrentIndex(0);
        EXPECT_EQ(f.EditDeptStep->Value(), 1.5);

        // Two rows one step apart: a text table of one row, but no LAS file.
        runner->Clear();
        f.CheckBoxLimitDept->setChecked(true);
        f.EditLimitFrom->SetValue(100);
        f.EditLimitTo->SetValue(100.5);
        f.RBExpLas->click();
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList{badStep});
        f.RBExpText->click();
        Export(f, dir.file("one.txt"));
        EXPECT_EQ(MessagesSince(1).size(), 1);

        // "Восстановить параметры по умолчанию" fills the dialog as the command did.
        f.ButtonUnselectAll->click();
        f.ComboBoxStepMes->setCurrentIndex(1);
        f.RBExpLas->click();
        f.ButtonReset->click();
        EXPECT_EQ(CheckedCurves(*f.ListBoxCurves).size(), 2u);
        EXPECT_FALSE(f.CheckBoxLimitDept->isChecked());
        EXPECT_EQ(f.ComboBoxStepMes->currentIndex(), 0);
        EXPECT_EQ(f.EditDeptStep->Value(), 0.5);
        EXPECT_EQ(f.EditDeptStep->minimum(), 0.5);
        EXPECT_TRUE(f.RBExpText->isChecked());
        EXPECT_TRUE(f.RGDeptFormat->isEnabled());
    });
    EXPECT_EQ(TableRows(dir.file("one.txt")), "     100.0        10        20\r\n");
}

TEST_F(ExportWindowTest, ALimitOnSamplesTakesThoseSamplesWhateverTheFloatRounding)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("fine.las"), 1, 31, 1000.0, 0.1)));
    runner->Clear();
    RunExport([&](Ui::TFormExport& f) {
        f.CheckBoxLimitDept->setChecked(true);
        f.EditLimitFrom->SetValue(1000.1);
        f.EditLimitTo->SetValue(1000.2);
        Export(f, dir.file("two.txt"));
        f.EditLimitFrom->SetValue(1000.15);
        f.EditLimitTo->SetValue(1000.35);
        Export(f, dir.file("outward.txt"));
    });
    EXPECT_EQ(runner->Requests()[1].kind, platform::DialogKind::File) << "one step is a valid range";
    EXPECT_EQ(TableRows(dir.file("two.txt")), "    1000.1        11\r\n    1000.2        12\r\n");
    EXPECT_EQ(TableRows(dir.file("outward.txt")), "    1000.1        11\r\n    1000.2        12\r\n"
                                                  "    1000.3        13\r\n    1000.4        14\r\n");
}

TEST_F(ExportWindowTest, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 2001)));
    runner->Clear();
    const std::string missing = dir.file("gone/table.txt");
    const std::string old = dir.file("old.txt");
    WriteFileBytes(old, "old table\r\n");
    RunExport([&](Ui::TFormExport& f) {
        Export(f, missing);
        f.RBExpLas->click();
        runner->PushFiles({QString::fromStdString(missing)});
        f.ButtonOk->click();
        EXPECT_EQ(Messages(), QStringList(2, "Ошибка|" + platform::WriteFailureText(QString::fromStdString(missing))));
        EXPECT_EQ(runner->Requests()[2].flags, platform::MB_OK | platform::MB_ICONERROR);

        // A write cut short (the file size limit) leaves the old file whole.
        runner->Clear();
        f.RBExpText->click();
        WithFileSizeLimit(16 * 1024, [&] { Export(f, old); });
        EXPECT_EQ(Messages(), QStringList{"Ошибка|" + platform::WriteFailureText(QString::fromStdString(old), EFBIG)});
    });
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
    EXPECT_EQ(ReadFileBytes(old), "old table\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind(".strativ-", 0), 0u) << "a temporary file is left";
}

// An export over the open document or a LAS file names what it would replace and writes
// nothing unless the user says yes.
TEST_F(ExportWindowTest, AnExportOverTheOpenDocumentOrALasFileAsksFirst)
{
    const std::string target = WriteTestLas(dir.file("target.las"), 2, 21);
    const std::string other = WriteTestLas(dir.file("other.las"), 2, 21);
    ASSERT_TRUE(Open(target));
    const struct {
        bool las;
        std::string path;
        QString what;
    } cases[] = {{false, target, "открытый документ"}, {true, target, "открытый документ"}, {false, other, "LAS файл"}};
    for (const auto& c : cases) {
        const std::string bytes = ReadFileBytes(c.path);
        runner->Clear();
        RunExport([&](Ui::TFormExport& f) {
            (c.las ? f.RBExpLas : f.RBExpText)->click();
            Export(f, c.path, platform::IDNO);
        });
        EXPECT_EQ(Messages(), QStringList{"Введите имя файла для экспорта|Файл\n" + QString::fromStdString(c.path) +
                                          "\n- " + c.what + ". Записать поверх него?"});
        EXPECT_EQ(ReadFileBytes(c.path), bytes) << c.path;
    }
}

}  // namespace
}  // namespace strativ::test

#include "test_main_window_export.moc"
