// The per-user profile: its folders and the library database it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/StrativProfileManager.h"
#include "tests/common/TestPaths.h"

namespace fs = std::filesystem;

TEST(ProfileManager, KeepsItsFoldersAndHoldsTheLibraryDatabaseClosed)
{
    strativ::test::TempDir dir;
    auto profile = std::make_unique<StrativProfileManager>(dir.path());
    const std::string root = dir.path() + "/.strativ/";
    EXPECT_TRUE(fs::is_directory(root + "sess") && fs::is_directory(root + "templ"));
    fs::remove_all(root);  // made again on demand
    EXPECT_EQ(profile->GetSessionsDir() + profile->GetTemplatesDir() + profile->GetImportsDir(),
              root + "sess/" + root + "templ/" + root + "imp/");
    EXPECT_EQ(profile->GetLibDir(), root + "lib/");
    EXPECT_TRUE(fs::is_directory(root + "lib"));

    LogFileDBManager& library = profile->GetLogFileDBManager();
    EXPECT_FALSE(library.IsOpen());
    ASSERT_TRUE(library.Open(profile->GetLibDir() + StrativProfileManager::LibraryDatabaseName));
    library.AddLookupPath("/data");
    profile.reset();  // closes the database
    LogFileDBManager reopened;
    ASSERT_TRUE(reopened.Open(root + "lib/las_files.db"));
    EXPECT_EQ(reopened.GetLookupPaths(), std::vector<std::string>{"/data"});
}

TEST(ProfileManager, InstanceLivesUnderTheUserDataFolder)
{
    strativ::test::TempDir data;
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);
    StrativProfileManager::ResetInstance();
    EXPECT_EQ(&StrativProfileManager::Instance(), &StrativProfileManager::Instance());
    EXPECT_EQ(StrativProfileManager::Instance().GetLibDir(), data.path() + "/.strativ/lib/");
    StrativProfileManager::ResetInstance();
    unsetenv("XDG_DATA_HOME");
}
