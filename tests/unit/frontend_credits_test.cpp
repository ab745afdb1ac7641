// The credits screen: the return corner's borders for the highlight and the
// click, any button inside it, and a click before the first update.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/AutorsState.h"
#include "frontend/MenuState.h"
#include "game/Cursor.h"

namespace {

using testkit::Box;
using testkit::Frame;

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
        return testkit::drawnFrame(screen);
    }
    Box cursorBox(int x, int y) const { return testkit::cursorBox(*screen.cursor, x, y); }
    // Changed pixels of `area` with the pointer at (x, y) against the pointer far away.
    int changeAt(int x, int y, Box area = kHighlightArea) {
        const Frame reference = render(kFarX, kFarY);
        const Frame pointed = render(x, y);
        return countDifferences(reference, pointed, area, {cursorBox(x, y), cursorBox(kFarX, kFarY)});
    }
    bool clickReturns(int x, int y, int button = 1) {
        menu.subScreen = 2;
        pointAt(x, y);
        screen.update(50.0f);
        screen.mouseDown(button);
        return menu.subScreen == 0;
    }

    cApplication app{0, nullptr};
    testkit::FakePlatform pointer;
    cMenuState menu;  // never loaded: only its subScreen is used
    cAutorsState screen{&menu};
};

// Points on each side of the corner's borders x > 768, y < 128.
const struct {
    int x, y;
    bool inside;
} kBorderPoints[] = {{768, 50, false},  {900, 128, false}, {768, 127, false}, {769, 128, false},
                     {769, 127, true},  {1023, 0, true},   {1000, 10, true},  {-1, -1, false}};

TEST(ReturnArea, Borders) {
    for (const auto& p : kBorderPoints)
        EXPECT_EQ(p.inside, cAutorsState::inReturnArea(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(CreditsTest, HighlightAndClickOnlyInsideTheReturnArea) {
    for (const auto& p : kBorderPoints) {
        if (p.x < 0) continue;
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(p.inside, changeAt(p.x, p.y) > 0);
        EXPECT_EQ(p.inside, clickReturns(p.x, p.y));
    }
    EXPECT_FALSE(clickReturns(500, 400));
    EXPECT_EQ(0, changeAt(900, 60, Box{0, 132, 1023, 767})) << "the rest of the screen stays";
    EXPECT_FLOAT_EQ(screen.cursor->x, 900.0f);
    EXPECT_FLOAT_EQ(screen.cursor->y, 60.0f);
}

TEST_F(CreditsTest, AnyButtonInsideReturns) {
    for (int button : {1, 2, 3, 4, 5}) EXPECT_TRUE(clickReturns(900, 60, button)) << button;
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
    testkit::drawnFrame(fresh);
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
