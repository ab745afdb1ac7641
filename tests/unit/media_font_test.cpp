// Text from a one-row glyph strip: measuring and placement, checked by
// reading back the pixels of a strip whose cells have distinct colours.
#include <gtest/gtest.h>

#include <SDL_opengl.h>

#include <cstdlib>
#include <string>

#include "TestKit.h"
#include "media/BitmapFont.h"
#include "media/Sprite.h"
#include "media/Texture.h"

using testkit::Rgba;

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kYellow{255, 255, 0, 255};
const Rgba kBlack{0, 0, 0, 255};

// Four 16 x 16 cells: A red, B green, C blue, and a second A in yellow.
const char* const kGlyphs = "ABCA";

bool same(Rgba want, Rgba got) {
    return std::abs(want.r - got.r) <= 12 && std::abs(want.g - got.g) <= 12 &&
           std::abs(want.b - got.b) <= 12;
}

std::string name(Rgba c) {
    if (same(kRed, c)) return "red";
    if (same(kGreen, c)) return "green";
    if (same(kBlue, c)) return "blue";
    if (same(kYellow, c)) return "yellow";
    if (same(kBlack, c)) return "black";
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// The colour name at drawing-space (x, y).
std::string at(int x, int y) { return name(testkit::readPixel(x, y)); }

class MediaFont : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testkit::openWindow();
        dir = testkit::tempDir();
        strip = dir + "/strip.png";
        const std::string cmd =
            "convert -size 16x16 xc:'#ff0000' xc:'#00ff00' xc:'#0000ff' xc:'#ffff00' +append "
            "-define png:color-type=6 '" + strip + "'";
        ASSERT_EQ(0, std::system(cmd.c_str()));
    }
    void SetUp() override {
        font.load(strip.c_str(), kGlyphs);
        testkit::beginFrame();
    }
    static inline std::string dir, strip;
    cBitmapFont font;
};

TEST_F(MediaFont, CellWidthRoundsDownWhenTheStripDoesNotDivide) {
    const std::string path = dir + "/ragged.png";
    testkit::writeImage(path, 70, 9, kRed);
    cBitmapFont ragged;
    ragged.load(path.c_str(), "ABCD");
    EXPECT_EQ(17.0f, ragged.glyphWidth);
    EXPECT_EQ(9.0f, ragged.glyphHeight);
    EXPECT_FLOAT_EQ(0.25f, ragged.glyphSprite->du) << "the window is still a quarter of the strip";
    EXPECT_FLOAT_EQ(1.0f, ragged.glyphSprite->dv);
}

TEST_F(MediaFont, MeasureCountsCharactersAndNewlines) {
    const struct {
        const char* text;
        double scale;
        float width, height;
    } rows[] = {
        {"", 1.0, 0, 0},
        {"ABC", 1.0, 48, 0},           // one line has no height
        {"A b?", 1.0, 64, 0},          // characters without a cell count too
        {"AB\nABCA\nC", 1.0, 64, 32},  // the widest line
        {"A\n\n", 1.0, 16, 32},
        {"ABCA\nB", 0.75, 48, 16},     // scale is not applied to the height
    };
    for (const auto& r : rows) {
        float w = -1, h = -1;
        font.setScale(r.scale);
        font.measure(r.text, &w, &h);
        EXPECT_EQ(r.width, w) << r.text;
        EXPECT_EQ(r.height, h) << r.text;
    }
}

TEST_F(MediaFont, EmptyTextDrawsNothingAndLeavesTheSpriteAlone) {
    font.drawText("AB", 100, 100, 1);
    const cSprite before = *font.glyphSprite;
    testkit::beginFrame();
    font.drawText("", 500, 300, 1);
    for (int x = 400; x <= 600; x += 8) ASSERT_EQ("black", at(x, 300)) << x;
    EXPECT_EQ(before.x, font.glyphSprite->x);
    EXPECT_EQ(before.y, font.glyphSprite->y);
    EXPECT_EQ(before.u, font.glyphSprite->u);
}

TEST_F(MediaFont, HorizontalAlignmentPlacesTheGlyphs) {
    // "ABC" is 48 wide: left starts with A centred on x, centred straddles x,
    // right ends a whole width left of x.
    for (const int alignX : {-1, 0, 1}) {
        SCOPED_TRACE(alignX);
        const int first = 500 - 24 * (alignX + 1);
        testkit::beginFrame();
        font.setAlign(alignX, -1);
        font.drawText("ABC", 500, 300, 1);
        EXPECT_EQ("black", at(first - 10, 300));
        EXPECT_EQ("red", at(first - 6, 300));
        EXPECT_EQ("red", at(first, 300));
        EXPECT_EQ("green", at(first + 16, 300));
        EXPECT_EQ("blue", at(first + 32, 300));
        EXPECT_EQ("black", at(first + 42, 300));
        EXPECT_EQ("red", at(first, 294));
        EXPECT_EQ("black", at(first, 290));
        EXPECT_EQ("black", at(first, 310));
    }
}

