// The game state as a whole: round set-up, new bricks, the phase machine with its boxes,
// the end of a round with and without a qualifying score, levels, and that memory stays flat.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/NameBox.h"
#include "game/AutoPilot.h"
#include "game/Brick.h"
#include "game/Cursor.h"
#include "game/InfoBox.h"
#include "game/Player.h"
#include "game/Tow.h"
#include "game/Witch.h"
#include "game/WorldApp.h"
#include "scene/ObjectList.h"

// Live allocations of the whole process, to see that play does not pile up objects.
static std::atomic<long> g_liveBlocks{0};
void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    ++g_liveBlocks;
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    --g_liveBlocks;
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

class Flow : public ::testing::Test {
protected:
    void start() {
        game->mouseDown(1);
        ASSERT_FALSE(game->paused);
    }
    int bricks() const {
        int n = 0;
        for (int i = 0; i < game->objects->count; ++i)
            if (dynamic_cast<cBrick*>(game->objects->get(i))) ++n;
        return n;
    }
    void fall() {
        game->player->y = 801.0f;
        game->update(60.0f);
    }
    void fillTable(unsigned int score) {
        for (int i = 0; i < cHighScoreTable::size; ++i) table->insertAt(i, "OLD", score);
    }
    // A seed after which the rand() call number `skip` gives rand() % 700 == wanted.
    static unsigned seedFor(int skip, int wanted) {
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            for (int i = 0; i < skip; ++i) std::rand();
            if (std::rand() % 700 == wanted) return seed;
        }
    }
    cBrick* spawnAgainst(float referenceX, int candidateX) {
        game->removeBricks();
        cBrick* reference = new cBrick(3);
        reference->x = referenceX;
        reference->y = 130.0f;
        reference->kind = 1;
        game->objects->add(reference);
        std::srand(seedFor(2, candidateX - 150));  // a wide brick: ornament, offset, then x
        game->spawnBrick();
        return game->topBrick();
    }

    testkit::GameScene scene;
    testkit::FakePlatform& sim = scene.platform;
    cHighScoreTable* table = scene.table;
    cWorldApp* game = scene.game;
};

TEST_F(Flow, LoadBuildsPausedSceneBehindInfoBox) {
    // Floor and two bricks, 600, 320 and 150 down; the info box drawn last, on top.
    ASSERT_EQ(game->objects->count, 7);
    EXPECT_EQ(game->objects->get(3), game->floor);
    EXPECT_FLOAT_EQ(game->objects->get(4)->y, 320.0f);
    EXPECT_FLOAT_EQ(game->objects->get(5)->y, 150.0f);
    EXPECT_EQ(game->objects->get(6), game->infoBox);
    EXPECT_TRUE(game->paused);

    const float brickY = game->topBrick()->y;
    game->update(60.0f);  // nothing falls; the first contact sets the player on the floor
    EXPECT_FLOAT_EQ(game->fallSpeed, 0.0f);
    EXPECT_FLOAT_EQ(game->player->y, 600.0f - 77.0f);
    EXPECT_FLOAT_EQ(game->topBrick()->y, brickY);
    game->mouseDown(3);
    game->mouseDown(2);
    EXPECT_TRUE(game->paused);
    game->mouseDown(1);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->infoBox, nullptr);
    EXPECT_EQ(game->objects->count, 6);
}

TEST_F(Flow, RoundLayoutKeepsBricksApartAndRepeatsWithinASecond) {
    for (std::time_t t = 1; t < 300; ++t) {
        sim.seconds = t;
        game->removeBricks();
        game->setupRound();
        const cObject* first = game->objects->get(game->objects->count - 2);
        const cObject* second = game->objects->get(game->objects->count - 1);
        EXPECT_GE(first->x, 150.0f);
        EXPECT_LE(first->x, 849.0f);
        EXPECT_GE(std::fabs(second->x - first->x), 150.0f) << t;
    }
    game->removeBricks();
    game->setupRound();
    const float a = game->topBrick()->x;
    game->removeBricks();
    game->setupRound();
    EXPECT_FLOAT_EQ(game->topBrick()->x, a);
    EXPECT_EQ(bricks(), 3);
}

TEST_F(Flow, NewBrickSpacing) {
    start();
    EXPECT_FLOAT_EQ(spawnAgainst(600.0f, 500)->x, 150.0f);
    EXPECT_FLOAT_EQ(spawnAgainst(600.0f, 499)->x, 849.0f);
    EXPECT_FLOAT_EQ(spawnAgainst(650.0f, 500)->x, 500.0f);  // exactly 150 apart keeps its place
    cBrick* made = spawnAgainst(100.0f, 700);
    EXPECT_FLOAT_EQ(made->y, -50.0f);
    EXPECT_EQ(made->kind, 1);
}

TEST_F(Flow, BricksEnterOnlyBelowTheLine) {
    start();
    game->removeBricks();
    cBrick* newest = new cBrick(3);
    newest->kind = 1;
    newest->y = 120.0f;
    game->objects->add(newest);
    game->spawnBrick();
    EXPECT_EQ(game->topBrick(), newest);
    newest->y = 120.5f;
    game->spawnBrick();
    EXPECT_NE(game->topBrick(), newest);
    EXPECT_FLOAT_EQ(game->topBrick()->y, -50.0f);
}

