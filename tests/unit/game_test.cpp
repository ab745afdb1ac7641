// The game on a real window with the mixer on its dummy driver: how the figure meets the bricks,
// the scene objects, the climb frame by frame, levels, the end of a round, keys, and drawing.
#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <tuple>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/NameBox.h"
#include "game/Background.h"
#include "game/Brick.h"
#include "game/Climb.h"
#include "game/InfoBox.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Tow.h"
#include "game/Witch.h"
#include "game/WorldApp.h"
#include "media/BitmapFont.h"
#include "media/TextureManager.h"
#include "scene/Cursor.h"
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

// A loaded game in the test window over a pointer at (500, 400), with its own empty high-score
// table; its sounds keep their channels busy until halted, however late a test looks.
struct Game {
    Game() {
        testkit::openWindow(), testkit::openAudio();  // the mixer opens before the game loads its sounds
        testkit::app().highScores = table, testkit::app().requestedState = 2;
        platform.x = 500, platform.y = 400, setPlatform(&platform);
        game->load(), set.soundsKeepPlaying();
    }
    ~Game() { delete game, testkit::app().highScores = nullptr, delete table, setPlatform(nullptr); }
    Game(const Game&) = delete;
    testkit::FakePlatform platform;
    cHighScoreTable* table = new cHighScoreTable();
    cWorldApp* game = new cWorldApp();
    testkit::ClimbSetup set{*game};
    cClimbView v() const { return game->view(); }
    int bricks() const {
        int n = 0;
        for (int i = 0; i < v().objects->count; ++i) n += dynamic_cast<cBrick*>(v().objects->get(i)) != nullptr;
        return n;
    }
    void fall() { set.figure().y = 801, game->update(60); }
    void frame() { game->update(60); }
    void click(int button = 1) { game->mouseDown(button, platform.x, platform.y); }
    bool shows(const char* picture) const {
        return v().box && v().box->sprite.texture == cTextureManager::getSingleton().getTexture(picture);
    }
    // The gauge past its top lets the goal enter; it is put under the figure, who stands on it.
    void standOnGoal() {
        set.tower().markerY = -60, set.newestBrick()->y = 200, frame();
        cBrick* goal = set.newestBrick();
        goal->x = v().figure->x, goal->y = v().figure->y + 60, set.meet(goal);
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
        testkit::ClimbSetup& set = scene.set;
        cPlayer& p = set.figure();
        p.x = 500, p.y = 300, p.targetX = 500, set.tower().markerY = 39;
        set.atLevel(3), set.falling(123), scene.platform.x = c.mouse, scene.click();  // the box away
        if (c.jump) p.onGround = true, scene.click();
        cBrick* b = set.addBrick(c.type, c.kind, 500 + c.dx, 322 + c.dy);
        const int count = scene.v().objects->count;
        set.meet(b);
        const cClimbView v = scene.v();
        EXPECT_EQ(format("%g %g %g %d %d %d %s %u", p.x, p.y, v.fallSpeed, v.objects->count - count, p.onGround,
                         set.pushHeld(), playing().c_str(), v.score),
                  c.after);
        EXPECT_EQ(p.targetX, static_cast<int>(p.x));
        EXPECT_FALSE(v.jumpAsked);
        EXPECT_EQ(set.floor() == nullptr, v.objects->count - count == -2);  // a bounce takes the brick and the floor
        if (!v.witch) continue;
        set.meet(b);  // standing on the goal again calls no second witch
        EXPECT_TRUE(v.witch->y == 160 && playing() == "000" && scene.v().objects->count == count + 1);
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
    const cObjectList& objects = *v().objects;
    ASSERT_EQ(objects.count, 7);  // backdrop, tower, figure, floor, bricks at 320 and 150, box
    EXPECT_TRUE(objects.get(4)->y == 320 && objects.get(5)->y == 150 && shows("data\\graphics\\gameinfo.png"));
    frame();  // nothing falls; the first contact sets the figure on the floor
    EXPECT_TRUE(v().fallSpeed == 0 && v().figure->y == 600 - 77 && set.newestBrick()->y == 150);
    click(3);
    click();
    EXPECT_TRUE(!v().paused && !v().box);
    frame(), click(), frame();
    EXPECT_TRUE(v().fallSpeed == -700 && playing() == "100");
    const int before = bricks();
    set.floor()->y = 801, click(), frame();  // a brick below the screen leaves; no jump in the air
    EXPECT_TRUE(set.floor() == nullptr && bricks() == before - 1 && !v().jumpAsked);
}

// A bounce at 60 frames a second from y 683: how high it lifts the figure and how many frames pass
// until it has fallen out below the screen. The level speeds up scrolling and gravity alike by
// 0.1 x level + 1.1, so the height hardly changes while the fall gets quicker.
TEST(Climb, BounceHeightAndFallTimeByLevel) {
    const struct { int level; float lift; int frames; } rows[] = {{1, 308.32f, 109}, {8, 312.154f, 71}, {15, 316.03f, 53}};
    for (const auto& r : rows) {
        Game scene;
        cPlayer& p = scene.set.figure();
        scene.click(), scene.set.atLevel(r.level), scene.set.emptyTower(), p.x = 500, p.y = 700;
        scene.set.addBrick(3, 1, 500, 760);
        float top = p.y;
        int frames = 0;
        for (; !scene.v().paused && frames < 600; ++frames) scene.frame(), top = std::min(top, p.y);
        EXPECT_NEAR(683 - top, r.lift, 0.05) << "level " << r.level;
        EXPECT_EQ(frames, r.frames) << "level " << r.level;
    }
}

// A frame longer than 25 ms is played as equal passes of at most 25 ms. A figure falling at the cap
// on level 15 from 3 units above a brick's landing band crosses the band in one step of 1/24 s (a
// head bump) or of 1/10 s (no touch at all); in passes it lands at every rate. A frame longer than 100 ms (a stalled machine) is
// played as one of 100 ms: the climb never leaps seconds ahead at once.
TEST(Climb, LongFramesArePlayedInShortPassesAndStallsAsTheLongestFrame) {
    auto landing = [](const std::vector<float>& frames) {
        Game scene;
        cPlayer& p = scene.set.figure();
        scene.click(), scene.set.atLevel(15), scene.set.emptyTower(), scene.set.falling(500);
        p.x = p.targetX = 500, p.y = 420, p.scrollHeld = true;
        scene.set.addBrick(3, 1, 500, 500);
        for (float fps : frames) scene.game->update(fps);
        const cClimbView v = scene.v();
        EXPECT_GT(v.score, 0u) << frames[0] << " fps";
        return format("y %g fall %g score %u", p.y, v.fallSpeed, v.score);
    };
    const struct { float fps; int passes; } rows[] = {{60, 1}, {40, 1}, {39, 2}, {24, 2}, {1000 / 75.0f, 3}, {10, 4}};
    for (const auto& r : rows) {
        EXPECT_EQ(cWorldApp::passesFor(r.fps), r.passes) << r.fps;
        landing({r.fps});
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
        if (r.climbing) scene.click();
        app.currentState = r.shown ? static_cast<cAppState*>(&g) : &menu, app.currentStateId = app.requestedState;
        auto deliver = [&](Uint8 gain) {
            SDL_Event e = {};
            while (SDL_PollEvent(&e)) {}
            e.type = SDL_ACTIVEEVENT, e.active.gain = gain, e.active.state = r.state;
            SDL_PushEvent(&e), app.frame();
            return format("paused %d %s", scene.v().paused, scene.shows("data\\graphics\\pause.png") ? "pause" : scene.v().box ? "info" : "none");
        };
        EXPECT_EQ(deliver(r.gain), r.after) << int(r.gain) << " " << int(r.state);
        EXPECT_EQ(deliver(1), r.after) << "back in the window";
        scene.click();
        EXPECT_FALSE(scene.v().paused);
        app.currentState = nullptr;
    }
}

// The aim marker, drawn at y 200, and the figure's target follow the pointer's x within 50..960.
TEST_F(Flow, SteeringFollowsTheMouseUnlessHeldOrPaused) {
    click();
    for (int mouse : {3, 1000, 700}) {
        platform.x = mouse, frame();
        const int aim = mouse < 50 ? 50 : mouse > 960 ? 960 : mouse;
        const cSprite& marker = set.aimMarker().sprite;
        EXPECT_EQ(format("%g %g %d", marker.x, marker.y, v().figure->targetX), format("%d 200 %d", aim, aim));
    }
    EXPECT_EQ(set.aimMarker().sprite.texture, cTextureManager::getSingleton().getTexture("data\\graphics\\mouse.png"));
    cPlayer& p = set.figure();
    set.pushedAside(321), platform.x = 600, frame();
    EXPECT_EQ(p.targetX, 321);
    frame();
    EXPECT_EQ(p.targetX, 600);
    game->keyDown('p');
    p.x = 432.7f, p.targetX = 900, frame();
    EXPECT_TRUE(shows("data\\graphics\\pause.png") && p.targetX == 432 && p.x == 432.7f);
}

TEST_F(Flow, NewBricksEnterAboveSpacedAndStopAfterTheGoal) {
    unsigned seed = 1;  // a round whose second wide brick is drawn too close: ornament, offset, x each
    while (std::abs(drawnX(seed, 5) - drawnX(seed, 2)) >= 150) ++seed;
    platform.seconds = seed;
    set.newRound();
    const int first = drawnX(seed, 2), second = drawnX(seed, 5);
    EXPECT_FLOAT_EQ(v().objects->get(v().objects->count - 2)->x, first);
    EXPECT_FLOAT_EQ(set.newestBrick()->x, second < 500 ? second + 350 : second - 350);
    click();
    const struct { float newest; int drawn; float x; } spacing[] = {{600, 500, 150}, {600, 499, 849}, {650, 500, 500}};
    for (const auto& s : spacing) {
        set.newestBrick()->x = s.newest, set.newestBrick()->y = 121;
        for (seed = 1; drawnX(seed, 2) != s.drawn;) ++seed;
        cRandom::seed(seed), set.spawnBrick();
        EXPECT_FLOAT_EQ(set.newestBrick()->x, s.x) << s.drawn << " against " << s.newest;
    }
    set.newestBrick()->y = 120, frame();  // a new brick enters once the newest is below y 120
    EXPECT_EQ(bricks(), 6);
    set.newestBrick()->y = 120.5f, frame();
    EXPECT_TRUE(bricks() == 7 && set.newestBrick()->y == -50 && set.newestBrick()->kind == 1);
    set.tower().markerY = -60, set.newestBrick()->y = 200, frame();
    EXPECT_TRUE(v().phase == 1 && set.newestBrick()->kind == 3);
    set.newestBrick()->y = 200, frame();
    EXPECT_EQ(bricks(), 8);
}

TEST_F(Flow, WitchEndsTheLevelAndTheFifteenthEndsTheGame) {
    click();
    set.atLevel(14, 40);
    for (bool last : {false, true}) {
        standOnGoal();
        ASSERT_NE(set.witch(), nullptr);
        set.witch()->x = 800, frame();
        EXPECT_TRUE(v().phase == 1 && v().witch->x == 800 + 400 / 60.0f && playing() == "001");
        frame();  // the witch has flown past 800
        EXPECT_TRUE(v().phase == 2 && bricks() == 0 && playing() == "010");
        game->keyDown('p'), fall();  // P does nothing once the level is done
        EXPECT_EQ(format("level %d %d score %u paused %d", v().level, v().tower->level, v().score, v().paused),
                  last ? "level 1 1 score 0 paused 1" : "level 15 15 score 40 paused 0");
        EXPECT_EQ(shows("data\\graphics\\killbox.png"), last);
        EXPECT_TRUE(v().tower->markerY == 100 && v().phase == (last ? cWorldApp::Finished : 0) && !v().witch &&
                    !v().nameBox && bricks() == 3);
    }
    EXPECT_STREQ(v().box->number, "0000000040");
}

// Paused on the goal brick, the witch flies on and ends the level behind the Pause box; P or a
// click then lets the figure drop into the next level with the score kept.
TEST(NoDeadEnd, PauseOnTheGoalResumesAfterTheWitch) {
    for (bool key : {true, false}) {
        Game scene;
        cWorldApp& g = *scene.game;
        scene.click(), scene.set.atLevel(1, 40), scene.standOnGoal();
        g.keyDown('p'), scene.set.witch()->x = 801, scene.frame();
        ASSERT_TRUE(scene.v().phase == 2 && scene.v().paused && scene.shows("data\\graphics\\pause.png"));
        key ? g.keyDown('p') : scene.click();
        scene.fall();
        const cClimbView v = scene.v();
        EXPECT_EQ(format("level %d score %u phase %d paused %d box %d", v.level, v.score, v.phase, v.paused, v.box != nullptr),
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
            scene.click(), scene.set.atLevel(15, 777), scene.standOnGoal();
            scene.set.witch()->x = 801, scene.frame(), scene.fall();
            ASSERT_TRUE(scene.shows("data\\graphics\\killbox.png"));
            way == 1 ? scene.click() : g.keyDown(way);
            const bool menu = !qualifies && way == 27;
            const cClimbView v = scene.v();
            EXPECT_EQ(format("phase %d name %u box %d paused %d menu %d", v.phase, v.nameBox ? v.nameBox->entry.score : 0,
                             v.box != nullptr, v.paused, testkit::app().requestedState == 0),
                      qualifies ? "phase 4 name 777 box 0 paused 1 menu 0" : format("phase 0 name 0 box 0 paused 0 menu %d", menu))
                << "way " << way << (qualifies ? ", qualifies" : "");
        }
    }
}

// The middle of the retry box's highlight for a button (1 Menu, 2 Again), as the box draws it where
// every box stands.
std::pair<int, int> highlightCentre(int hover) {
    cInfoBox box(cInfoBox::GameAgain);
    box.x = climb::kBoxX, box.y = climb::kBoxY, box.z = climb::kBoxZ, box.update(60);
    auto drawn = [&box]() { return testkit::beginFrame(), glPushMatrix(), box.draw(), glPopMatrix(), testkit::Frame(); };
    const testkit::Frame plain = drawn();
    box.setHover(hover);
    const testkit::Frame lit = drawn();
    long x = 0, y = 0, n = 0;  // the highlight's pixels
    for (int py = 0; py < 768; ++py)
        for (int px = 0; px < 1024; ++px)
            if (std::memcmp(plain.at(px, py), lit.at(px, py), 3)) x += px, y += py, ++n;
    return {int(x / n), int(y / n)};
}

TEST_F(Flow, FallLeadsToGameOverOrThroughTheNameToTheRetryBox) {
    const struct { unsigned tenth, score; bool named; } falls[] = {{0, 0, false}, {50, 50, false}, {50, 51, true}};
    for (const auto& f : falls) {
        for (int i = 0; i < cHighScoreTable::size; ++i) table->insertAt(i, "OLD", f.tenth);
        click();
        set.atLevel(3, f.score);
        fall();
        EXPECT_TRUE(playing() == "010" && v().paused && v().score == 0 && v().level == 1 && bricks() == 3);
        EXPECT_EQ(v().phase, f.named ? 4 : 0);
        EXPECT_EQ(shows("data\\graphics\\over.png"), !f.named);
        if (!f.named) { EXPECT_EQ(format("Score %u", f.score), v().box->number) << "the ended round's score"; }
        EXPECT_EQ(v().nameBox != nullptr, f.named);
    }
    ASSERT_TRUE(v().nameBox && v().nameBox->entry.score == 51);
    testkit::app().requestedState = 2;
    for (int key : {27, 13}) game->keyDown(key);  // Escape, and Return before a letter, do nothing here
    click();
    EXPECT_TRUE(v().phase == 4 && testkit::app().requestedState == 2);
    for (int key : {int('z'), int('p'), 13}) game->keyDown(key);
    EXPECT_TRUE(v().phase == 5 && !v().nameBox && table->entries[0].score == 51);
    EXPECT_STREQ(table->entries[0].name, "ZP     ");
    ASSERT_TRUE(shows("data\\graphics\\gameagain.png"));
    game->keyDown('p');
    platform.x = 300, platform.y = 297, frame();  // left of both buttons
    click();
    EXPECT_TRUE(v().phase == 5 && v().paused);
    std::tie(platform.x, platform.y) = highlightCentre(2);  // a tap: the pointer arrives with the click, no frame between
    click();
    EXPECT_TRUE(v().phase == 0 && !v().paused && !v().box && testkit::app().requestedState == 2);
    set.atLevel(4, 12), game->keyDown('p'), game->keyDown(27);
    EXPECT_TRUE(testkit::app().requestedState == 0 && !v().paused && !v().box && v().level == 1 && v().score == 0);
}

// A click at the centre of the drawn Menu highlight leads to the menu.
TEST_F(Flow, RetryBoxAnswersWhereItsHighlightIsDrawn) {
    click(), set.atLevel(1, 5), fall(), game->keyDown('z'), game->keyDown(13);
    ASSERT_TRUE(shows("data\\graphics\\gameagain.png"));
    testkit::app().requestedState = 2;
    std::tie(platform.x, platform.y) = highlightCentre(1);
    click();
    EXPECT_TRUE(v().phase == 0 && !v().box && testkit::app().requestedState == 0);
}

// The aim marker shows while the figure climbs, up to the goal; not once the level is done, nor
// behind the name and retry boxes.
TEST_F(Flow, AimMarkerIsDrawnOnlyDuringPlay) {
    auto markerShown = [&]() {
        const testkit::Frame here = testkit::drawnFrame(*game);
        set.aimMarker().sprite.x = 300;
        const testkit::Frame moved = testkit::drawnFrame(*game);
        set.aimMarker().sprite.x = 700;
        return testkit::countDifferences(here, moved, {0, 0, 1023, 767}) > 0;
    };
    click(), platform.x = 700, frame();
    const std::function<void()> steps[] = {[] {}, [&] { standOnGoal(); }, [&] { set.witch()->x = 801, frame(); },
                                           [&] { fall(), set.atLevel(1, 5), fall(); }, [&] { game->keyDown('z'), game->keyDown(13); }};
    for (const auto& step : steps) {
        step();
        EXPECT_EQ(markerShown(), v().phase <= 1) << "phase " << v().phase;
    }
    EXPECT_EQ(v().phase, 5);
}

// The status line matches the same text drawn over the scene with the game's font set-up.
TEST_F(Flow, StatusLineShowsLevelAndScore) {
    set.atLevel(7, 1234);
    const testkit::Frame shown = testkit::drawnFrame(*game);
    cBitmapFont text, silent, *own = set.statusFont();  // the silent font is never loaded: it draws nothing
    text.load("data\\graphics\\fontfull.png", kFontGlyphs), text.setScale(0.75), text.setAlign(0, 0);
    set.statusFont() = &silent;
    for (std::string line : {"Level 7 Score 1234", "Level 7 Score 1243"}) {
        testkit::beginFrame();
        glLoadIdentity();
        game->draw();
        text.drawText(line.c_str(), 512, 30, 10);
        EXPECT_EQ(testkit::countDifferences(shown, testkit::Frame(), {0, 0, 1023, 767}) == 0, line == "Level 7 Score 1234") << line;
    }
    set.statusFont() = own;
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
