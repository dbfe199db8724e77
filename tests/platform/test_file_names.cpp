// File names as bytes: every name read into a QString gives its bytes back.
#include "platform/FileNames.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

TEST(FileNames, EveryNameGivesItsBytesBackAndShowsUndecodableBytesAsReplacements)
{
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"/data/well 7.las", "/data/well 7.las"},
        {"/data/скважина.las", "/data/скважина.las"},
        {"/data/caf\xe9.las", "/data/caf\uFFFD.las"},
        // CP866 "Пример": three of its bytes happen to be valid UTF-8
        {"/data/\x8f\xe0\xa8\xac\xa5\xe0.las", "/data/\uFFFD\u0A2C\uFFFD\uFFFD.las"},
        {"/скв/\xd1\xea\xe2.las", "/скв/\uFFFD\uFFFD\uFFFD.las"},  // CP1251 under a UTF-8 folder
        {"/data/cut\xd1", "/data/cut\uFFFD"},                      // a sequence the name ends in
        {"/data/\xed\xa0\x80\xf0\x9f\x93\x88.las", "/data/\uFFFD\uFFFD\uFFFD\U0001F4C8.las"},
    };
    for (const Case& c : cases) {
        const QString name = platform::FileNameFromBytes(c.bytes);
        EXPECT_EQ(platform::FileNameToBytes(name), c.bytes) << c.bytes;
        EXPECT_EQ(platform::ShownFileName(name), c.shown) << c.bytes;
    }
    // An ordinary name is its plain UTF-8.
    EXPECT_EQ(platform::FileNameFromBytes("/data/скважина.las"), QString::fromUtf8("/data/скважина.las"));
    EXPECT_EQ(platform::FileNameToBytes(QStringLiteral("/data/скважина\U0001F4C8.las")),
              "/data/скважина\U0001F4C8.las");
}

TEST(FileNames, AbsoluteNamesAndUrlsKeepTheBytes)
{
    const std::string current = std::filesystem::current_path().string();
    EXPECT_EQ(platform::FileNameToBytes(platform::AbsoluteFileName(platform::FileNameFromBytes("./x/../caf\xe9.las"))),
              current + "/caf\xe9.las");

    EXPECT_EQ(platform::FileNameToBytes(platform::LocalFileOfUrl(QUrl::fromEncoded("file:///tmp/caf%E9%20x.las"))),
              "/tmp/caf\xe9 x.las");
    EXPECT_EQ(platform::LocalFileOfUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/скв%1.las"))),
              QStringLiteral("/tmp/скв%1.las"));
    EXPECT_EQ(platform::LocalFileOfUrl(QUrl(QStringLiteral("https://example.org/a.las"))), QString());
}

}  // namespace

namespace {

// Settings and lists keep names as text: UTF-8 names as they are (entries written before read
// unchanged), any other name in a form that gives its bytes back.
TEST(FileNames, StoredNamesGiveTheBytesBackAndUtf8NamesStayPlain)
{
    const std::pair<std::string, std::string> cases[] = {  // name, stored text
        {"/data/скважина 50%25.las", "/data/скважина 50%25.las"},
        {"/d\xe9/caf\xe9.las", "file:///d%E9/caf%E9.las"},
        {"/data/\x8f\xe0\xa8\xac\xa5\xe0 1.LAS", "file:///data/%8F%E0%A8%AC%A5%E0%201.LAS"},
        {"file://x.las", "file://file%3A//x.las"},
        {"", ""},
    };
    for (const auto& [bytes, stored] : cases) {
        const QString name = platform::FileNameFromBytes(bytes);
        EXPECT_EQ(platform::StoredFileName(name), stored) << bytes;
        EXPECT_EQ(platform::FileNameToBytes(platform::FileNameFromStored(stored)), bytes) << bytes;
    }
    const QString name = platform::FileNameFromBytes("/d\xe9/caf\xe9.las");
    EXPECT_EQ(platform::FileNameToBytes(platform::FolderOfFile(name)), "/d\xe9");
    EXPECT_EQ(platform::FileNameToBytes(platform::FileInFolder(platform::FolderOfFile(name), platform::FileNameFromBytes("caf\xe9.pdf"))),
              "/d\xe9/caf\xe9.pdf");
    EXPECT_EQ(platform::FileNameToBytes(platform::LocalFileOfUrl(platform::UrlOfLocalFile(name))),
              "/d\xe9/caf\xe9.las");
}

}  // namespace

namespace {

// Qt's file dialog gives a chosen name with U+FFFD for its undecodable bytes: the name is taken
// back to the one file shown so, a new file's name kept as typed.
TEST(FileNames, ANameReadOffTheScreenLeadsToTheFileShownSo)
{
    strativ::test::TempDir temp;
    const std::string dir = temp.path();
    std::filesystem::create_directories(dir + "/d\xe9");
    for (const char* name : {"/d\xe9/caf\xe9.las", "/d\xe9/t\xe8.las", "/d\xe9/t\xe9.las"})
        std::ofstream(dir + name) << "~V";
    const std::pair<std::string, std::string> cases[] = {  // shown (UTF-8), found
        {"/d\uFFFD/caf\uFFFD.las", "/d\xe9/caf\xe9.las"},
        {"/d\uFFFD/new.las", "/d\xe9/new.las"},
        {"/d\uFFFD/t\uFFFD.las", "/d\xe9/t\uFFFD.las"},  // two files are shown so
        {"/d\uFFFD/", "/d\xe9/"},
    };
    for (const auto& [shown, found] : cases)
        EXPECT_EQ(platform::FileNameToBytes(platform::FileNameOfShown(QString::fromUtf8(dir + shown))), dir + found)
            << shown;
}

}  // namespace
