// The main window's library browser: made once at the document's folder, handing files back.
#include "tests/app/AppTestSupport.h"

#include "core/Lasfile.h"
#include "datawin/AddData.h"
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

    // "Добавить к загруженному файлу" opens the add-curves dialog prepared for the chosen file.
    row = browser->ListView->findItems("one.las", Qt::MatchExactly).value(0);
    ASSERT_NE(row, nullptr);
    browser->ListView->setCurrentItem(row);
    std::string prepared;
    runner->PushDialog([&](QDialog& dialog) {
        if (const TLASFile* source = static_cast<TFormAddData&>(dialog).Source())
            prepared = source->GetFileName();
        return int(QDialog::Rejected);
    });
    browser->MMIFileAddToLoaded->trigger();
    EXPECT_EQ(runner->Last().dialogClass, "TFormAddData");
    EXPECT_EQ(prepared, first);
}

}  // namespace strativ::test
