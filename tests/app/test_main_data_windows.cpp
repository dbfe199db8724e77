// The data windows reached from the main window's menu, and their questions at exit.
#include "ui_LasEditor.h"

#include "AppTestSupport.h"
#include "datawin/LasEditor.h"

#include <filesystem>

namespace strativ::test {
namespace {

TEST_F(MainWindowTest, ExitAsksAboutTheEditorsUnsavedTable)
{
    WriteTestLas(dir.file("a.las"), 2, 5);
    window->MIEditLas->trigger();
    TFormEditor& editor = *window->FormEditor;
    ASSERT_TRUE(editor.isVisible());
    editor.SetFolder(QString::fromStdString(dir.path()));
    editor.Form().FileListBox->setCurrentRow(0);
    ASSERT_NE(editor.Document(), nullptr);
    editor.close();  // the table page closes without a question and keeps its document
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(runner->Requests().empty());

    editor.Form().SGCurves->item(1, 2)->setText("GAMMA");
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(Messages(), QStringList{"Сохранение файла|Сохранить изменения в файле?"});
    runner->Push(platform::IDNO);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, TheLasEditorOpensInTheOpenDocumentsFolder)
{
    std::filesystem::create_directories(dir.file("wells"));
    ASSERT_TRUE(Open(WriteTestLas(dir.file("wells/a.las"), 2, 5)));
    window->MIEditLas->trigger();
    EXPECT_EQ(window->FormEditor->Folder(), QString::fromStdString(dir.file("wells")));
}

}  // namespace
}  // namespace strativ::test
