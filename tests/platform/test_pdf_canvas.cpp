// PDF documents written page by page: the pages reach the temporary file as they are
// finished, the chosen name appears only at the end, and a cancelled document leaves nothing.
#include "platform/PdfCanvas.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::uintmax_t SizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

void DrawPage(platform::Canvas& canvas, int page)
{
    for (int i = 0; i < 200; ++i) {
        canvas.MoveTo(i * 10, 0);
        canvas.LineTo(i * 10 + page, 3000);
    }
    canvas.TextOut(100, 100, "Страница " + std::to_string(page + 1));
}

TEST(PdfCanvas, PagesStreamToTheTemporaryFileAndTheNameAppearsAtTheEnd)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("print.pdf");
    platform::PdfCanvas pdf(path, 21.0, 29.7, 300);
    ASSERT_FALSE(pdf.TempPath().empty());
    EXPECT_EQ(std::filesystem::path(pdf.TempPath()).parent_path(), std::filesystem::path(dir.path()));
    std::uintmax_t afterFirst = 0;
    for (int page = 0; page < 20; ++page) {
        if (page > 0)
            pdf.NewPage();
        DrawPage(pdf.Page(), page);
        if (page == 1)
            afterFirst = SizeOf(pdf.TempPath());
        if (page == 10) {
            EXPECT_GT(SizeOf(pdf.TempPath()), afterFirst);
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    const std::string temp = pdf.TempPath();
    ASSERT_TRUE(pdf.Finish()) << pdf.Error();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(temp));
    EXPECT_EQ(strativ::test::ReadFileBytes(path).substr(0, 5), "%PDF-");
}

TEST(PdfCanvas, CancelledDocumentLeavesTheOldFileAndNoTemporaryOne)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("print.pdf");
    strativ::test::WriteFileBytes(path, "older document");
    {
        platform::PdfCanvas pdf(path, 21.0, 29.7, 150);
        for (int page = 0; page < 5; ++page) {
            if (page > 0)
                pdf.NewPage();
            DrawPage(pdf.Page(), page);
        }
        pdf.Cancel();
        EXPECT_FALSE(pdf.Finish());
    }
    EXPECT_EQ(strativ::test::ReadFileBytes(path), "older document");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // A folder that does not exist: reported, nothing written.
    platform::PdfCanvas blocked(dir.file("no/such/print.pdf"), 21.0, 29.7, 150);
    DrawPage(blocked.Page(), 0);
    EXPECT_FALSE(blocked.Finish());
    EXPECT_FALSE(blocked.Error().empty());
}

}  // namespace
