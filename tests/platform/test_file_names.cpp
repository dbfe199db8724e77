// File names as bytes: every name read into a QString gives its bytes back.
#include "platform/FileNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
