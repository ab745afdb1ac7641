// The game on a real window with the mixer on its dummy driver: how the figure meets the bricks,
// the scene objects, the climb frame by frame, levels, the end of a round, keys, and drawing.
#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/NameBox.h"
#include "game/Background.h"
#include "game/Brick.h"
#include "game/Cursor.h"
#include "game/InfoBox.h"
#include "game/Player.h"
#include "game/Tow.h"
#include "game/Witch.h"
#include "game/WorldApp.h"
#include "media/BitmapFont.h"
#include "media/Sound.h"
#include "media/TextureManager.h"
#include "scene/Geometry.h"
#include "scene/MenuButton.h"
#include "scene/ObjectList.h"

namespace {

// Which of the channels 0 (jump), 1 (fall) and 2 (goal) play, "010" for the fall alone; then silence.
std::string playing() {
    std::string s;
    for (int c = 0; c < 3; ++c) s += Mix_Playing(c) ? '1' : '0';
    return Mix_HaltChannel(-1), s;
}

std::string format(const char* pattern, ...) {
    char text[160];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

// rand() % 700 + 150 as the call after `skip` others gives it after srand(seed).
int drawnX(unsigned seed, int skip) {
    for (std::srand(seed); skip > 0; --skip) std::rand();
    return std::rand() % 700 + 150;
}

// A loaded game whose sounds keep their channels busy until halted, however late a test looks.
struct Game : testkit::GameScene {
    Game() : GameScene((testkit::openAudio(), 1000), true) {  // the mixer opens before the game loads its sounds
        for (cSound* s : {game->jumpSound, game->fallSound, game->goalSound}) s->loops = -1;
    }
    int bricks() const {
        int n = 0;
        for (int i = 0; i < game->objects->count; ++i) n += dynamic_cast<cBrick*>(game->objects->get(i)) != nullptr;
        return n;
    }
    void fall() { game->player->y = 801, game->update(60); }
    void frame() { game->update(60); }
    bool shows(const char* picture) const {
        return game->infoBox && game->infoBox->sprite.texture == cTextureManager::getSingleton().getTexture(picture);
    }
    cBrick* add(int type, int kind, float x, float y) {
        cBrick* b = new cBrick(type);
        return b->kind = kind, b->x = x, b->y = y, game->objects->add(b), b;
    }
};

class Flow : public ::testing::Test, public Game {};

// Bricks placed from the centre of the figure's contact circle (500, 322), at level 3 with the tower
// answering 2, so a bounce is worth 6 whatever the brick looks like. After: the figure's x and y, the
// fall speed (123 before), objects added, standing, the side push holding the target, sounds, score.
TEST(Contact, EachKindOfBrickMeetsTheFigure) {
    const struct { const char* what; int type, kind; float dx, dy; bool jump; int mouse; const char* after; } rows[] = {
        {"on top, exactly 37 below", 3, 1, 0, 15, false, 500, "500 260 -650 -2 0 0 100 6"},
        {"from below", 3, 1, 0, 14.5f, false, 500, "500 370.5 0 0 0 0 000 0"},
        {"at the side band's edge", 1, 1, -101, 40, false, 500, "500 285 -650 -2 0 0 100 6"},
        {"in the side band, mouse behind", 1, 1, -102, 0, false, 0, "529 300 123 0 0 1 000 0"},
        {"in the side band, mouse beyond", 1, 1, -102, 0, false, 1000, "529 300 123 0 0 0 000 0"},
        {"corner reached at exactly r", 3, 1, 73, 53, false, 1000, "496 300 123 0 0 1 000 0"},
        {"just past the corner", 3, 1, 73.5f, 53, false, 1000, "500 300 123 0 0 0 000 0"},
        {"goal in the side band", 4, 3, 104, 0, false, 1000, "471 300 123 0 0 1 000 0"},
        {"goal from below", 4, 3, 0, 14.5f, false, 500, "500 370.5 0 0 0 0 000 0"},
        {"goal from above", 4, 3, 0, 30, false, 500, "500 275 0 1 1 0 001 0"},
        {"floor in its side band", 0, 2, 490, 0, false, 500, "500 245 0 0 1 0 000 0"},
        {"floor with a jump asked for", 0, 2, 0, 30, true, 500, "500 270 -700 0 0 0 100 0"},
        {"out of reach below", 3, 1, 0, 55.5f, false, 500, "500 300 123 0 0 0 000 0"},
        {"a kind that is no platform", 1, 7, 0, 30, false, 500, "500 300 123 0 0 0 000 0"},
    };
    for (const auto& c : rows) {
        SCOPED_TRACE(c.what);
        Game scene;
        cWorldApp& g = *scene.game;
        cPlayer& p = *g.player;
        p.x = 500, p.y = 300, p.targetX = 500, g.level = 3, g.tower->markerY = 39, g.mouseX = c.mouse;
        g.fallSpeed = 123, g.jumpRequested = c.jump;
        cBrick* b = scene.add(c.type, c.kind, 500 + c.dx, 322 + c.dy);
        const int count = g.objects->count;
        g.checkContact(b);
        EXPECT_EQ(format("%g %g %g %d %d %d %s %u", p.x, p.y, g.fallSpeed, g.objects->count - count, p.onGround,
                         g.pushHold, playing().c_str(), g.score),
                  c.after);
        EXPECT_EQ(p.targetX, static_cast<int>(p.x));
        EXPECT_FALSE(g.jumpRequested);
        EXPECT_EQ(g.floor == nullptr, g.objects->count - count == -2);  // a bounce takes the brick and the floor
        if (!g.witch) continue;
        g.checkContact(b);  // standing on the goal again calls no second witch
        EXPECT_TRUE(g.witch->y == 160 && playing() == "000" && g.objects->count == count + 1);
    }
}

// The figure's x, y, whether it holds the world, its frame column, row (0.25 unchanged) and ground.
TEST(Objects, FigureWalksScrollsAndPicksItsPicture) {
    const struct { float x, y; int target; float speed; bool ground; float fps; const char* after; } steps[] = {
        {500.5f, 300, 500, 0, false, 60, "500.5 300 0 4 0 0"},
        {1400, 300.5f, 500, 650, false, 50, "1320 287.5 1 5 0 0"},  // rising below the scroll line at 300
        {100, 300, 600, 650, false, 65, "161.538 300 0 5 0.5 0"},
        {500, 300, 500, 100, false, 60, "500 300 0 4 0.25 0"},
        {500, 300, 500, 100.5f, false, 60, "500 300 0 5 0.25 0"},
        {500, 300, 500, -100, false, 60, "500 301.667 1 4 0.25 0"},
        {500, 300, 500, -100.5f, false, 60, "500 301.675 1 6 0.25 0"},
        {44.9f, 300, 44, 0, true, 60, "44.9 300 0 0 0 1"},
        {45, 300, 45, 0, true, 60, "45 300 0 1 0.25 1"},
        {180, 300, 180, 0, true, 60, "180 300 0 0 0.25 1"},
        {359, 300, 359, 0, true, 60, "359 300 0 3 0.25 1"},
        {200, 300, 200, -300, true, 60, "200 305 1 0 0.25 1"},
        {200, 300, 200, -300, true, 50, "200 306 1 6 0.25 0"},
    };
    testkit::openWindow();
    cPlayer p;
    p.moveFactor = 1;
    for (const auto& s : steps) {
        p.x = s.x, p.y = s.y, p.targetX = s.target, p.speed = s.speed, p.onGround = s.ground, p.sprite.v = 0.25f;
        p.update(s.fps);
        EXPECT_EQ(format("%g %g %d %g %g %d", p.sprite.x, p.sprite.y, p.scrollHeld, p.sprite.u * 7, p.sprite.v, p.onGround), s.after)
            << "from x " << s.x << " y " << s.y << " speed " << s.speed;
    }
}

TEST(Objects, BricksTowerAndBackdrop) {
    testkit::openWindow();
    // Contact half width by type (the picture less 10 at each side); ornament offsets lie in
    // -spread/2 .. spread/2 - 1, 50 above the centre, and no spread means no ornament.
    const struct { int type; float hitWidth; int spread; } types[] = {{0, 487, 0}, {1, 121, 200}, {2, 93.5f, 150}, {3, 67, 0}, {4, 123, 0}, {-1, 123, 0}};
    for (const auto& r : types) {
        cBrick b(r.type);
        EXPECT_EQ(format("%g %g %d", b.hitWidth, b.body.halfWidth - b.hitWidth + b.hitHeight, b.decoration.texture != nullptr),
                  format("%g 55 %d", r.hitWidth, r.spread != 0));
        EXPECT_TRUE(!r.spread || (b.decoration.y == -50 && b.decoration.x >= -r.spread / 2 && b.decoration.x < r.spread / 2));
    }
    const struct { int level; float marker; int answer; } answers[] = {{3, 40, 1}, {3, 39.9f, 2}, {3, -10, 2}, {3, -50, 3}, {3, -50.1f, 4}, {4, -10.1f, 3},
        {5, 100, 2}, {5, 10, 2}, {5, 9.9f, 3}, {9, 9.9f, 3}, {9, -50.1f, 4}, {10, 100, 3}, {15, -50, 3}, {15, -50.1f, 4}, {1, 100, 1}};
    cTow t;
    for (const auto& r : answers) {
        t.level = r.level, t.markerY = r.marker;
        EXPECT_EQ(t.nextBrickType(), r.answer) << "level " << r.level << " marker " << r.marker;
    }
    cBackground back;
    cBrick brick(3);
    for (cObject* o : std::initializer_list<cObject*>{&t, &back, &brick})
        o->speed = 500, o->scrollHeld = true, o->update(50), o->scrollHeld = false, o->update(50);
    EXPECT_NEAR(t.markerY, 99.8f, 1e-4);
    EXPECT_NEAR(back.sprite.v, -500 / 220.0f / 50, 1e-6);
    EXPECT_FLOAT_EQ(brick.body.y, 10);
}

TEST_F(Flow, FirstRoundWaitsBehindTheInfoBoxThenJumpsFromTheFloor) {
    ASSERT_EQ(game->objects->count, 7);  // backdrop, tower, figure, floor, bricks at 320 and 150, box
    EXPECT_TRUE(game->objects->get(4)->y == 320 && game->objects->get(5)->y == 150 && shows("data\\graphics\\gameinfo.png"));
    EXPECT_EQ(format("%g %g %g", game->infoBox->x, game->infoBox->y, game->infoBox->z), "512 250 8");  // where every box stands
    frame();  // nothing falls; the first contact sets the figure on the floor
    EXPECT_TRUE(game->fallSpeed == 0 && game->player->y == 600 - 77 && game->topBrick()->y == 150);
    game->mouseDown(3);
    game->mouseDown(1);
    EXPECT_TRUE(!game->paused && !game->infoBox);
    frame(), game->mouseDown(1), frame();
    EXPECT_TRUE(game->fallSpeed == -700 && playing() == "100");
    const int before = bricks();
    game->floor->y = 801, game->mouseDown(1), frame();  // a brick below the screen leaves; no jump in the air
    EXPECT_TRUE(game->floor == nullptr && bricks() == before - 1 && !game->jumpRequested);
}

// A bounce at 60 frames a second from y 683: how high it lifts the figure and how many frames pass
// until it has fallen out below the screen. The level speeds up scrolling and gravity alike by
// 0.1 x level + 1.1, so the height hardly changes while the fall gets quicker.
TEST(Climb, BounceHeightAndFallTimeByLevel) {
    const struct { int level; float lift; int frames; } rows[] = {{1, 308.32f, 109}, {8, 312.154f, 71}, {15, 316.03f, 53}};
    for (const auto& r : rows) {
        Game scene;
        cWorldApp& g = *scene.game;
        g.mouseDown(1), g.level = r.level, g.removeBricks(), g.player->x = 500, g.player->y = 700;
        scene.add(3, 1, 500, 760);
        float top = g.player->y;
        int frames = 0;
        for (; !g.paused && frames < 600; ++frames) g.update(60), top = std::min(top, g.player->y);
        EXPECT_NEAR(683 - top, r.lift, 0.05) << "level " << r.level;
        EXPECT_EQ(frames, r.frames) << "level " << r.level;
    }
}

// A frame longer than 25 ms is played as equal passes of at most 25 ms: one long frame is the same
// climb as that many short ones. A figure falling at the cap on level 15 from 3 units above a
// brick's landing band crosses the band in one step of 1/24 s (a head bump) or of 1/10 s (no touch
// at all); in passes it lands at every rate. A frame longer than 100 ms (a stalled machine) is
// played as one of 100 ms: the climb never leaps seconds ahead at once.
TEST(Climb, LongFramesArePlayedInShortPassesAndStallsAsTheLongestFrame) {
    auto landing = [](const std::vector<float>& frames) {
        Game scene;
        cWorldApp& g = *scene.game;
        g.mouseDown(1), g.level = 15, g.removeBricks(), g.fallSpeed = 500;
        g.player->x = g.player->targetX = 500, g.player->y = 420, g.player->scrollHeld = true;
        scene.add(3, 1, 500, 500);
        for (float fps : frames) g.update(fps);
        EXPECT_GT(g.score, 0u) << frames[0] << " fps";
        return format("y %g fall %g score %u", g.player->y, g.fallSpeed, g.score);
    };
    const struct { float fps; int passes; } rows[] = {{60, 1}, {40, 1}, {39, 2}, {24, 2}, {1000 / 75.0f, 3}, {10, 4}};
    for (const auto& r : rows) {
        EXPECT_EQ(cWorldApp::passesFor(r.fps), r.passes) << r.fps;
        EXPECT_EQ(landing({r.fps}), landing(std::vector<float>(r.passes, r.fps * r.passes))) << r.fps << " fps";
    }
    for (float stalled : {9.9f, 0.2f, 1e-30f}) EXPECT_EQ(landing({stalled}), landing({10})) << 1000 / stalled << " ms";
    EXPECT_EQ(cWorldApp::passesFor(std::numeric_limits<float>::infinity()), 1);  // two frames in one millisecond
}

// Leaving the window mid-climb (the focus to another window, or the window hidden) pauses the round
// as P does, through the frame loop's own dispatch. Coming back, the pointer leaving, a box already
// up or another screen in front change nothing; a click goes on from the pause.
TEST(Attention, LeavingTheWindowPausesOnlyARunningClimb) {
    const struct { Uint8 gain, state; bool climbing, shown; const char* after; } rows[] = {
        {0, SDL_APPINPUTFOCUS, true, true, "paused 1 pause"}, {0, SDL_APPACTIVE, true, true, "paused 1 pause"},
        {0, SDL_APPMOUSEFOCUS, true, true, "paused 0 none"}, {1, SDL_APPINPUTFOCUS | SDL_APPACTIVE, true, true, "paused 0 none"},
        {0, SDL_APPINPUTFOCUS, false, true, "paused 1 info"}, {0, SDL_APPINPUTFOCUS, true, false, "paused 0 none"}};
    cApplication& app = testkit::app();
    for (const auto& r : rows) {
        Game scene;
        cWorldApp& g = *scene.game;
        cMenuState menu;
        menu.load();
        if (r.climbing) g.mouseDown(1);
        app.currentState = r.shown ? static_cast<cAppState*>(&g) : &menu, app.currentStateId = app.requestedState;
        auto deliver = [&](Uint8 gain) {
            SDL_Event e = {};
            while (SDL_PollEvent(&e)) {}
            e.type = SDL_ACTIVEEVENT, e.active.gain = gain, e.active.state = r.state;
            SDL_PushEvent(&e), app.frame();
            return format("paused %d %s", g.paused, scene.shows("data\\graphics\\pause.png") ? "pause" : g.infoBox ? "info" : "none");
        };
        EXPECT_EQ(deliver(r.gain), r.after) << int(r.gain) << " " << int(r.state);
        EXPECT_EQ(deliver(1), r.after) << "back in the window";
        g.mouseDown(1);
        EXPECT_FALSE(g.paused);
        app.currentState = nullptr;
    }
}

TEST_F(Flow, SteeringFollowsTheMouseUnlessHeldOrPaused) {
    game->mouseDown(1);
    for (int mouse : {3, 1000, 700}) {
        platform.x = mouse, frame();
        EXPECT_EQ(format("%g %d", game->aimMarker->x, game->player->targetX), format("%d %d", mouse < 50 ? 50 : mouse > 960 ? 960 : mouse, mouse < 50 ? 50 : mouse > 960 ? 960 : mouse));
    }
    game->pushHold = true, game->player->targetX = 321, platform.x = 600, frame();
    EXPECT_EQ(game->player->targetX, 321);
    frame();
    EXPECT_EQ(game->player->targetX, 600);
    game->keyDown('p');
    game->player->x = 432.7f, game->player->targetX = 900, frame();
    EXPECT_TRUE(shows("data\\graphics\\pause.png") && game->player->targetX == 432 && game->player->x == 432.7f);
}

TEST_F(Flow, NewBricksEnterAboveSpacedAndStopAfterTheGoal) {
    unsigned seed = 1;  // a round whose second wide brick is drawn too close: ornament, offset, x each
    while (std::abs(drawnX(seed, 5) - drawnX(seed, 2)) >= 150) ++seed;
    platform.seconds = seed;
    game->removeBricks(), game->setupRound();
    const int first = drawnX(seed, 2), second = drawnX(seed, 5);
    EXPECT_FLOAT_EQ(game->objects->get(game->objects->count - 2)->x, first);
    EXPECT_FLOAT_EQ(game->topBrick()->x, second < 500 ? second + 350 : second - 350);
    game->mouseDown(1);
    const struct { float newest; int drawn; float x; } spacing[] = {{600, 500, 150}, {600, 499, 849}, {650, 500, 500}};
    for (const auto& s : spacing) {
        game->topBrick()->x = s.newest, game->topBrick()->y = 121;
        for (seed = 1; drawnX(seed, 2) != s.drawn;) ++seed;
        std::srand(seed), game->spawnBrick();
        EXPECT_FLOAT_EQ(game->topBrick()->x, s.x) << s.drawn << " against " << s.newest;
    }
    game->topBrick()->y = 120, frame();  // a new brick enters once the newest is below y 120
    EXPECT_EQ(bricks(), 6);
    game->topBrick()->y = 120.5f, frame();
    EXPECT_TRUE(bricks() == 7 && game->topBrick()->y == -50 && game->topBrick()->kind == 1);
    game->tower->markerY = -60, game->topBrick()->y = 200, frame();
    EXPECT_TRUE(game->phase == 1 && game->topBrick()->kind == 3);
    game->topBrick()->y = 200, frame();
    EXPECT_EQ(bricks(), 8);
}

TEST_F(Flow, WitchEndsTheLevelAndTheFifteenthEndsTheGame) {
    game->mouseDown(1);
    game->level = game->tower->level = 14, game->score = 40;
    for (bool last : {false, true}) {
        game->tower->markerY = -60, game->topBrick()->y = 200, frame();
        cBrick* goal = game->topBrick();
        goal->x = game->player->x, goal->y = game->player->y + 60;
        game->checkContact(goal);
        ASSERT_NE(game->witch, nullptr);
        game->witch->x = 800, frame();
        EXPECT_TRUE(game->phase == 1 && game->witch->x == 800 + 400 / 60.0f && playing() == "001");
        frame();  // the witch has flown past 800
        EXPECT_TRUE(game->phase == 2 && bricks() == 0 && playing() == "010");
        game->keyDown('p'), fall();  // P does nothing once the level is done
        EXPECT_EQ(format("level %d %d score %u paused %d", game->level, game->tower->level, game->score, game->paused),
                  last ? "level 1 1 score 0 paused 1" : "level 15 15 score 40 paused 0");
        EXPECT_EQ(shows("data\\graphics\\killbox.png"), last);
        EXPECT_TRUE(game->tower->markerY == 100 && game->phase == 0 && !game->witch && !game->nameBox && bricks() == 3);
    }
    EXPECT_STREQ(game->infoBox->number, "0000000040");
}

// Paused on the goal brick, the witch flies on and ends the level behind the Pause box; P or a
// click then lets the figure drop into the next level with the score kept.
TEST(NoDeadEnd, PauseOnTheGoalResumesAfterTheWitch) {
    for (bool key : {true, false}) {
        Game scene;
        cWorldApp& g = *scene.game;
        g.mouseDown(1), g.score = 40;
        g.tower->markerY = -60, g.topBrick()->y = 200, scene.frame();
        cBrick* goal = g.topBrick();
        goal->x = g.player->x, goal->y = g.player->y + 60, g.checkContact(goal);
        g.keyDown('p'), g.witch->x = 801, scene.frame();
        ASSERT_TRUE(g.phase == 2 && g.paused && scene.shows("data\\graphics\\pause.png"));
        key ? g.keyDown('p') : g.mouseDown(1);
        scene.fall();
        EXPECT_EQ(format("level %d score %u phase %d paused %d box %d", g.level, g.score, g.phase, g.paused, g.infoBox != nullptr),
                  "level 2 score 40 phase 0 paused 0 box 0") << (key ? "P" : "click");
    }
}

// The kill box after the fifteenth level offers the finished score to the table however it is
// closed: a click, P or Escape opens the name box when the score qualifies; when it does not,
// a click or P plays on and Escape leads to the menu.
TEST(NoDeadEnd, EveryWayOutOfTheKillBoxOffersTheScore) {
    for (bool qualifies : {true, false}) {
        for (int way : {1, int('p'), 27}) {
            Game scene;
            cWorldApp& g = *scene.game;
            for (int i = 0; i < cHighScoreTable::size; ++i) scene.table->insertAt(i, "OLD", qualifies ? 0 : 99999);
            testkit::app().requestedState = 2;
            g.mouseDown(1), g.level = 15, g.score = 777, g.phase = 2, scene.fall();
            ASSERT_TRUE(scene.shows("data\\graphics\\killbox.png"));
            way == 1 ? g.mouseDown(1) : g.keyDown(way);
            const bool menu = !qualifies && way == 27;
            EXPECT_EQ(format("phase %d name %u box %d paused %d menu %d", g.phase, g.nameBox ? g.nameBox->entry.score : 0,
                             g.infoBox != nullptr, g.paused, testkit::app().requestedState == 0),
                      qualifies ? "phase 4 name 777 box 0 paused 1 menu 0" : format("phase 0 name 0 box 0 paused 0 menu %d", menu))
                << "way " << way << (qualifies ? ", qualifies" : "");
        }
    }
}

TEST_F(Flow, FallLeadsToGameOverOrThroughTheNameToTheRetryBox) {
    const struct { unsigned tenth, score; bool named; } falls[] = {{0, 0, false}, {50, 50, false}, {50, 51, true}};
    for (const auto& f : falls) {
        for (int i = 0; i < cHighScoreTable::size; ++i) table->insertAt(i, "OLD", f.tenth);
        game->mouseDown(1);
        game->level = 3, game->score = f.score;
        fall();
        EXPECT_TRUE(playing() == "010" && game->paused && game->score == 0 && game->level == 1 && bricks() == 3);
        EXPECT_EQ(game->phase, f.named ? 4 : 0);
        EXPECT_EQ(shows("data\\graphics\\over.png"), !f.named);
        if (!f.named) { EXPECT_EQ(format("Score %u", f.score), game->infoBox->number) << "the ended round's score"; }
        EXPECT_EQ(game->nameBox != nullptr, f.named);
    }
    ASSERT_TRUE(game->nameBox && game->nameBox->entry.score == 51);
    testkit::app().requestedState = 2;
    for (int key : {27, 13}) game->keyDown(key);  // Escape, and Return before a letter, do nothing here
    game->mouseDown(1);
    EXPECT_TRUE(game->phase == 4 && testkit::app().requestedState == 2);
    for (int key : {int('z'), int('p'), 13}) game->keyDown(key);
    EXPECT_TRUE(game->phase == 5 && !game->nameBox && table->entries[0].score == 51);
    EXPECT_STREQ(table->entries[0].name, "ZP     ");
    ASSERT_TRUE(shows("data\\graphics\\gameagain.png"));
    game->keyDown('p');
    platform.x = 300, platform.y = 297, frame();  // left of both buttons
    game->mouseDown(1);
    EXPECT_TRUE(game->phase == 5 && game->paused);
    platform.x = 599;  // a tap: the pointer arrives with the click, no frame between
    game->mouseDown(1);
    EXPECT_TRUE(game->phase == 0 && !game->paused && !game->infoBox && testkit::app().requestedState == 2);
    game->level = 4, game->score = 12, game->keyDown('p'), game->keyDown(27);
    EXPECT_TRUE(testkit::app().requestedState == 0 && !game->paused && !game->infoBox && game->level == 1 && game->score == 0);
}

// The retry box's menu button covers 343..493 x 265..329 and its again button 519..679 x 262..332.
TEST_F(Flow, RetryButtonsAnswerWithinTheirEdges) {
    const struct { int x, y; bool menu, again; } probes[] = {
        {343, 265, 1, 0}, {493, 329, 1, 0}, {342, 297, 0, 0}, {494, 297, 0, 0}, {418, 264, 0, 0}, {418, 330, 0, 0},
        {519, 262, 0, 1}, {679, 332, 0, 1}, {518, 297, 0, 0}, {680, 297, 0, 0}, {599, 261, 0, 0}, {599, 333, 0, 0}};
    for (const auto& p : probes)
        EXPECT_EQ(std::make_pair(p.menu, p.again),
                  std::make_pair(hitTest(*game->menuButton, p.x, p.y), hitTest(*game->againButton, p.x, p.y))) << p.x << "," << p.y;
}

TEST_F(Flow, AimMarkerIsDrawnOnlyDuringPlay) {
    game->mouseDown(1), platform.x = 700, frame();
    for (int phase : {0, 1, 2, 4, 5}) {
        game->phase = phase;
        const testkit::Frame here = testkit::drawnFrame(*game);
        game->aimMarker->sprite.x = 300;
        const testkit::Frame moved = testkit::drawnFrame(*game);
        game->aimMarker->sprite.x = 700;
        EXPECT_EQ(testkit::countDifferences(here, moved, {0, 0, 1023, 767}) > 0, phase <= 1) << "phase " << phase;
    }
}

// The game's own music starts at volume 50 of 128 with the game and fades out when it is left.
TEST_F(Flow, MusicPlaysWhileTheGameIsShown) {
    Mix_HaltMusic(), Mix_VolumeMusic(128);
    SDL_LockAudio(), game->activate(true);
    EXPECT_EQ(format("%d %d %d", Mix_PlayingMusic(), Mix_FadingMusic(), Mix_VolumeMusic(-1)), format("1 %d 50", MIX_NO_FADING));
    game->activate(false);
    EXPECT_EQ(MIX_FADING_OUT, Mix_FadingMusic());
    SDL_UnlockAudio(), Mix_HaltMusic();
}

// The status line matches the same text drawn over the scene with the game's font set-up.
TEST_F(Flow, StatusLineShowsLevelAndScore) {
    game->level = 7, game->score = 1234;
    const testkit::Frame shown = testkit::drawnFrame(*game);
    cBitmapFont text, silent, *own = game->font;  // the silent font is never loaded: it draws nothing
    text.load("data\\graphics\\fontfull.png", kFontGlyphs), text.setScale(0.75), text.setAlign(0, 0);
    game->font = &silent;
    for (std::string line : {"Level 7 Score 1234", "Level 7 Score 1243"}) {
        testkit::beginFrame();
        glLoadIdentity();
        game->draw();
        text.drawText(line.c_str(), 512, 30, 10);
        EXPECT_EQ(testkit::countDifferences(shown, testkit::Frame(), {0, 0, 1023, 767}) == 0, line == "Level 7 Score 1234") << line;
    }
    game->font = own;
}

// Each box writes its score in its own font at its own place: the kill box ten
// digits right-aligned 280 right of its centre, the game-over box "Score N"
// centred just below its centre, the name box "Score" over the number right of
// the name field (left out of the comparison, as the reference has no name).
TEST_F(Flow, BoxesShowTheScore) {
    cInfoBox kill(cInfoBox::KillBox), over(cInfoBox::GameOver);
    cNameBox name;
    const struct { cObject* box; cSprite* picture; const char* format; double scale; float x, y, z; int alignX, alignY; } rows[] = {
        {&kill, &kill.sprite, "%010u", 0.8, 280, 0, 5, 1, -1},
        {&over, &over.sprite, "Score %u", 0.6, 0, 3, 5, 0, 0},
        {&name, &name.sprite, "Score\n%u", 0.5, 115, 55, -1, 0, 0},
    };
    const testkit::Box nameField{339, 277, 532, 334};
    for (const auto& r : rows) {
        r.box->x = 512, r.box->y = 250, r.box->z = 8, r.box->update(60);
        cBitmapFont text;
        text.load(kFontPicture, kFontGlyphs), text.setScale(r.scale), text.setAlign(r.alignX, r.alignY);
        for (unsigned points : {13923u, 4000000001u}) {
            if (r.box == &name) name.entry.score = points;
            else static_cast<cInfoBox*>(r.box)->setNumber(points);
            testkit::beginFrame(), glPushMatrix(), r.box->draw(), glPopMatrix();
            const testkit::Frame shown;
            for (unsigned drawn : {points, 2718281828u}) {
                const std::string digits = format(r.format, drawn);
                testkit::beginFrame(), glPushMatrix(), r.picture->draw(), text.drawText(digits.c_str(), r.x, r.y, r.z), glPopMatrix();
                const int differ = testkit::countDifferences(shown, testkit::Frame(), {0, 0, 1023, 767}, {nameField});
                EXPECT_EQ(drawn == points, differ == 0) << digits;
            }
        }
    }
}

}  // namespace
