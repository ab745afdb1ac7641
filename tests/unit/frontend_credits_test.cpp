// The credits screen: the return corner's borders for the highlight and the
// click, any button inside it, and a click before the first update.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "TestKit.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/AutorsState.h"
#include "frontend/MenuState.h"
#include "game/Cursor.h"
#include "media/Sprite.h"

namespace {

class FakePointer : public cPlatform {
public:
    Uint8 getMouseState(int* px, int* py) override {
        if (px) *px = x;
        if (py) *py = y;
        return 0;
    }
    int x = 100;
    int y = 700;
};

struct Box {
    int left, top, right, bottom;  // inclusive
    bool contains(int px, int py) const { return px >= left && px <= right && py >= top && py <= bottom; }
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

int countDifferences(const Frame& a, const Frame& b, Box area, const std::vector<Box>& skip) {
    int count = 0;
    for (int y = std::max(area.top, 0); y <= std::min(area.bottom, 767); ++y) {
        for (int x = std::max(area.left, 0); x <= std::min(area.right, 1023); ++x) {
            bool skipped = false;
            for (const Box& s : skip) skipped = skipped || s.contains(x, y);
            if (!skipped && std::memcmp(a.at(x, y), b.at(x, y), 3) != 0) ++count;
        }
    }
    return count;
}

const int kFarX = 100;
const int kFarY = 700;
const Box kHighlightArea{763, 3, 1019, 131};

class CreditsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testkit::openWindow(); }

    void SetUp() override {
        setPlatform(&pointer);
        menu.subScreen = 2;
        screen.load();
    }
    void TearDown() override { setPlatform(nullptr); }

    void pointAt(int x, int y) {
        pointer.x = x;
        pointer.y = y;
    }
    Frame render(int x, int y) {
        pointAt(x, y);
        screen.update(50.0f);
        testkit::beginFrame();
        glLoadIdentity();
        screen.draw();
        return Frame();
    }
    Box cursorBox(int x, int y) const {
        const int hw = static_cast<int>(screen.cursor->sprite.halfWidth) + 2;
        const int hh = static_cast<int>(screen.cursor->sprite.halfHeight) + 2;
        return Box{x - hw, y - hh, x + hw, y + hh};
    }
    int highlightChange(int x, int y) {
        const Frame reference = render(kFarX, kFarY);
        const Frame pointed = render(x, y);
        return countDifferences(reference, pointed, kHighlightArea,
                                {cursorBox(x, y), cursorBox(kFarX, kFarY)});
    }
    bool clickReturns(int x, int y, int button = 1) {
        menu.subScreen = 2;
        pointAt(x, y);
        screen.update(50.0f);
        screen.mouseDown(button);
        return menu.subScreen == 0;
    }

    cApplication app{0, nullptr};
    FakePointer pointer;
    cMenuState menu;  // never loaded: only its subScreen is used
    cAutorsState screen{&menu};
};

TEST(ReturnArea, Borders) {
    EXPECT_FALSE(cAutorsState::inReturnArea(768, 50));
    EXPECT_FALSE(cAutorsState::inReturnArea(900, 128));
    EXPECT_FALSE(cAutorsState::inReturnArea(768, 127));
    EXPECT_FALSE(cAutorsState::inReturnArea(769, 128));
    EXPECT_TRUE(cAutorsState::inReturnArea(769, 127));
    EXPECT_TRUE(cAutorsState::inReturnArea(1023, 0));
    EXPECT_FALSE(cAutorsState::inReturnArea(-1, -1));
}

TEST_F(CreditsTest, LoadPlacesThePictures) {
    EXPECT_FLOAT_EQ(screen.background->halfWidth, 512.0f);
    EXPECT_FLOAT_EQ(screen.background->halfHeight, 384.0f);
    EXPECT_FLOAT_EQ(screen.background->x, 512.0f);
    EXPECT_FLOAT_EQ(screen.background->y, 384.0f);
    EXPECT_FLOAT_EQ(screen.returnHighlight->halfWidth, 128.0f);
    EXPECT_FLOAT_EQ(screen.returnHighlight->halfHeight, 64.0f);
    EXPECT_FLOAT_EQ(screen.returnHighlight->x, 891.0f);
    EXPECT_FLOAT_EQ(screen.returnHighlight->y, 67.0f);
}

TEST_F(CreditsTest, HighlightOnlyInsideTheReturnArea) {
    EXPECT_EQ(highlightChange(768, 127), 0);
    EXPECT_EQ(highlightChange(769, 128), 0);
    EXPECT_EQ(highlightChange(768, 60), 0);
    EXPECT_EQ(highlightChange(900, 128), 0);
    EXPECT_GT(highlightChange(769, 127), 0);
    EXPECT_GT(highlightChange(1000, 10), 0);
}

TEST_F(CreditsTest, HighlightLeavesTheRestOfTheScreenAlone) {
    const Frame reference = render(kFarX, kFarY);
    const Frame pointed = render(900, 60);
    const Box below{0, 132, 1023, 767};
    EXPECT_EQ(countDifferences(reference, pointed, below, {cursorBox(900, 60), cursorBox(kFarX, kFarY)}),
              0);
}

TEST_F(CreditsTest, ClickOnlyInsideTheReturnArea) {
    EXPECT_FALSE(clickReturns(768, 50));
    EXPECT_FALSE(clickReturns(900, 128));
    EXPECT_FALSE(clickReturns(768, 127));
    EXPECT_FALSE(clickReturns(500, 400));
    EXPECT_TRUE(clickReturns(769, 127));
}

TEST_F(CreditsTest, AnyButtonInsideReturns) {
    for (int button : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(button);
        EXPECT_TRUE(clickReturns(900, 60, button));
    }
}

TEST_F(CreditsTest, ClickUsesThePointerOfTheLastUpdate) {
    pointAt(500, 400);
    screen.update(50.0f);
    pointAt(900, 60);  // moved into the corner, but no update since
    screen.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 2);
}

TEST_F(CreditsTest, ClickBeforeTheFirstUpdateDoesNothing) {
    cAutorsState fresh(&menu);
    fresh.load();
    pointAt(900, 60);
    fresh.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 2);
    testkit::beginFrame();
    glLoadIdentity();
    fresh.draw();
}

TEST_F(CreditsTest, CursorFollowsThePointer) {
    render(640, 480);
    EXPECT_EQ(screen.mouseX, 640);
    EXPECT_EQ(screen.mouseY, 480);
    EXPECT_FLOAT_EQ(screen.cursor->x, 640.0f);
    EXPECT_FLOAT_EQ(screen.cursor->y, 480.0f);
    EXPECT_FLOAT_EQ(screen.cursor->z, 10.0f);
}

TEST_F(CreditsTest, KeysAndActivationDoNothing) {
    pointAt(900, 60);
    screen.update(50.0f);
    for (int key : {27, 13, 8, 97}) screen.keyDown(key);
    EXPECT_EQ(screen.activate(true), 0);
    EXPECT_EQ(screen.activate(false), 0);
    EXPECT_EQ(menu.subScreen, 2);
}

}  // namespace
