// Contact rules between the player and the bricks, and the small scene objects of the game.
#include <gtest/gtest.h>

#include <cmath>

#include "TestKit.h"
#include "game/Background.h"
#include "game/Brick.h"
#include "game/Cursor.h"
#include "game/Player.h"
#include "game/Tow.h"
#include "game/Witch.h"
#include "game/WorldApp.h"
#include "scene/ObjectList.h"

namespace {

class Rules : public ::testing::Test {
protected:
    // A brick of the given kind placed relative to the player's contact circle centre.
    cBrick* brickAt(int type, int kind, float dx, float dy) {
        cBrick* b = new cBrick(type);
        b->kind = kind;
        b->x = p->x + dx;
        b->y = p->y + 22.0f + dy;
        b->z = 10.0f;
        game->objects->add(b);
        return b;
    }
    bool contains(cObject* o) const {
        for (int i = 0; i < game->objects->count; ++i)
            if (game->objects->get(i) == o) return true;
        return false;
    }

    testkit::GameScene scene{4242};
    cWorldApp* game = scene.game;
    cPlayer* p = game->player;
};

TEST_F(Rules, ContactTestEdgesAndCorner) {
    cBrick* b = brickAt(3, 1, 0, 0);  // W 67, H 45, r 10
    const float w = b->hitWidth, h = b->hitHeight;
    auto at = [&](float ax, float ay) {
        b->x = p->x + ax;
        b->y = p->y + 22.0f + ay;
        return game->touches(*p, *b);
    };
    EXPECT_TRUE(at(w + 10.0f, 0.0f));            // straight to the side, exactly r away
    EXPECT_FALSE(at(w + 10.5f, 0.0f));
    EXPECT_TRUE(at(0.0f, -(h + 10.0f)));         // straight above
    EXPECT_FALSE(at(0.0f, -(h + 10.5f)));
    EXPECT_TRUE(at(w + 6.0f, h + 8.0f));         // 6-8-10 triangle: on the corner circle
    EXPECT_FALSE(at(w + 6.5f, h + 8.0f));
    EXPECT_FALSE(at(w + 9.0f, -(h + 9.0f)));     // inside both bands but outside the corner
}

TEST_F(Rules, SideBandStartsJustPastWidthLessTwenty) {
    cBrick* b = brickAt(1, 1, 0, 0);
    const float w = b->hitWidth;
    // ax exactly W - 20 is a vertical contact: from above here, so a bounce.
    b->x = p->x - (w - 20.0f);
    b->y = p->y + 60.0f;
    const float y0 = p->y;
    game->checkContact(b);
    EXPECT_FLOAT_EQ(game->fallSpeed, -650.0f);
    EXPECT_FALSE(contains(b));
    EXPECT_FLOAT_EQ(p->y, y0 + 60.0f - 22.0f - 45.0f - 10.0f);

    // A little further out it is a push to the right edge.
    cBrick* c = brickAt(1, 1, 0, 0);
    c->x = p->x - (w - 19.0f);
    game->fallSpeed = 123.0f;
    scene.platform.x = 0;
    game->update(1e9f);  // reads the mouse; no motion at an enormous frame rate
    game->pushHold = false;
    c->x = p->x - (w - 19.0f);
    c->y = p->y + 22.0f;
    game->checkContact(c);
    EXPECT_FLOAT_EQ(p->x, c->x + w + 10.0f);
    EXPECT_EQ(p->targetX, static_cast<int>(p->x));
    EXPECT_TRUE(game->pushHold);  // the mouse lies left of the pushed player
    EXPECT_TRUE(contains(c));
}

TEST_F(Rules, PushLeavesHoldOffWhenMouseIsBeyond) {
    cBrick* b = brickAt(3, 1, 0, 0);
    b->x = p->x + b->hitWidth;  // player left of centre: pushed left
    game->mouseX = 0;
    game->pushHold = false;
    game->checkContact(b);
    EXPECT_FLOAT_EQ(p->x, b->x - b->hitWidth - 10.0f);
    EXPECT_FALSE(game->pushHold);
    game->mouseX = 1000;  // the mouse points back into the brick: the edge holds the target
    p->x += 1.0f;
    game->checkContact(b);
    EXPECT_TRUE(game->pushHold);
}

TEST_F(Rules, ThirtySevenSeparatesBelowFromAbove) {
    cBrick* b = brickAt(2, 1, 0, 0);
    b->y = p->y + 37.0f;  // exactly: from above
    game->score = 0;
    game->level = 3;
    game->tower->markerY = 39.0f;  // answers 2
    game->checkContact(b);
    EXPECT_EQ(game->score, 6u);
    EXPECT_EQ(game->floor, nullptr);

    cBrick* c = brickAt(2, 1, 0, 0);
    c->y = p->y + 36.5f;  // from below: pushed under the box, rise over
    game->fallSpeed = -400.0f;
    game->checkContact(c);
    EXPECT_FLOAT_EQ(game->fallSpeed, 0.0f);
    EXPECT_FLOAT_EQ(p->y, c->y - 21.0f + 45.0f + 10.0f);
    EXPECT_TRUE(contains(c));
    EXPECT_EQ(game->score, 6u);
}

TEST_F(Rules, BounceTakesOutBrickAndFloor) {
    cBrick* floor = game->floor;
    ASSERT_NE(floor, nullptr);
    ASSERT_TRUE(contains(floor));
    const int before = game->objects->count;
    cBrick* b = brickAt(1, 1, 0, 50.0f);
    game->checkContact(b);
    EXPECT_EQ(game->objects->count, before - 1);  // new brick and floor gone
    EXPECT_EQ(game->floor, nullptr);
    EXPECT_FALSE(contains(b));
    EXPECT_EQ(game->score, 1u);  // tower answers 1 at level 1
}

TEST_F(Rules, FloorCarriesAndJumpsOnRequest) {
    cBrick* floor = game->floor;
    p->x = 500.0f;
    p->y = floor->y - 50.0f;
    game->fallSpeed = 300.0f;
    game->checkContact(floor);
    EXPECT_TRUE(p->onGround);
    EXPECT_FLOAT_EQ(game->fallSpeed, 0.0f);
    EXPECT_FLOAT_EQ(p->y, floor->y - 77.0f);

    // Any touch lands on the floor, even from the side band.
    p->x = floor->x + floor->hitWidth + 5.0f;
    game->checkContact(floor);
    EXPECT_FLOAT_EQ(p->y, floor->y - 77.0f);

    p->x = 500.0f;
    game->jumpRequested = true;
    game->checkContact(floor);
    EXPECT_FLOAT_EQ(game->fallSpeed, -700.0f);
    EXPECT_FALSE(p->onGround);
    EXPECT_FALSE(game->jumpRequested);
    EXPECT_FLOAT_EQ(p->y, floor->y - 82.0f);
    EXPECT_EQ(game->score, 0u);
}

TEST_F(Rules, GoalBrickCallsOneWitchAndScoresNothing) {
    cBrick* goal = brickAt(4, 3, 0, 50.0f);
    game->checkContact(goal);
    ASSERT_NE(game->witch, nullptr);
    cWitch* witch = game->witch;
    EXPECT_TRUE(contains(witch));
    EXPECT_FLOAT_EQ(witch->x, 0.0f);
    EXPECT_FLOAT_EQ(witch->y, 160.0f);
    EXPECT_TRUE(p->onGround);
    EXPECT_TRUE(contains(goal));
    EXPECT_EQ(game->score, 0u);
    p->y -= 10.0f;
    game->checkContact(goal);
    EXPECT_EQ(game->witch, witch);
    int witches = 0;
    for (int i = 0; i < game->objects->count; ++i)
        if (dynamic_cast<cWitch*>(game->objects->get(i))) ++witches;
    EXPECT_EQ(witches, 1);
}

TEST_F(Rules, OtherKindsAreLeftAlone) {
    cBrick* b = brickAt(1, 7, 0, 50.0f);
    const float y = p->y;
    game->checkContact(b);
    EXPECT_FLOAT_EQ(p->y, y);
    EXPECT_TRUE(contains(b));
}

TEST_F(Rules, PlayerWalksFacesAndPicksFrames) {
    cPlayer& q = *p;
    q.targetX = 500;
    q.x = 500.5f;
    q.speed = 0.0f;
    q.y = 300.0f;
    q.update(60.0f);
    EXPECT_FLOAT_EQ(q.x, 500.5f);
    EXPECT_FALSE(q.scrollHeld);
    q.y = 300.5f;
    q.update(60.0f);
    EXPECT_TRUE(q.scrollHeld);

    q.x = 1400.0f;
    q.update(50.0f);
    EXPECT_FLOAT_EQ(q.x, 1400.0f - 4000.0f / 50.0f);
    EXPECT_FLOAT_EQ(q.sprite.v, 0.0f);

    q.moveFactor = 1.0f;
    q.speed = 650.0f;
    q.y = 350.0f;
    q.update(65.0f);
    EXPECT_FLOAT_EQ(q.y, 340.0f);
    EXPECT_FLOAT_EQ(q.sprite.u, 5.0f / 7.0f);

    q.onGround = true;
    q.speed = 0.0f;
    const float cases[][2] = {{44.9f, 0}, {45.0f, 1}, {180.0f, 0}, {359.0f, 3}};
    for (const auto& c : cases) {
        q.x = c[0];
        q.targetX = static_cast<int>(c[0]);
        q.update(60.0f);
        EXPECT_FLOAT_EQ(q.sprite.u, c[1] / 7.0f) << c[0];
    }
    q.speed = -300.0f;
    q.update(60.0f);
    EXPECT_TRUE(q.onGround);
    q.update(50.0f);
    EXPECT_FALSE(q.onGround);
    EXPECT_FLOAT_EQ(q.sprite.u, 6.0f / 7.0f);
}

TEST_F(Rules, BricksByType) {
    // Contact half width by type (unknown types take the goal's), and which carry an ornament.
    const struct {
        int type;
        float hitW;
        bool ornament;
    } rows[] = {{0, 487.0f, false}, {1, 121.0f, true},  {2, 93.5f, true},
                {3, 67.0f, false},  {4, 123.0f, false}, {-1, 123.0f, false}};
    for (const auto& r : rows) {
        cBrick b(r.type);
        EXPECT_FLOAT_EQ(b.hitWidth, r.hitW) << r.type;
        EXPECT_FLOAT_EQ(b.hitHeight, 45.0f);
        EXPECT_EQ(b.decoration.texture != nullptr, r.ornament) << r.type;
        if (r.ornament) {
            EXPECT_FLOAT_EQ(b.decoration.y, -50.0f);
            const float spread = r.type == 1 ? 100.0f : 75.0f;
            EXPECT_GE(b.decoration.x, -spread);
            EXPECT_LT(b.decoration.x, spread);
        }
    }
    cBrick b(1);
    b.y = 100.0f;
    b.speed = 600.0f;
    b.scrollHeld = true;
    b.update(60.0f);
    EXPECT_FLOAT_EQ(b.y, 100.0f);
    b.scrollHeld = false;
    b.update(60.0f);
    EXPECT_FLOAT_EQ(b.y, 110.0f);
    EXPECT_FLOAT_EQ(b.body.y, 110.0f);
}

TEST_F(Rules, TowerAnswersByLevelAndMarker) {
    cTow t;
    EXPECT_EQ(t.nextBrickType(), 1);
    struct Row {
        int level;
        float marker;
        int answer;
    } rows[] = {{3, 40.0f, 1}, {3, 39.9f, 2}, {3, -10.0f, 2}, {3, -50.0f, 3}, {3, -50.1f, 4},
                {5, 100.0f, 2}, {5, 9.9f, 3},  {9, 10.0f, 2},  {10, 100.0f, 3}, {15, -50.1f, 4}};
    for (const Row& r : rows) {
        t.level = r.level;
        t.markerY = r.marker;
        EXPECT_EQ(t.nextBrickType(), r.answer) << r.level << " " << r.marker;
    }
    t.markerY = 7.0f;
    t.setMarkerStage(0);
    t.setMarkerStage(5);
    EXPECT_FLOAT_EQ(t.markerY, 7.0f);
    t.setMarkerStage(3);
    EXPECT_FLOAT_EQ(t.markerY, -10.0f);

    t.markerY = 100.0f;
    t.speed = 500.0f;
    t.scrollHeld = false;
    t.update(50.0f);
    EXPECT_NEAR(t.markerY, 99.8f, 1e-4);
    t.scrollHeld = true;
    t.update(50.0f);
    EXPECT_NEAR(t.markerY, 99.8f, 1e-4);

    cBackground back;
    back.speed = 500.0f;
    back.scrollHeld = false;
    back.update(50.0f);
    EXPECT_NEAR(back.sprite.v, -500.0f / 220.0f / 50.0f, 1e-6);
    EXPECT_FLOAT_EQ(back.sprite.halfHeight, 520.0f);
    EXPECT_FLOAT_EQ(back.sprite.dv, 5.0f);
}

TEST_F(Rules, WitchFliesAndCursorPicksPicture) {
    cWitch w;
    w.speed = 100.0f;
    w.scrollHeld = true;
    w.update(50.0f);
    EXPECT_FLOAT_EQ(w.x, 8.0f);
    EXPECT_FLOAT_EQ(w.y, 0.0f);
    w.scrollHeld = false;
    w.update(100.0f);
    EXPECT_FLOAT_EQ(w.x, 12.0f);
    EXPECT_FLOAT_EQ(w.y, 1.0f);

    cCursor marker(1), zero(0), two(2), minus(-1);
    EXPECT_NE(marker.sprite.texture, zero.sprite.texture);
    EXPECT_EQ(zero.sprite.texture, two.sprite.texture);
    EXPECT_EQ(zero.sprite.texture, minus.sprite.texture);
}

}  // namespace