TEST_F(Flow, GoalBrickWitchAndNextLevel) {
    start();
    game->score = 40;
    game->tower->markerY = -60.0f;
    game->topBrick()->y = 200.0f;
    game->spawnBrick();
    cBrick* goal = game->topBrick();
    EXPECT_EQ(game->phase, 1);
    EXPECT_EQ(goal->kind, 3);
    const int count = game->objects->count;
    game->spawnBrick();
    EXPECT_EQ(game->objects->count, count);  // none after the goal

    goal->x = game->player->x;
    goal->y = game->player->y + 60.0f;
    game->checkContact(goal);
    ASSERT_NE(game->witch, nullptr);
    game->keyDown('p');  // pausing does not stop the witch
    EXPECT_TRUE(game->paused);
    game->witch->x = 801.0f;
    game->update(60.0f);
    EXPECT_EQ(game->phase, 2);
    EXPECT_EQ(bricks(), 0);
    EXPECT_EQ(game->floor, nullptr);
    game->keyDown('p');
    game->mouseDown(1);
    EXPECT_TRUE(game->paused);  // neither P nor a click resumes in phase 2

    game->keyDown('p');
    game->paused = false;
    fall();
    EXPECT_EQ(game->level, 2);
    EXPECT_EQ(game->tower->level, 2);
    EXPECT_FLOAT_EQ(game->tower->markerY, 100.0f);
    EXPECT_EQ(game->phase, 0);
    EXPECT_EQ(game->score, 40u);
    EXPECT_EQ(game->witch, nullptr);
    EXPECT_EQ(bricks(), 3);
}

TEST_F(Flow, FifteenthLevelShowsKillBoxAndAsksNoName) {
    start();
    game->level = 15;
    game->score = 999;
    game->phase = 2;
    game->removeBricks();
    fall();
    EXPECT_EQ(game->level, 1);
    EXPECT_EQ(game->score, 0u);
    EXPECT_EQ(game->phase, 0);
    EXPECT_TRUE(game->paused);
    ASSERT_NE(game->infoBox, nullptr);
    EXPECT_NE(game->infoBox->font, nullptr);  // only the kill box carries a font
    EXPECT_EQ(game->nameBox, nullptr);
    game->mouseDown(1);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->infoBox, nullptr);
}

TEST_F(Flow, PauseToggleAndEscape) {
    start();
    game->keyDown('p');
    ASSERT_NE(game->infoBox, nullptr);
    EXPECT_TRUE(game->paused);
    game->keyDown('p');
    EXPECT_EQ(game->infoBox, nullptr);
    EXPECT_FALSE(game->paused);

    game->score = 12;
    game->level = 4;
    game->tower->markerY = 0.0f;
    game->keyDown('p');
    game->keyDown(27);
    EXPECT_EQ(g_app->requestedState, 0);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->infoBox, nullptr);
    EXPECT_EQ(game->score, 0u);
    EXPECT_EQ(game->level, 1);
    EXPECT_FLOAT_EQ(game->tower->markerY, 100.0f);
    EXPECT_EQ(bricks(), 3);
    EXPECT_EQ(game->objects->count, 6);
}

TEST_F(Flow, ClicksAskForJumpsOnlyOnTheGroundInPhaseZero) {
    start();
    game->player->onGround = false;
    game->mouseDown(1);
    EXPECT_FALSE(game->jumpRequested);
    game->update(60.0f);  // the first contact puts the player on the floor
    EXPECT_TRUE(game->player->onGround);
    game->phase = 1;
    game->mouseDown(1);
    EXPECT_FALSE(game->jumpRequested);
    game->phase = 0;
    game->mouseDown(1);
    EXPECT_TRUE(game->jumpRequested);
    game->update(60.0f);
    EXPECT_FLOAT_EQ(game->fallSpeed, -700.0f);  // gravity came before the contact
    EXPECT_FLOAT_EQ(game->player->y, game->floor->y - 82.0f);
}

TEST_F(Flow, AimMarkerStaysInsideThePlayField) {
    start();
    sim.x = 3;
    game->update(60.0f);
    EXPECT_FLOAT_EQ(game->aimMarker->x, 50.0f);
    EXPECT_EQ(game->player->targetX, 50);
    sim.x = 1000;
    game->update(60.0f);
    EXPECT_FLOAT_EQ(game->aimMarker->x, 960.0f);
    EXPECT_EQ(game->player->targetX, 960);
}

TEST_F(Flow, FallWithoutQualifyingScoreShowsGameOver) {
    fillTable(50);
    start();
    game->score = 50;  // equal to the tenth: not enough
    fall();
    EXPECT_EQ(game->phase, 0);
    EXPECT_TRUE(game->paused);
    EXPECT_EQ(game->nameBox, nullptr);
    ASSERT_NE(game->infoBox, nullptr);
    EXPECT_EQ(game->score, 0u);
    EXPECT_EQ(bricks(), 3);
    game->keyDown('p');
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->infoBox, nullptr);

    std::memset(table->entries, 0, sizeof table->entries);
    fall();  // a zero score never enters even an empty table
    EXPECT_EQ(game->phase, 0);
    EXPECT_NE(game->infoBox, nullptr);
}

