// Titles that do not fit their bar are shortened in the middle.
#include <gtest/gtest.h>

#include "tests/tree/PanelFixture.h"
#include "tree/TitleShortener.h"

namespace
{
int CharWidth(const std::string &text)
{
    return static_cast<int>(text.size()) * 10;
}
} // namespace

TEST(TitleShortener, KeepsHeadAndTailAroundTheEllipsis)
{
    struct Case {
        std::string text;
        int width;
        std::string expected;
    };
    const Case cases[] = {
        {"Short", 100, "Short"},                               // fits
        {"abcdefghijklmnopqrst", 200, "abcdefghijklmnopqrst"}, // exactly fits
        // " ... " is 50 wide: halves of (150 − 50) / 2 = 50 keep 4 characters each (40 < 50)
        {"abcdefghijklmnopqrst", 150, "abcd ... qrst"},
        {"abcdefghijklmnopqrst", 51, "-"},     // half (51 − 50) / 2 = 0
        {"abcdefghijklmnopqrst", 70, " ... "}, // half 10: nothing narrower than 10 is kept
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ShortenInMiddle(c.text, c.width, CharWidth), c.expected) << c.width;
    }
}

TEST(TitleShortener, NeverCutsInsideACharacter)
{
    // Each "é" takes two bytes (and 20 pixels here); a cut must not leave half of one.
    std::string text = "éééééééééé";
    std::string shown = ShortenInMiddle(text, 150, CharWidth);
    size_t ellipsis = shown.find(" ... ");
    ASSERT_NE(ellipsis, std::string::npos);
    std::string head = shown.substr(0, ellipsis);
    std::string tail = shown.substr(ellipsis + 5);
    EXPECT_EQ(head, "éé");
    EXPECT_EQ(tail, "éé");
}

TEST(TitleBar, ShowsTheWholeTitleOrAShortenedOne)
{
    PanelFixture f(CheckMode::None);
    f.SetVisibleRows(3, 400);
    f.panel.SetTitle("Marrowby");
    EXPECT_EQ(f.panel.GetTitleBar().ShownTitle(), "Marrowby");
    std::string longTitle(200, 'x');
    f.panel.SetTitle(longTitle);
    std::string shown = f.panel.GetTitleBar().ShownTitle();
    EXPECT_NE(shown.find(" ... "), std::string::npos);
    EXPECT_LE(f.panel.GetTitleBar().GetTextWidth(shown), 400);
    EXPECT_EQ(f.panel.GetTitle(), longTitle);
}
