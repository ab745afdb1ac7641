// The main menu: hover highlight at the button edges, the four button actions,
// which mouse buttons act, and forwarding to the two hosted screens.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "TestKit.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/AutorsState.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/ScoreState.h"
#include "game/Cursor.h"
#include "media/Sprite.h"
#include "media/Texture.h"
#include "scene/Camera.h"
#include "scene/MenuButton.h"

namespace {

class FakePointer : public cPlatform {
public:
    Uint8 getMouseState(int* px, int* py) override {
        if (px) *px = x;
        if (py) *py = y;
        return 0;
    }
    int x = 0;
    int y = 0;
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

// Pixels of `area` that differ between two frames, leaving out the boxes.
int countDifferences(const Frame& a, const Frame& b, Box area, const std::vector<Box>& skip) {
    int count = 0;
    for (int y = std::max(area.top, 0); y <= std::min(area.bottom, 767); ++y) {
        for (int x = std::max(area.left, 0); x <= std::min(area.right, 1023); ++x) {
            bool skipped = false;
            for (const Box& s : skip) skipped = skipped || s.contains(x, y);
            if (skipped) continue;
            if (std::memcmp(a.at(x, y), b.at(x, y), 3) != 0) ++count;
        }
    }
    return count;
}

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
        testkit::beginFrame();
        glLoadIdentity();
        menu.draw();
        return Frame();
    }
    Box cursorBox(int x, int y) const {
        const int hw = static_cast<int>(menu.cursor->sprite.halfWidth) + 2;
        const int hh = static_cast<int>(menu.cursor->sprite.halfHeight) + 2;
        return Box{x - hw, y - hh, x + hw, y + hh};
    }
    Box highlightBox(int index) const {
        cTexture* const pictures[4] = {menu.startHighlight, menu.scoresHighlight,
                                       menu.creditsHighlight, menu.quitHighlight};
        const int hw = pictures[index]->width / 2;
        const int hh = pictures[index]->height / 2;
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
    FakePointer pointer;
    cMenuState menu;
};

TEST_F(MenuTest, ConstructionShowsTheMainMenu) {
    cMenuState fresh;
    EXPECT_EQ(fresh.subScreen, 0);
    EXPECT_FLOAT_EQ(fresh.camera->direction[2], 1.0f);
    EXPECT_FLOAT_EQ(fresh.camera->up[1], 1.0f);
}

TEST_F(MenuTest, ButtonsHaveTheirAreas) {
    cMenuButton* const buttons[4] = {menu.startButton, menu.scoresButton, menu.creditsButton,
                                     menu.quitButton};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kButtons[i].name);
        EXPECT_FLOAT_EQ(buttons[i]->x, kButtons[i].x);
        EXPECT_FLOAT_EQ(buttons[i]->y, kButtons[i].y);
        EXPECT_FLOAT_EQ(buttons[i]->z, 10.0f);
        EXPECT_FLOAT_EQ(buttons[i]->hitWidth, kButtons[i].width);
        EXPECT_FLOAT_EQ(buttons[i]->hitHeight, kButtons[i].height);
    }
    EXPECT_FLOAT_EQ(menu.background->halfWidth, 512.0f);
    EXPECT_FLOAT_EQ(menu.background->halfHeight, 384.0f);
    EXPECT_FLOAT_EQ(menu.background->x, 512.0f);
    EXPECT_FLOAT_EQ(menu.background->y, 384.0f);
}

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
    }
}

TEST_F(MenuTest, StartEdgeReadBackPixelChanges) {
    // The start button's left edge is the whole number 774: the pixel at the
    // button's centre changes when the pointer is on it, not one pixel left.
    const Frame reference = render(kFarX, kFarY);
    const testkit::Rgba before = testkit::readPixel(838, 322);
    const Frame outside = render(773, 322);
    const testkit::Rgba beside = testkit::readPixel(838, 322);
    EXPECT_EQ(countDifferences(reference, outside, highlightBox(0),
                               {cursorBox(773, 322), cursorBox(kFarX, kFarY)}),
              0);
    EXPECT_EQ(before.r, beside.r);
    EXPECT_EQ(before.g, beside.g);
    EXPECT_EQ(before.b, beside.b);
    const Frame onEdge = render(774, 322);
    EXPECT_GT(countDifferences(reference, onEdge, highlightBox(0),
                               {cursorBox(774, 322), cursorBox(kFarX, kFarY)}),
              0);
}

TEST_F(MenuTest, HighlightTakesTheButtonCentreAndThePicturesOwnSize) {
    cTexture* const pictures[4] = {menu.startHighlight, menu.scoresHighlight,
                                   menu.creditsHighlight, menu.quitHighlight};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kButtons[i].name);
        render(static_cast<int>(kButtons[i].x), static_cast<int>(kButtons[i].y));
        EXPECT_EQ(menu.highlight->texture, pictures[i]);
        EXPECT_FLOAT_EQ(menu.highlight->x, kButtons[i].x);
        EXPECT_FLOAT_EQ(menu.highlight->y, kButtons[i].y);
        EXPECT_FLOAT_EQ(menu.highlight->z, 10.0f);
        EXPECT_FLOAT_EQ(menu.highlight->halfWidth, static_cast<float>(pictures[i]->width / 2));
        EXPECT_FLOAT_EQ(menu.highlight->halfHeight, static_cast<float>(pictures[i]->height / 2));
    }
}

