// The macro store on temporary files: the default file, reads and writes by mask, values of
// system and LAS macros, and files that are damaged, unreadable or cannot be written.
#include "core/CodePages.h"
#include "core/Lasfile.h"
#include "printing/MacroLists.h"
#include "printing/Q7CellsArray.h"
#include "printing/TitleMacroLists.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using strativ::test::ReadFileBytes;
using strativ::test::WriteFileBytes;

class MacroStore : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::string path = dir.file("Macros.mcr");

    void TearDown() override
    {
        DeleteMacroManager();
        SetMacroDocument(nullptr);
        SetTemplateVariableHook({});
    }

    static std::vector<std::string> Keys(const TQ7CustomMacro& store)
    {
        std::vector<std::string> keys;
        for (int n = 0; n < store.GetCount(); ++n) {
            TQ7MacroRecord r;
            r.Mask = TQ7MacroRecord::MaskKey;
            EXPECT_TRUE(store.GetMacro(n, r));
            keys.push_back(r.Key);
        }
        return keys;
    }
    static int IndexOf(const TQ7CustomMacro& store, const std::string& key)
    {
        const auto keys = Keys(store);
        return static_cast<int>(std::find(keys.begin(), keys.end(), key) - keys.begin());
    }
};

TEST_F(MacroStore, ANewFileHoldsTheDefaultMacrosInOrder)
{
    CreateMacroManagerAt(path);
    ASSERT_NE(MacroManager, nullptr);
    EXPECT_EQ(MacroManager->GetFileState(), TQ7CustomMacro::FileState::Missing);
    ASSERT_TRUE(DeleteMacroManager());

    const std::string text = ReadFileBytes(path);
    EXPECT_EQ(text.rfind("[Settings]\r\nVersion=Q7MacroFile_V_1\r\nLeft=[\r\nRight=]\r\n", 0), 0u) << text;
    const size_t list = text.find("[AllMacrosList]\r\n");
    ASSERT_NE(list, std::string::npos);
    for (int n = 0; n < 30; ++n)
        EXPECT_NE(text.find("[Q7M_" + std::to_string(n) + "]"), std::string::npos) << n;

    TWendMacroManager store(path);
    EXPECT_EQ(store.GetFileState(), TQ7CustomMacro::FileState::Loaded);
    const std::vector<std::string> expected = {
        "operator", "sdate", "stime", "lasfile", "interval", "prntop",   "prnbot", "prnscale",
        "progver",  "progmail", "progweb", "metGK", "metPERF", "metPODOSHVA", "metKM", "metDIST",
        "STRT", "STOP", "STEP", "NULL", "COMP", "WELL", "FLD", "LOC", "PROV", "CTRY", "SRVC", "DATE", "UWI", "API"};
    EXPECT_EQ(Keys(store), expected);

    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskAll;
    ASSERT_TRUE(store.GetMacro(0, r));
    EXPECT_EQ(std::tie(r.Name, r.Description, r.Value, r.SType), std::make_tuple("Оператор", "Оператор", "?", 0));
    EXPECT_EQ(GetMacroKind(store, r), 0);
    ASSERT_TRUE(store.TQ7CustomMacro::GetMacro(IndexOf(store, "metDIST"), r));
    EXPECT_EQ(r.Name, "МЕТКА: Контрольная метка<->Основная метка");
    EXPECT_EQ(r.Description, "МЕТКА: Расчет расстояния Контрольная метка<->Основная метка");
    EXPECT_EQ(std::tie(r.SearchInfo1, r.SearchInfo2, r.SType), std::make_tuple("system", "metDIST", 2));
    EXPECT_EQ(GetMacroKind(store, r), 1);
    ASSERT_TRUE(store.TQ7CustomMacro::GetMacro(IndexOf(store, "DATE"), r));
    EXPECT_EQ(std::tie(r.Name, r.SearchInfo1, r.SearchInfo2, r.SearchInfo3),
              std::make_tuple("Дата регистрации", "las", "2", "DATE"));
    EXPECT_EQ(GetMacroKind(store, r), 2);

    EXPECT_EQ(FindDuplicateKey(store, 0, "SDATE"), 1);
    EXPECT_EQ(FindDuplicateKey(store, 1, "sdate"), -1);  // only itself
    EXPECT_EQ(FindDuplicateKey(store, 30, "sdate"), -2);
}

