// The high-score screen: rows for filled entries only, unsigned score text,
// any click back to the menu, keys ignored.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TestKit.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/ScoreState.h"
#include "game/Cursor.h"
#include "media/BitmapFont.h"
#include "media/Sprite.h"

namespace {

class FakePointer : public cPlatform {
public:
    Uint8 getMouseState(int* px, int* py) override {
        if (px) *px = x;
        if (py) *py = y;
        return 0;
    }
    int x = 1010;
    int y = 750;
};

class Frame {
public:
    Frame() : pixels(1024 * 768 * 4) {
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    const unsigned char* at(int x, int y) const { return &pixels[((767 - y) * 1024 + x) * 4]; }

private:
    std::vector<unsigned char> pixels;
};

// Changed pixels in the band x 0..1023, y top..bottom.
int bandDifferences(const Frame& a, const Frame& b, int top, int bottom) {
    int count = 0;
    for (int y = std::max(top, 0); y <= std::min(bottom, 767); ++y)
        for (int x = 0; x < 1024; ++x)
            if (std::memcmp(a.at(x, y), b.at(x, y), 3) != 0) ++count;
    return count;
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
        setPlatform(&pointer);
        menu.subScreen = 1;
        screen.load();
    }
    void TearDown() override { setPlatform(nullptr); }

    Frame render() {
        screen.update(50.0f);
        testkit::beginFrame();
        glLoadIdentity();
        screen.draw();
        return Frame();
    }
    // Half the band that a row's glyphs may cover, short of the next row.
    int rowReach() const { return std::min(static_cast<int>(screen.font->glyphHeight / 2) + 1, 26); }

    cApplication app{0, nullptr};
    cHighScoreTable table;
    FakePointer pointer;
    cMenuState menu;  // never loaded: only its subScreen is used
    cScoreState screen{&menu};
};

TEST(ScoreText, IsFormattedUnsigned) {
    char text[16];
    cScoreState::formatScore(3000000000u, text, sizeof text);
    EXPECT_STREQ(text, "3000000000");
    cScoreState::formatScore(4294967295u, text, sizeof text);
    EXPECT_STREQ(text, "4294967295");
    cScoreState::formatScore(2147483648u, text, sizeof text);
    EXPECT_STREQ(text, "2147483648");
    cScoreState::formatScore(0u, text, sizeof text);
    EXPECT_STREQ(text, "0");
}

TEST(ScoreRows, StandFiftyThreeApart) {
    const float expected[10] = {128, 181, 234, 287, 340, 393, 446, 499, 552, 605};
    for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(cScoreState::rowY(i), expected[i]);
}

TEST_F(ScoreScreenTest, LoadPlacesThePictures) {
    EXPECT_FLOAT_EQ(screen.background->halfWidth, 512.0f);
    EXPECT_FLOAT_EQ(screen.background->halfHeight, 384.0f);
    EXPECT_FLOAT_EQ(screen.background->x, 512.0f);
    EXPECT_FLOAT_EQ(screen.background->y, 384.0f);
    EXPECT_FLOAT_EQ(screen.caption->halfWidth, 92.0f);
    EXPECT_FLOAT_EQ(screen.caption->halfHeight, 29.0f);
    EXPECT_FLOAT_EQ(screen.caption->x, 512.0f);
    EXPECT_FLOAT_EQ(screen.caption->y, 58.0f);
    EXPECT_DOUBLE_EQ(screen.font->scale, 0.75);
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

TEST_F(ScoreScreenTest, EmptyTableDrawsNoRows) {
    const Frame empty = render();
    const Frame again = render();
    EXPECT_EQ(bandDifferences(empty, again, 0, 767), 0);
    fill(table.entries[0], "ZED", 1);
    const Frame one = render();
    EXPECT_GT(bandDifferences(empty, one, 100, 160), 0);
}

TEST_F(ScoreScreenTest, LargeScoreIsDrawnAsItsUnsignedDigits) {
    // The screen's row must look exactly like the two texts drawn by hand.
    fill(table.entries[0], "AB", 3000000000u);
    const Frame shown = render();

    std::memset(table.entries, 0, sizeof table.entries);
    render();
    cBitmapFont font;
    font.load("data\\graphics\\fontfull.png", kFontGlyphs);
    font.setScale(0.75);
    font.setAlign(-1, -1);
    font.drawText("AB", 138.0f, 128.0f, 10.0f);
    font.setAlign(1, -1);
    font.drawText("3000000000", 896.0f, 128.0f, 10.0f);
    const Frame expected;
    EXPECT_EQ(bandDifferences(shown, expected, 0, 767), 0);
}

TEST_F(ScoreScreenTest, CursorFollowsThePointer) {
    pointer.x = 222;
    pointer.y = 333;
    screen.update(50.0f);
    EXPECT_FLOAT_EQ(screen.cursor->x, 222.0f);
    EXPECT_FLOAT_EQ(screen.cursor->y, 333.0f);
    EXPECT_FLOAT_EQ(screen.cursor->z, 10.0f);
    EXPECT_FLOAT_EQ(screen.cursor->sprite.x, 222.0f);
}

TEST_F(ScoreScreenTest, AnyButtonReturnsToTheMenu) {
    for (int button : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(button);
        menu.subScreen = 1;
        screen.mouseDown(button);
        EXPECT_EQ(menu.subScreen, 0);
    }
}

TEST_F(ScoreScreenTest, KeysAndActivationDoNothing) {
    for (int key : {27, 13, 8, 97}) screen.keyDown(key);
    EXPECT_EQ(screen.activate(true), 0);
    EXPECT_EQ(screen.activate(false), 0);
    EXPECT_EQ(menu.subScreen, 1);
}

}  // namespace