TEST_F(MediaFont, OneLineSitsOnYWhateverTheVerticalAlignment) {
    for (int alignY = -1; alignY <= 1; ++alignY) {
        testkit::beginFrame();
        font.setAlign(-1, alignY);
        font.drawText("B", 200, 200, 1);
        EXPECT_EQ("green", at(200, 194)) << alignY;
        EXPECT_EQ("green", at(200, 206)) << alignY;
        EXPECT_EQ("black", at(200, 189)) << alignY;
        EXPECT_EQ("black", at(200, 211)) << alignY;
    }
}

TEST_F(MediaFont, LinesStackByTheCellHeightAndShareTheirStart) {
    // The second A, in yellow, is never used: a duplicated glyph takes its first cell.
    struct Case {
        int alignX, alignY;
        int firstX, firstY;  // centre of the first glyph of the first line
    };
    // "AB\nCA": width 32, height 16.
    const Case cases[] = {
        {-1, -1, 300, 400}, {-1, 0, 300, 392}, {-1, 1, 300, 384},
        {0, 0, 284, 392},   {1, 1, 268, 384},
    };
    for (const Case& c : cases) {
        testkit::beginFrame();
        font.setAlign(c.alignX, c.alignY);
        font.drawText("AB\nCA", 300, 400, 1);
        SCOPED_TRACE("align " + std::to_string(c.alignX) + "," + std::to_string(c.alignY));
        EXPECT_EQ("red", at(c.firstX, c.firstY));
        EXPECT_EQ("green", at(c.firstX + 16, c.firstY));
        EXPECT_EQ("blue", at(c.firstX, c.firstY + 16));
        EXPECT_EQ("red", at(c.firstX + 16, c.firstY + 16));
        EXPECT_EQ("black", at(c.firstX + 32, c.firstY));
        EXPECT_EQ("black", at(c.firstX, c.firstY - 12));
        EXPECT_EQ("black", at(c.firstX - 12, c.firstY));
    }
}

TEST_F(MediaFont, ScaleNarrowsTheAdvanceButNotTheGlyphs) {
    font.setScale(0.75);
    font.drawText("AB", 600, 200, 1);  // A 592..608, B 604..620 drawn over it
    EXPECT_EQ("red", at(600, 200));
    EXPECT_EQ("green", at(606, 200));
    EXPECT_EQ("green", at(619, 200)) << "the glyph keeps its full width";
    EXPECT_EQ("black", at(622, 200));
    EXPECT_EQ(8.0f, font.glyphSprite->halfWidth);
}

TEST_F(MediaFont, CharactersWithoutACellAdvanceAWholeUnscaledCell) {
    font.setScale(0.5);
    font.drawText("A B", 300, 600, 1);  // A at 300, space +16, B at 324
    EXPECT_EQ("red", at(300, 600));
    EXPECT_EQ("black", at(310, 600)) << "the space draws nothing";
    EXPECT_EQ("green", at(318, 600));
    EXPECT_EQ("green", at(330, 600));
    EXPECT_EQ("black", at(334, 600));

    testkit::beginFrame();
    font.setScale(1.0);
    font.drawText("AxyB", 300, 600, 1);  // unlisted letters advance too: B at 348
    EXPECT_EQ("red", at(300, 600));
    EXPECT_EQ("black", at(316, 600));
    EXPECT_EQ("black", at(332, 600));
    EXPECT_EQ("green", at(348, 600));

    // Right-aligned at scale 0.5, "A BB" measures 32 but draws over 8 + 16 + 8.
    testkit::beginFrame();
    font.setScale(0.5);
    font.setAlign(1, -1);
    font.drawText("A BB", 400, 100, 1);  // x0 = 368: A 368, B 392, B 400
    EXPECT_EQ("red", at(366, 100));
    EXPECT_EQ("green", at(392, 100));
    EXPECT_EQ("green", at(406, 100));
    EXPECT_EQ("black", at(410, 100));
}

TEST_F(MediaFont, GlyphsAreDrawnOpaqueAndLeaveTheMatrixUnchanged) {
    font.glyphSprite->setAlpha(1.0f);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    font.drawText("ABC\nCBA", 700, 700, 1);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]) << i;
    const Rgba p = testkit::readPixel(700, 700);
    EXPECT_EQ(255, p.r);
    EXPECT_EQ(0, p.g);
}

}  // namespace
