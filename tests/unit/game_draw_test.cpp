// The game's scene on a real window: the figure and the status line reach the screen.
#include <gtest/gtest.h>

#include <SDL_opengl.h>

#include "TestKit.h"
#include "game/Player.h"
#include "game/WorldApp.h"

namespace {

// Whether any pixel of the box (centre cx, cy, half sizes hw, hh) is not black.
bool anyLit(float cx, float cy, int hw, int hh) {
    for (int y = static_cast<int>(cy) - hh; y <= static_cast<int>(cy) + hh; y += 3)
        for (int x = static_cast<int>(cx) - hw; x <= static_cast<int>(cx) + hw; x += 3) {
            const testkit::Rgba p = testkit::readPixel(x, y);
            if (p.r + p.g + p.b > 0) return true;
        }
    return false;
}

TEST(GameDrawing, FigureAndStatusLineAreDrawn) {
    testkit::GameScene scene(1000, true);
    cWorldApp& game = *scene.game;
    cPlayer& player = *game.player;
    player.x = 700.0f;
    player.y = 400.0f;
    player.z = 8.0f;
    player.update(1e9f);

    testkit::beginFrame();
    EXPECT_FALSE(anyLit(700.0f, 400.0f, 30, 45));
    glPushMatrix();
    player.draw();
    glPopMatrix();
    EXPECT_TRUE(anyLit(700.0f, 400.0f, 36, 51));
    EXPECT_FALSE(anyLit(700.0f, 560.0f, 30, 40));  // nothing far below the figure

    testkit::beginFrame();
    EXPECT_FALSE(anyLit(512.0f, 30.0f, 120, 12));
    glLoadIdentity();  // the state places the camera itself, as after the application's clear
    game.draw();
    EXPECT_TRUE(anyLit(512.0f, 30.0f, 120, 12));
}

}  // namespace