TEST_F(Flow, QualifyingFallLeadsThroughNameEntryToRetry) {
    const std::string dir = testkit::tempDir();
    const std::string file = dir + "/score.txt";
    table->loadFromFile(file.c_str());
    fillTable(5);
    start();
    game->level = 3;
    game->score = 77;
    fall();
    ASSERT_EQ(game->phase, 4);
    ASSERT_NE(game->nameBox, nullptr);
    EXPECT_EQ(game->nameBox->entry.score, 77u);
    EXPECT_EQ(game->score, 0u);
    EXPECT_EQ(game->level, 1);
    EXPECT_TRUE(game->paused);

    game->keyDown(13);  // nothing typed: ignored
    EXPECT_EQ(game->phase, 4);
    g_app->requestedState = 2;
    game->keyDown(27);
    game->mouseDown(1);
    EXPECT_EQ(g_app->requestedState, 2);
    EXPECT_EQ(game->phase, 4);
    for (int key : {int('z'), int('o'), int('1'), int(' '), 271, int('e'), 8, int('x')}) game->keyDown(key);
    EXPECT_STREQ(game->nameBox->entry.name, "ZOX    ");
    game->keyDown(13);
    EXPECT_EQ(game->nameBox, nullptr);
    EXPECT_EQ(game->phase, 5);
    ASSERT_NE(game->infoBox, nullptr);
    EXPECT_STREQ(table->entries[0].name, "ZOX    ");
    EXPECT_EQ(table->entries[0].score, 77u);
    EXPECT_EQ(testkit::readFile(file).substr(0, 12), "ZOX     77\nO");

    sim.x = 300;  // outside both buttons
    sim.y = 297;
    game->update(60.0f);
    game->mouseDown(1);
    EXPECT_EQ(game->phase, 5);
    sim.x = 599;
    game->update(60.0f);
    game->mouseDown(1);
    EXPECT_EQ(game->phase, 0);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->infoBox, nullptr);
    EXPECT_EQ(g_app->requestedState, 2);
}

TEST_F(Flow, RetryMenuButtonLeavesFreshRoundRunning) {
    start();
    game->score = 3;
    fall();
    game->keyDown('a');
    game->keyDown(13);
    ASSERT_EQ(game->phase, 5);
    sim.x = 418 + 75;  // right edge of the menu button counts
    sim.y = 297;
    game->update(60.0f);
    game->mouseDown(1);
    EXPECT_EQ(g_app->requestedState, 0);
    EXPECT_EQ(game->phase, 0);
    EXPECT_FALSE(game->paused);
}

TEST_F(Flow, BounceOnTheLastObjectDoesNotReadPastTheList) {
    start();
    for (cBrick* b = game->topBrick(); b != game->floor; b = game->topBrick()) {
        game->objects->remove(b);
        delete b;
    }
    ASSERT_EQ(game->topBrick(), game->floor);
    cBrick* last = new cBrick(1);
    last->kind = 1;
    last->x = game->player->x;
    last->y = game->player->y + 60.0f;
    game->objects->add(last);
    game->fallSpeed = 100.0f;
    game->update(1e9f);
    EXPECT_FLOAT_EQ(game->fallSpeed, -650.0f);
    EXPECT_EQ(bricks(), 0);
    EXPECT_EQ(game->floor, nullptr);
    EXPECT_EQ(game->score, 1u);
}

TEST_F(Flow, BricksBelowTheScreenLeave) {
    start();
    cObject* floor = game->floor;
    floor->y = 801.0f;
    game->update(1e9f);
    EXPECT_EQ(game->floor, nullptr);
    for (int i = 0; i < game->objects->count; ++i) EXPECT_NE(game->objects->get(i), floor);
}

TEST_F(Flow, LongPlayKeepsMemoryFlat) {
    cAutoPilot pilot(60.0f);
    cPilotInput input{0, 0, false, -1};
    long baseline = 0;
    int largest = 0;
    for (int frame = 0; frame < 60 * 60 * 8; ++frame) {
        if (frame % 60 == 0) ++sim.seconds;
        if (frame == 600) baseline = g_liveBlocks;
        pilot.decide(*game, input);
        sim.x = input.mouseX;
        sim.y = input.mouseY;
        if (input.key >= 0) game->keyDown(input.key);
        if (input.click) game->mouseDown(1);
        if (frame % 1500 == 1499) game->player->y = 900.0f;  // now and then a fall
        game->update(60.0f);
        if (game->objects->count > largest) largest = game->objects->count;
    }
    EXPECT_LT(largest, 20);
    EXPECT_LT(g_liveBlocks - baseline, 40);
    EXPECT_GT(game->level + static_cast<int>(game->score), 1);
}

}  // namespace
