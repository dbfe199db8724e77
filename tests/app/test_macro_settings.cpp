// The macro manager beside the main window: it follows the document, reports macro files it
// cannot read or write, and its settings window edits the macros through the dialog runner.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "core/SettingsFile.h"
#include "printing/MacroLists.h"
#include "printing/MacroSettingsDlg.h"
#include "tests/common/FileBytes.h"
#include "ui_MacroSettingsDlg.h"
#include "ui_MainUnit.h"

#include <QPushButton>
#include <filesystem>
#include <tuple>

namespace strativ::test {
namespace {

class MacroWindowTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        DeleteMacroManager();
    }

    std::string Templates() const { return dir.path() + "/templates/"; }

    std::string WellLas(const std::string& name, const std::string& well)
    {
        const std::string path = WriteTestLas(dir.file(name), 2, 5);
        std::string text = ReadFileBytes(path);
        text.replace(text.find("WELL.   TEST"), 12, "WELL.   " + well);
        WriteFileBytes(path, text);
        return path;
    }

    static std::string Value(const std::string& key)
    {
        for (int n = 0; n < MacroManager->GetCount(); ++n) {
            TQ7MacroRecord r;
            r.Mask = TQ7MacroRecord::MaskKey | TQ7MacroRecord::MaskValue;
            MacroManager->GetMacro(n, r);
            if (r.Key == key)
                return r.Value;
        }
        return "<none>";
    }

    // The settings window run through the runner; `act` works on it while it is open.
    void RunSettings(std::function<void(TFormMacroSettings&)> act)
    {
        runner->PushDialog([act](QDialog& dialog) {
            act(static_cast<TFormMacroSettings&>(dialog));
            return int(QDialog::Accepted);
        });
        window->Form().MMIToolsMacro->trigger();
    }

    void RecreateWindow()
    {
        window->close();
        window.reset();
        runner->Clear();
        CreateWindow();
    }
};

TEST_F(MacroWindowTest, TheManagerFollowsTheDocumentAndNeverKeepsAFreedOne)
{
    ASSERT_NE(MacroManager, nullptr);
    EXPECT_EQ(Value("WELL"), "");
    ASSERT_TRUE(Open(WellLas("a.las", "Alpha")));
    EXPECT_EQ(Value("WELL"), "Alpha");
    const std::string session = dir.file("b.vxs");
    ASSERT_TRUE(Open(WellLas("b.las", "Beta")));
    EXPECT_EQ(Value("WELL"), "Beta");
    ASSERT_TRUE(window->SaveSession(QString::fromStdString(session)));
    ASSERT_TRUE(Open(WellLas("c.las", "Gamma")));
    EXPECT_EQ(Value("WELL"), "Gamma");
    ASSERT_TRUE(window->LoadSession(QString::fromStdString(session)));
    EXPECT_EQ(Value("WELL"), "Beta");
    window->TBUndoClick();
    window->TBRedoClick();
    EXPECT_EQ(MacroManager->LasParser, &window->LasFile()->GetParser());
    EXPECT_EQ(Value("WELL"), "Beta");

    window.reset();  // destroyed without a close: the manager lives on without the document
    ASSERT_NE(MacroManager, nullptr);
    EXPECT_EQ(MacroManager->LasParser, nullptr);
    EXPECT_EQ(Value("WELL"), "");
}

TEST_F(MacroWindowTest, UnreadableAndUnwritableMacroFilesAreReported)
{
    const std::string file = Templates() + "Macros.mcr";
    window->close();
    window.reset();
    WriteFileBytes(file, "[Settings]\r\nVersion=2\r\n");
    CreateWindow();
    const QString path = QString::fromStdString(file);
    QTest::qWait(20);
    EXPECT_EQ(Messages(), QStringList{"Strativ|Файлы настроек повреждены или другого формата и не прочитаны:\n" +
                                      path + " - сохранен как " + path + ".bak"});
    EXPECT_EQ(ReadFileBytes(file + ".bak"), "[Settings]\r\nVersion=2\r\n");

    window->close();
    EXPECT_NE(ReadFileBytes(file).find("Version=Q7MacroFile_V_1"), std::string::npos);
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    window.reset();
    runner->Clear();
    CreateWindow();
    EXPECT_EQ(Messages(), QStringList{"Макроподстановки|Файл макроподстановок\n" + path +
                                      "\nне удалось прочитать. Изменения подстановок не будут сохранены"});
    runner->Clear();
    window->close();
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join("\n").toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(file));

    // A macro file whose folder is gone by the close.
    std::filesystem::create_directory(Templates() + "sub");
    TSettingsFile ini(Templates() + "templates.ini");
    ini.WriteString("Macros", "FileName", "sub/m.mcr");
    ASSERT_TRUE(ini.Save());
    window.reset();
    runner->Clear();
    CreateWindow();
    std::filesystem::remove(Templates() + "sub");
    window->close();
    EXPECT_EQ(Messages(), QStringList{"Макроподстановки|Не удалось сохранить файл макроподстановок\n" +
                                      QString::fromStdString(Templates() + "sub/m.mcr")});
}

