// The high-score screen: rows for filled entries only, unsigned score text,
// any click back to the menu, keys ignored.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/ScoreState.h"
#include "game/Cursor.h"
#include "media/BitmapFont.h"

namespace {

using testkit::Frame;

// Changed pixels in the band x 0..1023, y top..bottom.
int bandDifferences(const Frame& a, const Frame& b, int top, int bottom) {
    return countDifferences(a, b, testkit::Box{0, top, 1023, bottom});
}

void fill(cScoreEntry& entry, const char* name, unsigned int score) {
    std::memset(entry.name, 0, sizeof entry.name);
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.score = score;
}

class ScoreScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testkit::openWindow(); }

    void SetUp() override {
        std::memset(table.entries, 0, sizeof table.entries);
        app.highScores = &table;
        pointer.x = 1010;
        pointer.y = 750;
        setPlatform(&pointer);
        menu.subScreen = 1;
        screen.load();
    }
    void TearDown() override { setPlatform(nullptr); }

    Frame render() {
        screen.update(50.0f);
        return testkit::drawnFrame(screen);
    }
    // Half the band that a row's glyphs may cover, short of the next row.
    int rowReach() const { return std::min(static_cast<int>(screen.font->glyphHeight / 2) + 1, 26); }

    cApplication app{0, nullptr};
    cHighScoreTable table;
    testkit::FakePlatform pointer;
    cMenuState menu;  // never loaded: only its subScreen is used
    cScoreState screen{&menu};
};

TEST(ScoreText, IsFormattedUnsigned) {
    for (unsigned int score : {3000000000u, 4294967295u, 2147483648u, 0u}) {
        char text[16];
        cScoreState::formatScore(score, text, sizeof text);
        EXPECT_EQ(std::to_string(score), text);
    }
}

TEST_F(ScoreScreenTest, OnlyFilledEntriesDrawRows) {
    const Frame empty = render();
    fill(table.entries[0], "ANNA", 900);
    fill(table.entries[1], "BORIS", 450);
    fill(table.entries[2], "CID", 12);
    const Frame three = render();
    const int reach = rowReach();
    for (int row = 0; row < 10; ++row) {
        SCOPED_TRACE(row);
        const int y = static_cast<int>(cScoreState::rowY(row));
        const int changed = bandDifferences(empty, three, y - reach, y + reach);
        if (row < 3)
            EXPECT_GT(changed, 0);
        else
            EXPECT_EQ(changed, 0);
    }
}

TEST_F(ScoreScreenTest, RowsAreTwoColumnsFiftyThreeApartWithUnsignedScores) {
    // The screen's rows must look exactly like the texts drawn by hand:
    // names left-aligned at x 138, scores right-aligned at x 896, rows from y 128.
    fill(table.entries[0], "AB", 3000000000u);
    fill(table.entries[1], "CD", 7u);
    const Frame shown = render();

    std::memset(table.entries, 0, sizeof table.entries);
    render();
    cBitmapFont font;
    font.load("data\\graphics\\fontfull.png", kFontGlyphs);
    font.setScale(0.75);
    font.setAlign(-1, -1);
    font.drawText("AB", 138.0f, 128.0f, 10.0f);
    font.drawText("CD", 138.0f, 181.0f, 10.0f);
    font.setAlign(1, -1);
    font.drawText("3000000000", 896.0f, 128.0f, 10.0f);
    font.drawText("7", 896.0f, 181.0f, 10.0f);
    const Frame expected;
    EXPECT_EQ(bandDifferences(shown, expected, 0, 767), 0);
}

TEST_F(ScoreScreenTest, AnyButtonReturnsToTheMenuKeysDoNothing) {
    for (int key : {27, 13, 8, 97}) screen.keyDown(key);
    EXPECT_EQ(screen.activate(true), 0);
    EXPECT_EQ(screen.activate(false), 0);
    EXPECT_EQ(menu.subScreen, 1);
    for (int button : {1, 2, 3, 4, 5}) {
        menu.subScreen = 1;
        screen.mouseDown(button);
        EXPECT_EQ(menu.subScreen, 0) << button;
    }
}

}  // namespace