TEST_F(MacroStore, FieldsAreReadAndWrittenByMask)
{
    TQ7CustomMacro store(path);
    const int n = store.AddMacro();
    TQ7MacroRecord all;
    all.Mask = TQ7MacroRecord::MaskAll;
    all.Key = "AREA";
    all.Name = "Площадь";
    all.Value = "Тюменская";
    all.Description = "Лицензионный участок";
    ASSERT_TRUE(store.SetMacro(n, all));

    TQ7MacroRecord name;
    name.Mask = TQ7MacroRecord::MaskName;
    name.Name = "Участок";
    name.Value = "not written";
    ASSERT_TRUE(store.SetMacro(n, name));

    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskAll;
    ASSERT_TRUE(store.GetMacro(n, r));
    EXPECT_EQ(std::tie(r.Key, r.Name, r.Value, r.Description),
              std::make_tuple("AREA", "Участок", "Тюменская", "Лицензионный участок"));

    TQ7MacroRecord only;
    only.Mask = TQ7MacroRecord::MaskValue;
    only.Name = "kept";
    ASSERT_TRUE(store.GetMacro(n, only));
    EXPECT_EQ(std::tie(only.Name, only.Value), std::make_tuple("kept", "Тюменская"));
    EXPECT_FALSE(store.GetMacro(n + 1, only));
    EXPECT_FALSE(store.SetMacro(-1, all));

    // A fresh macro has no Key yet: reading it fails, and its missing numbers read 0.
    const int fresh = store.AddMacro();
    TQ7MacroRecord missing;
    missing.Mask = TQ7MacroRecord::MaskKey | TQ7MacroRecord::MaskSType;
    missing.SType = 5;
    EXPECT_FALSE(store.GetMacro(fresh, missing));

    // The first free section number is taken again, the macro goes last.
    store.DeleteMacro(0);
    EXPECT_EQ(store.AddMacro(), 1);
    ASSERT_TRUE(store.Save());
    EXPECT_NE(ReadFileBytes(path).find("[AllMacrosList]\r\nQ7M_1=_\r\nQ7M_0=_\r\n"), std::string::npos)
        << ReadFileBytes(path);
}

TEST_F(MacroStore, PredefinedMacrosTakeTheProgramsAndTheDocumentsValues)
{
    const std::string las = dir.file("w.las");
    WriteFileBytes(las, "~VERSION INFORMATION\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~WELL INFORMATION\r\n"
                        " STRT.M 100 :\r\n STOP.M 101 :\r\n STEP.M 1 :\r\n NULL. -999.25 :\r\n"
                        " WELL.   " + AnsiToOemString("Скв-1 бис") + "   : WELL\r\n"
                        "~CURVE INFORMATION\r\n DEPT.M :\r\n GR.API :\r\n~A\r\n100 1\r\n101 2\r\n");
    TLASFile document(las, 4);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    SetTemplateVariableHook([](const std::string& name) { return name == "sdate" ? "07.12.2026" : ""; });

    CreateMacroManagerAt(path);
    TWendMacroManager& m = *MacroManager;
    const auto value = [&](const std::string& key) {
        TQ7MacroRecord r;
        r.Mask = TQ7MacroRecord::MaskValue;
        EXPECT_TRUE(m.GetMacro(IndexOf(m, key), r)) << key;
        return r.Value;
    };
    EXPECT_EQ(value("sdate"), "07.12.2026");
    EXPECT_EQ(value("prntop"), "");
    EXPECT_EQ(value("WELL"), "");  // no document: the stored value
    SetMacroDocument(&document.GetParser());
    EXPECT_EQ(value("WELL"), "Скв-1 бис");  // trimmed, decoded as the document's header
    EXPECT_EQ(value("COMP"), "");
    EXPECT_EQ(value("operator"), "?");

    // A manager made later gets the document at once; forgetting another document keeps it.
    CreateMacroManagerAt(dir.file("second.mcr"));
    EXPECT_EQ(MacroManager->LasParser, &document.GetParser());
    ForgetMacroDocument(nullptr);
    EXPECT_EQ(MacroManager->LasParser, &document.GetParser());
    ForgetMacroDocument(&document.GetParser());
    EXPECT_EQ(MacroManager->LasParser, nullptr);
}

TEST_F(MacroStore, AFileOfAnotherKindIsKeptBesideTheNewOne)
{
    const std::string old = "[Settings]\r\nVersion=Q7MacroFile_V_2\r\n[AllMacrosList]\r\nQ7M_0=mine\r\n";
    int copies = 0;
    for (const std::string& bytes : {old, std::string()}) {
        WriteFileBytes(path, bytes);
        WriteFileBytes(path + ".bak", "older backup");
        CreateMacroManagerAt(path);
        EXPECT_EQ(MacroManager->GetFileState(), TQ7CustomMacro::FileState::Replaced);
        // An earlier copy is never replaced.
        EXPECT_EQ(ReadFileBytes(path + ".bak"), "older backup");
        EXPECT_EQ(MacroManager->BackupPath(), path + "." + std::to_string(++copies) + ".bak");
        EXPECT_EQ(ReadFileBytes(MacroManager->BackupPath()), bytes);
        EXPECT_EQ(MacroManager->GetCount(), 0);  // the file existed: no defaults are added
        ASSERT_TRUE(DeleteMacroManager());
        EXPECT_NE(ReadFileBytes(path).find("Version=Q7MacroFile_V_1"), std::string::npos);
    }

    // Letter case of the version does not matter; stray keys and sections are dropped.
    WriteFileBytes(path, "[Settings]\r\nVersion=q7macrofile_v_1\r\nLeft=<\r\n[AllMacrosList]\r\nQ7M_0=d\r\nX=y\r\n"
                         "[Q7M_0]\r\nKey=A\r\nName=N\r\nSearchInfo1=\r\nSearchInfo2=\r\nSearchInfo3=\r\n[Other]\r\nk=v\r\n");
    TQ7CustomMacro store(path);
    EXPECT_EQ(store.GetFileState(), TQ7CustomMacro::FileState::Loaded);
    EXPECT_EQ(store.GetLeftDelim(), "<");
    EXPECT_EQ(store.GetRightDelim(), "]");
    EXPECT_EQ(store.GetCount(), 1);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadFileBytes(path).find("[Other]"), std::string::npos);
}