TEST_F(MacroWindowTest, AKeyMustBeGivenAndADuplicateIsAskedFor)
{
    RunSettings([](TFormMacroSettings& w) {
        Ui::TFormMacroSettings& f = w.Form();
        ASSERT_EQ(f.ListBox->count(), 30);
        f.ListBox->setCurrentRow(0);
        EXPECT_EQ(f.EditMacroKey->text(), "operator");
        EXPECT_FALSE(f.EditMacroValue->isReadOnly());
        f.EditMacroKey->setText("SDATE");
        f.EditMacroName->setText("Инженер");
        EXPECT_EQ(w.ApplyMacroChange(0), 2);  // answered No
        f.EditMacroKey->clear();
        EXPECT_EQ(w.ApplyMacroChange(0), 1);

        f.ListBox->setCurrentRow(1);
        EXPECT_EQ(f.EditMacroValue->text(), "Определяется системой");
        EXPECT_TRUE(f.EditMacroValue->isReadOnly());
        f.ListBox->setCurrentRow(21);
        EXPECT_EQ(f.EditMacroValue->text(), "Берется из Las файла");
    });
    // No answer is scripted for the question: it gets what Esc gives, No.
    const QStringList messages = Messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "Предупреждение|Значение ключа не уникально\n(совпадает с 'Текущая дата', номер в "
                           "списке: 2)\nВсе равно применить?");
    EXPECT_EQ(messages[1], "Неверный параметр|Не допускается пустое значение ключа!");
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskKey | TQ7MacroRecord::MaskName;
    ASSERT_TRUE(MacroManager->GetMacro(0, r));
    EXPECT_EQ(r.Key, "operator");
    EXPECT_EQ(r.Name, "Оператор");
}

TEST_F(MacroWindowTest, ANewMacroFileListsTheDefaultsAndIsRemembered)
{
    const std::string chosen = Templates() + "new.mcr";
    RunSettings([&](TFormMacroSettings& w) {
        runner->PushFiles({QString::fromStdString(chosen)});
        w.Form().ButtonChangeFile->click();
        EXPECT_EQ(w.Form().ListBox->count(), 30);
        EXPECT_EQ(w.Form().LabelMacroFile->text(), "new.mcr");
        // Delimiters typed here are kept in the file.
        w.Form().EditLDelim->clear();
        w.Form().EditRDelim->clear();
        QTest::keyClicks(w.Form().EditLDelim, "<");
        QTest::keyClicks(w.Form().EditRDelim, ">");
        EXPECT_TRUE(w.Form().BitBtnOkDelims->isEnabled());
        w.Form().BitBtnOkDelims->click();
        EXPECT_FALSE(w.Form().BitBtnOkDelims->isEnabled());
    });
    EXPECT_FALSE(std::filesystem::exists(chosen));  // written when the manager is deleted
    window->close();
    const std::string text = ReadFileBytes(chosen);
    EXPECT_NE(text.find("Left=<\r\nRight=>"), std::string::npos) << text;
    EXPECT_NE(text.find("[Q7M_29]"), std::string::npos);
    EXPECT_NE(ReadFileBytes(Templates() + "templates.ini").find("[Macros]\r\nFileName=new.mcr"), std::string::npos)
        << ReadFileBytes(Templates() + "templates.ini");

    window.reset();
    CreateWindow();
    EXPECT_EQ(MacroManager->GetPath(), chosen);
    EXPECT_EQ(MacroManager->GetLeftDelim(), "<");
}

TEST_F(MacroWindowTest, AFileOfAnotherKindIsNotTakenForMacrosUnlessTheUserSaysSo)
{
    const std::string las = WellLas("open.las", "Alpha");
    ASSERT_TRUE(Open(las));
    const std::string bytes = ReadFileBytes(las);
    RunSettings([&](TFormMacroSettings& w) {
        runner->Clear();
        runner->PushFiles({QString::fromStdString(las)});  // the question then gets Esc
        w.Form().ButtonChangeFile->click();
        EXPECT_EQ(w.Form().LabelMacroFile->text(), "Macros.mcr");
        runner->PushFiles({QString::fromStdString(Templates() + "other.mcr")});
        w.Form().ButtonChangeFile->click();
        EXPECT_EQ(w.Form().LabelMacroFile->text(), "other.mcr");
    });
    const platform::DialogRequest& question = runner->Requests()[1];
    EXPECT_EQ(question.title + "|" + question.text,
              "Макроподстановки|Файл\n" + QString::fromStdString(las) +
                  "\nне является файлом макроподстановок (открытый документ). Записать макроподстановки поверх "
                             "него?");
    EXPECT_EQ(question.flags & (platform::MB_BUTTONMASK | platform::MB_DEFBUTTON2),
              platform::MB_YESNO | platform::MB_DEFBUTTON2);
    window->close();
    EXPECT_EQ(ReadFileBytes(las), bytes);
    EXPECT_FALSE(std::filesystem::exists(las + ".bak"));
}

// A macro file chosen outside the templates folder is used after a restart; once it is gone,
// that is told once and the standard file is used.
TEST_F(MacroWindowTest, AMacroFileInAnotherFolderIsKeptAcrossRestartsUntilItIsGone)
{
    std::filesystem::create_directories(dir.file("other"));
    const std::string chosen = dir.file("other/m.mcr");
    RunSettings([&](TFormMacroSettings& w) {
        runner->PushFiles({QString::fromStdString(chosen)});
        w.Form().ButtonChangeFile->click();
    });
    const std::string standard = Templates() + "Macros.mcr";
    for (const auto& [gone, used, told] : {std::tuple{false, chosen, 0}, {true, standard, 1}, {false, standard, 0}}) {
        window->close();
        if (gone)
            std::filesystem::remove(chosen);
        RecreateWindow();
        EXPECT_EQ(MacroManager->GetPath(), used);
        EXPECT_EQ(Messages().filter("Файл макроподстановок\n" + QString::fromStdString(chosen) + "\nне найден").size(), told);
    }
}

}  // namespace
}  // namespace strativ::test
