// The main window's library browser: made once at the document's folder, handing files back.
#include "tests/app/AppTestSupport.h"

#include "core/Lasfile.h"
#include "library/DirTreeView.h"
#include "library/LasBrowser.h"

#include <QTreeWidget>
#include <filesystem>

namespace strativ::test {

TEST_F(MainWindowTest, BrowserOpensAtTheDocumentsFolderAndHandsFilesBack)
{
    std::filesystem::create_directories(dir.path() + "/logs");
    const std::string first = WriteTestLas(dir.path() + "/logs/one.las", 2, 10);
    const std::string second = WriteTestLas(dir.path() + "/logs/two.las", 3, 10);
    ASSERT_TRUE(Open(first));
    window->MILasBrowseClick();
    TFormLasBrowser* browser = window->LasBrowser.get();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->DirTreeView->GetCurrentFolder(), dir.path() + "/logs/");

    QTreeWidgetItem* row = browser->ListView->findItems("two.las", Qt::MatchExactly).value(0);
    ASSERT_NE(row, nullptr);
    browser->ListView->setCurrentItem(row);
    PushCurveChoice();
    browser->MMIFileOpen->trigger();
    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_EQ(window->LasFile()->GetFileName(), second);
    EXPECT_TRUE(browser->isMinimized());

    window->MILasBrowseClick();  // the same window again
    EXPECT_EQ(window->LasBrowser.get(), browser);
    EXPECT_FALSE(browser->isMinimized());
}

}  // namespace strativ::test
