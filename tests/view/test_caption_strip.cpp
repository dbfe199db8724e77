// Where the caption strip puts each curve's numbers and name, and which curves share a row.
#include "view/CaptionStrip.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(CaptionStrip, TextsStayWholeOnTheirTrackOrBesideItAndTracksApartShareARow)
{
    // The room in view is columns 100..499; texts 40, 30 and 40 pixels wide, 4 apart.
    struct Case {
        const char* what;
        int left;
        int right;
        std::array<int, 6> expected;  // minimum x and width, caption x and width, maximum x and width
    };
    const Case cases[] = {
        {"wide track: numbers at its ends, name centred", 150, 350, {152, 40, 235, 30, 308, 40}},
        {"constant curve: a 1-pixel track, the texts centred on it", 200, 201, {141, 40, 185, 30, 219, 40}},
        {"track running out of view on the right: texts kept in view", 480, 700, {380, 40, 424, 30, 458, 40}},
        {"track running out of view on the left", -300, 110, {102, 40, 146, 30, 180, 40}},
    };
    for (const Case& c : cases) {
        const auto places = PlaceCaptions({{c.left, c.right, 40, 30, 40}}, 100, 499, 4);
        ASSERT_EQ(places.size(), 1u) << c.what;
        const CaptionPlace& p = places[0];
        EXPECT_EQ((std::array{p.minimumX, p.minimumWidth, p.captionX, p.captionWidth, p.maximumX, p.maximumWidth}),
                  c.expected)
            << c.what;
        EXPECT_EQ(p.row, 0) << c.what;
    }

    // A room narrower than the numbers: each number gets half of it, the name none.
    const CaptionPlace narrow = PlaceCaptions({{100, 159, 40, 30, 40}}, 100, 159, 4)[0];
    EXPECT_EQ((std::array{narrow.minimumWidth, narrow.captionWidth, narrow.maximumWidth}), (std::array{26, 0, 26}));

    // First fit in curve order: tracks (with their texts) apart share a row, those that meet stack.
    const std::vector<CaptionTexts> spread = {
        {150, 270, 40, 30, 40}, {280, 400, 40, 30, 40}, {200, 300, 40, 30, 40},
        {410, 499, 20, 10, 20}, {250, 251, 40, 30, 40}, {320, 321, 1, 0, 1},
    };
    std::vector<int> rows;
    for (const CaptionPlace& p : PlaceCaptions(spread, 100, 499, 4))
        rows.push_back(p.row);
    EXPECT_EQ(rows, (std::vector{0, 0, 1, 0, 2, 1}));
}

}  // namespace