TEST_F(MacroStore, AnUnreadableFileIsNeverWrittenAndAFailedWriteIsReported)
{
    std::filesystem::create_directory(path);  // a folder of that name
    CreateMacroManagerAt(path);
    EXPECT_EQ(MacroManager->GetFileState(), TQ7CustomMacro::FileState::Unreadable);
    MacroManager->AddMacro();
    EXPECT_TRUE(DeleteMacroManager());  // nothing was attempted
    EXPECT_TRUE(std::filesystem::is_directory(path));

    const std::string folder = dir.file("gone");
    std::filesystem::create_directory(folder);
    CreateMacroManagerAt(folder + "/Macros.mcr");
    std::filesystem::remove(folder);
    EXPECT_FALSE(DeleteMacroManager());
}

TEST_F(MacroStore, ChangedDelimitersSurviveARestart)
{
    CreateMacroManagerAt(path);
    MacroManager->SetLeftDelim("<");
    MacroManager->SetRightDelim(">");
    ASSERT_TRUE(DeleteMacroManager());
    CreateMacroManagerAt(path);
    EXPECT_EQ(MacroManager->GetLeftDelim(), "<");
    EXPECT_EQ(MacroManager->GetRightDelim(), ">");
    EXPECT_EQ(MacroManager->GetCount(), 30);
}

TEST_F(MacroStore, RestoringTheDefaultsKeepsUserMacros)
{
    CreateMacroManagerAt(path);
    TWendMacroManager& m = *MacroManager;
    m.DeleteMacro(IndexOf(m, "WELL"));
    const int mine = m.AddMacro();
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskAll;
    r.Key = "MINE";
    r.Name = "Моя";
    m.SetMacro(mine, r);
    RestoreDefaultMacros(m);
    const auto keys = Keys(m);
    ASSERT_EQ(keys.size(), 31u);
    EXPECT_EQ(keys[0], "operator");
    EXPECT_EQ(keys[1], "MINE");
    EXPECT_EQ(keys[2], "sdate");
    EXPECT_EQ(keys.back(), "API");
    RemovePredefinedMacros(m);
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"operator", "MINE"}));
}

TEST_F(MacroStore, ATemplatesMacrosAreListedAfreshAndOnlyTypedValuesAreKept)
{
    CreateMacroManagerAt(path);
    TQ7CellsArray cells;
    cells.Resize(3, 1);
    cells.Cell(0, 0).Content.Text = "[sdate] [well]";
    cells.Cell(1, 0).Content.Text = "[OPERATOR] [nosuch]";
    TExistingMacroList list;
    list.Collect(cells, MacroManager);
    ASSERT_EQ(list.Count(), 3);  // store order: operator, sdate, WELL
    EXPECT_EQ(list.Items(0).Key, "operator");
    EXPECT_EQ(list.Items(1).Kind, 2);
    EXPECT_EQ(list.VisibleCount(), 2);
    EXPECT_EQ(list.VisibleItems(1).Key, "WELL");
    EXPECT_THROW(list.VisibleItems(2), std::out_of_range);

    list.Items(0).Value = "Петров";
    list.Items(1).Value = "01.01.2001";
    list.Items(2).Value = "W-9";
    list.SaveValues(*MacroManager);
    ASSERT_TRUE(DeleteMacroManager());
    const std::string text = ReadFileBytes(path);
    EXPECT_NE(text.find("Value=Петров"), std::string::npos);
    EXPECT_EQ(text.find("Value=01.01.2001"), std::string::npos);
    EXPECT_EQ(text.find("Value=W-9"), std::string::npos);

    // A template without macros, or with no cells, lists nothing of the last one.
    CreateMacroManagerAt(path);
    TQ7CellsArray plain;
    plain.Resize(1, 1);
    list.Collect(plain, MacroManager);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.FoundNames.empty());
    list.Collect(cells, nullptr);
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