TEST_F(MenuTest, CursorFollowsThePointerOnTop) {
    render(321, 123);
    EXPECT_FLOAT_EQ(menu.cursor->x, 321.0f);
    EXPECT_FLOAT_EQ(menu.cursor->y, 123.0f);
    EXPECT_FLOAT_EQ(menu.cursor->z, 20.0f);
    EXPECT_FLOAT_EQ(menu.cursor->sprite.x, 321.0f);
    EXPECT_FLOAT_EQ(menu.cursor->sprite.y, 123.0f);
}

TEST_F(MenuTest, StartRequestsTheIntro) {
    pointAt(838, 322);
    menu.mouseDown(1);
    EXPECT_EQ(app.requestedState, 1);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_FALSE(quitEventQueued());
}

TEST_F(MenuTest, ScoresOpensTheHighScoreScreen) {
    pointAt(890, 394);
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 1);
    EXPECT_EQ(app.requestedState, 0);
}

TEST_F(MenuTest, CreditsOpensTheCreditsScreen) {
    pointAt(772, 466);
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 2);
    EXPECT_EQ(app.requestedState, 0);
}

TEST_F(MenuTest, QuitPushesAQuitEvent) {
    pointAt(836, 543);
    menu.mouseDown(1);
    EXPECT_TRUE(quitEventQueued());
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
}

TEST_F(MenuTest, ClickReadsThePointerItself) {
    render(kFarX, kFarY);
    pointAt(890, 394);  // moved, but no update since
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 1);
    EXPECT_EQ(menu.mouseX, 890);
    EXPECT_EQ(menu.mouseY, 394);
}

TEST_F(MenuTest, ClickOnAnEdgeCounts) {
    pointAt(774, 290);  // top left corner of start
    menu.mouseDown(1);
    EXPECT_EQ(app.requestedState, 1);
    app.requestedState = 0;
    pointAt(773, 290);
    menu.mouseDown(1);
    EXPECT_EQ(app.requestedState, 0);
}

TEST_F(MenuTest, OddButtonsActEvenButtonsDoNot) {
    for (int button : {1, 3, 5}) {
        SCOPED_TRACE(button);
        menu.subScreen = 0;
        pointAt(890, 394);
        menu.mouseDown(button);
        EXPECT_EQ(menu.subScreen, 1);
        app.requestedState = 0;
        pointAt(838, 322);
        menu.subScreen = 0;
        menu.mouseDown(button);
        EXPECT_EQ(app.requestedState, 1);
    }
    for (int button : {2, 4}) {
        SCOPED_TRACE(button);
        menu.subScreen = 0;
        app.requestedState = 0;
        pointAt(890, 394);
        menu.mouseDown(button);
        EXPECT_EQ(menu.subScreen, 0);
        pointAt(838, 322);
        menu.mouseDown(button);
        EXPECT_EQ(app.requestedState, 0);
        pointAt(836, 543);
        menu.mouseDown(button);
        EXPECT_FALSE(quitEventQueued());
    }
}

TEST_F(MenuTest, ClickOnNoButtonDoesNothing) {
    pointAt(kFarX, kFarY);
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
    EXPECT_FALSE(quitEventQueued());
}

TEST_F(MenuTest, KeysDoNothing) {
    pointAt(838, 322);
    for (int key : {27, 13, 8, 32, 97}) menu.keyDown(key);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
    EXPECT_FALSE(quitEventQueued());
}

TEST_F(MenuTest, HighScoreScreenTakesUpdateDrawAndClicks) {
    menu.subScreen = 1;
    pointAt(400, 300);
    menu.update(50.0f);
    EXPECT_FLOAT_EQ(menu.scoreScreen->cursor->x, 400.0f);
    EXPECT_FLOAT_EQ(menu.scoreScreen->cursor->z, 10.0f);
    EXPECT_EQ(menu.mouseX, -1);  // the main menu's pointer is left alone
    testkit::beginFrame();
    glLoadIdentity();
    menu.draw();
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
    testkit::beginFrame();
    glLoadIdentity();
    menu.draw();
    menu.mouseDown(1);
    EXPECT_EQ(menu.subScreen, 0);
}

TEST_F(MenuTest, ActivationLeavesTheScreenAlone) {
    menu.activate(true);
    menu.activate(false);
    menu.activate(true);
    EXPECT_EQ(menu.subScreen, 0);
    EXPECT_EQ(app.requestedState, 0);
}

}  // namespace
