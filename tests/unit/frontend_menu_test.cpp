// The main menu: hover highlight at the button edges, the four button actions,
// which mouse buttons act, and forwarding to the two hosted screens.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstring>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/ScoreState.h"
#include "game/Cursor.h"
#include "media/Texture.h"

namespace {

using testkit::Box;
using testkit::Frame;

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

bool quitEventQueued() {
    SDL_Event event;
    bool found = false;
    while (SDL_PollEvent(&event)) found = found || event.type == SDL_QUIT;
    return found;
}

struct ButtonArea {
    const char* name;
    float x, y, width, height;
};

const ButtonArea kButtons[4] = {
    {"start", 838.5f, 322.5f, 129.0f, 65.0f},
    {"scores", 890.0f, 394.0f, 200.0f, 66.0f},
    {"credits", 772.0f, 466.0f, 207.0f, 70.0f},
    {"quit", 836.0f, 543.0f, 210.0f, 64.0f},
};

// A pointer position over no button and away from all of them.
const int kFarX = 60;
const int kFarY = 700;

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testkit::openWindow(); }

    void SetUp() override {
        std::memset(table.entries, 0, sizeof table.entries);
        app.highScores = &table;
        app.requestedState = 0;
        setPlatform(&pointer);
        menu.load();
        drainEvents();
    }
    void TearDown() override {
        setPlatform(nullptr);
        drainEvents();
    }

    void pointAt(int x, int y) {
        pointer.x = x;
        pointer.y = y;
    }
    Frame render(int x, int y) {
        pointAt(x, y);
        menu.update(50.0f);
        return testkit::drawnFrame(menu);
    }
    Box cursorBox(int x, int y) const { return testkit::cursorBox(*menu.cursor, x, y); }
    cTexture* picture(int index) const {
        cTexture* const pictures[4] = {menu.startHighlight, menu.scoresHighlight,
                                       menu.creditsHighlight, menu.quitHighlight};
        return pictures[index];
    }
    Box highlightBox(int index) const {
        const int hw = picture(index)->width / 2;
        const int hh = picture(index)->height / 2;
        const int cx = static_cast<int>(kButtons[index].x);
        const int cy = static_cast<int>(kButtons[index].y);
        return Box{cx - hw, cy - hh, cx + hw, cy + hh};
    }
    // Changed pixels of the button's highlight area with the pointer at (x, y),
    // against the frame with the pointer far from every button.
    int highlightChange(int index, int x, int y) {
        const Frame reference = render(kFarX, kFarY);
        const Frame hovered = render(x, y);
        return countDifferences(reference, hovered, highlightBox(index),
                                {cursorBox(x, y), cursorBox(kFarX, kFarY)});
    }

    cApplication app{0, nullptr};
    cHighScoreTable table;
    testkit::FakePlatform pointer;
    cMenuState menu;
};

TEST_F(MenuTest, HoverHighlightAppearsExactlyWithinEachButtonsEdges) {
    for (int i = 0; i < 4; ++i) {
        const ButtonArea& b = kButtons[i];
        SCOPED_TRACE(b.name);
        const int left = static_cast<int>(std::ceil(b.x - b.width * 0.5f));
        const int right = static_cast<int>(std::floor(b.x + b.width * 0.5f));
        const int top = static_cast<int>(std::ceil(b.y - b.height * 0.5f));
        const int bottom = static_cast<int>(std::floor(b.y + b.height * 0.5f));
        const int cx = static_cast<int>(b.x);
        const int cy = static_cast<int>(b.y);

        EXPECT_GT(highlightChange(i, left, cy), 0) << "left edge";
        EXPECT_GT(highlightChange(i, right, cy), 0) << "right edge";
        EXPECT_GT(highlightChange(i, cx, top), 0) << "top edge";
        EXPECT_GT(highlightChange(i, cx, bottom), 0) << "bottom edge";

        EXPECT_EQ(highlightChange(i, left - 1, cy), 0) << "left of the left edge";
        EXPECT_EQ(highlightChange(i, right + 1, cy), 0) << "right of the right edge";
        EXPECT_EQ(highlightChange(i, cx, top - 1), 0) << "above the top edge";
        EXPECT_EQ(highlightChange(i, cx, bottom + 1), 0) << "below the bottom edge";

        // The highlight is the button's own picture, at the button's centre.
        render(cx, cy);
        EXPECT_EQ(menu.highlight->texture, picture(i));
        EXPECT_FLOAT_EQ(menu.highlight->x, b.x);
        EXPECT_FLOAT_EQ(menu.highlight->y, b.y);
    }
}

// What a click with each mouse button does at a point: the requested state, the
// sub-screen and whether a quit was pushed.  Only odd buttons act.
TEST_F(MenuTest, ButtonActions) {
    const struct {
        int x, y;
        int requested, subScreen;
        bool quits;
    } rows[] = {
        {838, 322, 1, 0, false},       // start: the intro
        {774, 290, 1, 0, false},       // start's top left corner counts
        {773, 290, 0, 0, false},       // one pixel left of it does not
        {890, 394, 0, 1, false},       // high scores
        {772, 466, 0, 2, false},       // credits
        {836, 543, 0, 0, true},        // quit
        {kFarX, kFarY, 0, 0, false},   // no button
    };
    for (const auto& r : rows) {
        for (int button = 1; button <= 5; ++button) {
            SCOPED_TRACE(testing::Message() << r.x << "," << r.y << " button " << button);
            const bool acts = button % 2 == 1;
            app.requestedState = 0;
            menu.subScreen = 0;
            pointAt(r.x, r.y);
            menu.mouseDown(button);
            EXPECT_EQ(app.requestedState, acts ? r.requested : 0);
            EXPECT_EQ(menu.subScreen, acts ? r.subScreen : 0);
            EXPECT_EQ(quitEventQueued(), acts && r.quits);
        }
    }
}

TEST_F(MenuTest, ClickReadsThePointerItself) {
    render(kFarX, kFarY);
    EXPECT_FLOAT_EQ(menu.cursor->x, kFarX);
    EXPECT_FLOAT_EQ(menu.cursor->y, kFarY);
    pointAt(890, 394);  // moved, but no update since
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 1);
}

TEST_F(MenuTest, KeysAndActivationDoNothing) {
    pointAt(838, 322);
    for (int key : {27, 13, 8, 32, 97}) menu.keyDown(key);
    menu.activate(true);
    menu.activate(false);
    menu.activate(true);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
    EXPECT_FALSE(quitEventQueued());
}

TEST_F(MenuTest, HighScoreScreenTakesUpdateDrawAndClicks) {
    menu.subScreen = 1;
    pointAt(400, 300);
    menu.update(50.0f);
    EXPECT_FLOAT_EQ(menu.scoreScreen->cursor->x, 400.0f);
    EXPECT_EQ(menu.mouseX, -1);  // the main menu's pointer is left alone
    testkit::drawnFrame(menu);
    menu.keyDown(27);
    EXPECT_EQ(menu.subScreen, 1);
    pointAt(838, 322);  // over start, but the screen takes the click
    menu.mouseDown(2);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
}

TEST_F(MenuTest, CreditsScreenTakesUpdateDrawAndClicks) {
    menu.subScreen = 2;
    pointAt(836, 543);  // over quit, outside the return corner
    menu.update(50.0f);
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 2);
    EXPECT_FALSE(quitEventQueued());
    pointAt(900, 60);
    menu.update(50.0f);
    testkit::drawnFrame(menu);
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 0);
}

}  // namespace
