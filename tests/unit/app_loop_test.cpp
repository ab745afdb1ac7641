// The frame loop and the state switch, driven through a scripted platform
// (ticks and events) with recording states, in a real GL window.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "TestKit.h"
#include "app/AppState.h"
#include "app/Application.h"
#include "app/Platform.h"
#include "media/Sprite.h"
#include "media/TextureManager.h"
#include "scene/Camera.h"

namespace {

std::vector<std::string> journal;

class cRecordingState : public cAppState {
public:
    explicit cRecordingState(const char* name) : name(name) {}
    int load() override {
        journal.push_back(name + ".load");
        return 0;
    }
    int activate(bool on) override {
        journal.push_back(name + (on ? ".on" : ".off"));
        return 0;
    }
    int update(float fps) override {
        journal.push_back(name + ".update");
        rates.push_back(fps);
        if (onUpdate) onUpdate();
        return 0;
    }
    int draw() override {
        journal.push_back(name + ".draw");
        if (onDraw) onDraw();
        return 0;
    }
    void keyDown(int key) override {
        journal.push_back(name + ".key " + std::to_string(key));
        if (onKey) onKey(key);
    }
    void mouseDown(int button) override { journal.push_back(name + ".mouse " + std::to_string(button)); }

    std::string name;
    std::vector<float> rates;
    std::function<void()> onUpdate;
    std::function<void()> onDraw;
    std::function<void(int)> onKey;
};

// Hands out scripted ticks and events; an empty tick script repeats the last.
class cScriptedPlatform : public cPlatform {
public:
    Uint8 getMouseState(int* x, int* y) override {
        if (x) *x = 0;
        if (y) *y = 0;
        return 0;
    }
    Uint32 getTicks() override {
        if (!ticks.empty()) {
            last = ticks.front();
            ticks.pop_front();
        }
        return last;
    }
    std::time_t now() override { return 1000; }
    int pollEvent(SDL_Event* event) override {
        ++polls;
        if (events.empty()) return 0;
        *event = events.front();
        events.pop_front();
        return 1;
    }

    std::deque<Uint32> ticks;
    Uint32 last = 0;
    std::deque<SDL_Event> events;
    int polls = 0;
};

SDL_Event keyEvent(int sym) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    // Written as raw bits: a value outside the key list, as a broken driver could send.
    std::memcpy(&e.key.keysym.sym, &sym, sizeof sym);
    return e;
}

SDL_Event buttonEvent(Uint8 type, int button) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.button = static_cast<Uint8>(button);
    return e;
}

SDL_Event simpleEvent(Uint8 type) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    return e;
}

SDL_Event resizeEvent(int w, int h) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_VIDEORESIZE;
    e.resize.w = w;
    e.resize.h = h;
    return e;
}

class AppLoop : public ::testing::Test {
protected:
    AppLoop() : app(0, nullptr), menu("menu"), intro("intro"), game("game") {}
    void SetUp() override {
        testkit::openWindow();
        journal.clear();
        setPlatform(&fake);
        app.menuState = &menu;
        app.introState = &intro;
        app.gameState = &game;
        app.currentState = &menu;
        app.currentStateId = 0;
        app.requestedState = 0;
        app.setupProjection();
        app.setupGL();
    }
    void TearDown() override {
        setPlatform(nullptr);
        app.width = 1024;
        app.height = 768;
        app.setupProjection();
    }
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(journal);
        return out;
    }

    cApplication app;
    cScriptedPlatform fake;
    cRecordingState menu, intro, game;
};

using Lines = std::vector<std::string>;

TEST_F(AppLoop, ConstructionValuesAndTheProcessWidePointer) {
    cApplication fresh(0, nullptr);
    EXPECT_EQ(&fresh, g_app);
    EXPECT_EQ(0.0, fresh.fps);
    EXPECT_EQ(0u, fresh.frameMs);
    EXPECT_EQ(0u, fresh.lastTicks);
    EXPECT_EQ(1024, fresh.width);
    EXPECT_EQ(768, fresh.height);
    EXPECT_EQ(32, fresh.bpp);
    EXPECT_EQ(0xD0000012u, fresh.videoFlags);
    EXPECT_EQ(nullptr, fresh.currentState);
    EXPECT_EQ(0u, static_cast<Uint32>(SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_ANYFORMAT | SDL_RESIZABLE |
                                       SDL_OPENGL) ^ fresh.videoFlags);
    g_app = &app;
}

TEST_F(AppLoop, SwitchDeactivatesTheOldStateThenActivatesTheNew) {
    app.requestedState = 2;
    app.switchState();
    EXPECT_EQ((Lines{"menu.off", "game.on"}), take());
    EXPECT_EQ(&game, app.currentState);
    EXPECT_EQ(2, app.currentStateId);

    app.requestedState = 1;
    app.switchState();
    EXPECT_EQ((Lines{"game.off", "intro.on"}), take());
    EXPECT_EQ(&intro, app.currentState);

    app.requestedState = 0;
    app.switchState();
    EXPECT_EQ((Lines{"intro.off", "menu.on"}), take());
    EXPECT_EQ(&menu, app.currentState);
    EXPECT_EQ(0, app.currentStateId);
}

TEST_F(AppLoop, RequestingTheCurrentNumberDoesNothing) {
    app.requestedState = 0;
    app.switchState();
    app.switchState();
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(&menu, app.currentState);
}

TEST_F(AppLoop, UnknownNumberIsRecordedButNotActedOn) {
    app.requestedState = 7;
    app.switchState();
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(&menu, app.currentState);
    EXPECT_EQ(7, app.currentStateId);
    app.switchState();
    EXPECT_TRUE(take().empty());

    app.requestedState = -1;
    app.switchState();
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(-1, app.currentStateId);

    // Coming back to 0 from an unknown number re-activates the menu itself.
    app.requestedState = 0;
    app.switchState();
    EXPECT_EQ((Lines{"menu.off", "menu.on"}), take());
    EXPECT_EQ(&menu, app.currentState);
}

TEST_F(AppLoop, FirstSwitchWithoutACurrentStateOnlyActivates) {
    app.currentState = nullptr;
    app.requestedState = 1;
    app.switchState();
    EXPECT_EQ((Lines{"intro.on"}), take());
    EXPECT_EQ(&intro, app.currentState);
}

TEST_F(AppLoop, FrameOrderAndASwitchRequestedDuringEvents) {
    fake.ticks = {1000};
    fake.events = {keyEvent(SDLK_ESCAPE), buttonEvent(SDL_MOUSEBUTTONDOWN, 3), keyEvent(SDLK_a)};
    menu.onKey = [this](int key) {
        if (key == SDLK_ESCAPE) app.requestedState = 1;
    };
    app.frame();
    EXPECT_EQ((Lines{"menu.key 27", "menu.mouse 3", "menu.key 97", "menu.update", "menu.draw", "menu.off",
                     "intro.on"}),
              take());
    EXPECT_EQ(&intro, app.currentState);

    fake.ticks = {1020};
    app.frame();
    EXPECT_EQ((Lines{"intro.update", "intro.draw"}), take());
    ASSERT_EQ(1u, intro.rates.size());
    EXPECT_FLOAT_EQ(50.0f, intro.rates[0]) << "the new state's first update has the normal rate";
}

TEST_F(AppLoop, SeveralRequestsInAFrameTheLastCounts) {
    fake.ticks = {10};
    menu.onUpdate = [this] {
        app.requestedState = 2;
        app.requestedState = 1;
    };
    app.frame();
    EXPECT_EQ((Lines{"menu.update", "menu.draw", "menu.off", "intro.on"}), take());
}

TEST_F(AppLoop, OnlyKeyAndButtonPressesReachTheState) {
    fake.ticks = {5};
    SDL_Event motion = simpleEvent(SDL_MOUSEMOTION);
    motion.motion.x = 10;
    fake.events = {simpleEvent(SDL_KEYUP),           buttonEvent(SDL_MOUSEBUTTONUP, 1),
                   motion,                           simpleEvent(SDL_ACTIVEEVENT),
                   simpleEvent(SDL_VIDEOEXPOSE),     buttonEvent(SDL_MOUSEBUTTONDOWN, 5),
                   simpleEvent(SDL_JOYBUTTONDOWN),   keyEvent(0)};
    app.frame();
    EXPECT_EQ((Lines{"menu.mouse 5", "menu.key 0", "menu.update", "menu.draw"}), take());
    EXPECT_FALSE(app.quit);
}

TEST_F(AppLoop, NegativeKeySymbolIsDropped) {
    fake.ticks = {5};
    fake.events = {keyEvent(-5), keyEvent(SDLK_RETURN), keyEvent(-1)};
    app.frame();
    EXPECT_EQ((Lines{"menu.key 13", "menu.update", "menu.draw"}), take());
}

TEST_F(AppLoop, QuitInTheMiddleOfTheQueueStillCompletesTheFrame) {
    fake.ticks = {100, 200};
    fake.events = {keyEvent(SDLK_b), simpleEvent(SDL_QUIT), buttonEvent(SDL_MOUSEBUTTONDOWN, 1),
                   keyEvent(SDLK_c)};
    menu.onKey = [this](int key) {
        if (key == SDLK_c) app.requestedState = 2;
    };
    app.run();
    EXPECT_TRUE(app.quit);
    EXPECT_EQ((Lines{"menu.key 98", "menu.mouse 1", "menu.key 99", "menu.update", "menu.draw", "menu.off",
                     "game.on"}),
              take())
        << "one frame, with every event, update, draw and the switch";
    EXPECT_EQ(&game, app.currentState);
    EXPECT_TRUE(fake.events.empty());
}

TEST_F(AppLoop, RunClearsQuitAndLoopsUntilAQuitArrives) {
    app.quit = true;
    fake.ticks = {10, 20, 30};
    int frames = 0;
    menu.onUpdate = [&] {
        if (++frames == 3) fake.events.push_back(simpleEvent(SDL_QUIT));
    };
    app.run();
    EXPECT_EQ(4, frames) << "the quit is seen in the frame after it was pushed";
}

TEST_F(AppLoop, FrameTimeIsTheTickDifferenceEvenAcrossAWrap) {
    // The first frame counts from tick 0.
    fake.ticks = {2500};
    app.frame();
    EXPECT_EQ(2500u, app.frameMs);
    EXPECT_DOUBLE_EQ(0.4, app.fps);
    EXPECT_EQ(2500u, app.lastTicks);

    fake.ticks = {2516};
    app.frame();
    EXPECT_EQ(16u, app.frameMs);
    EXPECT_DOUBLE_EQ(62.5, app.fps);

    app.lastTicks = 0xFFFFFFF0u;
    fake.ticks = {0x00000004u};
    app.frame();
    EXPECT_EQ(20u, app.frameMs);
    EXPECT_DOUBLE_EQ(50.0, app.fps);
    EXPECT_EQ(4u, app.lastTicks);

    ASSERT_EQ(3u, menu.rates.size());
    EXPECT_FLOAT_EQ(0.4f, menu.rates[0]);
    EXPECT_FLOAT_EQ(62.5f, menu.rates[1]);
    EXPECT_FLOAT_EQ(50.0f, menu.rates[2]);
}

TEST_F(AppLoop, TwoFramesInOneMillisecondGiveAnInfiniteRateAndNoMotion) {
    fake.ticks = {300, 300};
    app.frame();
    app.frame();
    EXPECT_EQ(0u, app.frameMs);
    EXPECT_TRUE(std::isinf(app.fps));
    EXPECT_GT(app.fps, 0.0);
    ASSERT_EQ(2u, menu.rates.size());
    const float rate = menu.rates[1];
    EXPECT_TRUE(std::isinf(rate));
    EXPECT_GT(rate, 0.0f);
    // A state's per-frame step v / fps is then zero.
    float y = 120.0f;
    const float speed = 250.0f;
    y += speed / rate;
    EXPECT_EQ(120.0f, y);
}

TEST_F(AppLoop, ResizeResetsViewportAndProjectionAndZeroHeightBecomesOne) {
    fake.ticks = {1};
    fake.events = {resizeEvent(800, 0)};
    app.frame();
    EXPECT_EQ(800, app.width);
    EXPECT_EQ(1, app.height);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(0, viewport[0]);
    EXPECT_EQ(0, viewport[1]);
    EXPECT_EQ(800, viewport[2]);
    EXPECT_EQ(1, viewport[3]);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // ortho top 0, bottom 1024 * 1 / 800
    EXPECT_NEAR(2.0 / (0.0 - 1024.0 / 800.0), projection[5], 1e-6);
    EXPECT_NEAR(-2.0 / 1024.0, projection[0], 1e-9) << "x still spans 1024 units";
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);

    fake.events = {resizeEvent(640, 480)};
    app.frame();
    EXPECT_EQ(640, app.width);
    EXPECT_EQ(480, app.height);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(640, viewport[2]);
    EXPECT_EQ(480, viewport[3]);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(2.0 / (0.0 - 768.0), projection[5], 1e-9) << "4:3 still spans 768 units";
    EXPECT_EQ((Lines{"menu.update", "menu.draw", "menu.update", "menu.draw"}), take());
}

TEST_F(AppLoop, FixedGlStateBlendsAndTextures) {
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(GL_SRC_ALPHA, src);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, dst);
}

// Draws a sprite the way the states do: camera first, then the object.
TEST_F(AppLoop, DrawingSpaceStartsTopLeftWithYDown) {
    const std::string dir = testkit::tempDir();
    const std::string path = dir + "/marker.png";
    testkit::writeImage(path, 6, 6, testkit::Rgba{255, 255, 255, 255});
    cSprite marker;
    marker.load(path.c_str());
    marker.x = 100;
    marker.y = 100;
    marker.z = 1;
    cSprite corner = marker;
    corner.x = 1000;
    corner.y = 700;

    fake.ticks = {40};
    menu.onDraw = [&] {
        cCamera camera;
        camera.setDirection(0, 0, 1);
        camera.setUp(0, 1, 0);
        camera.apply();
        glPushMatrix();
        marker.draw();
        glPopMatrix();
        glPushMatrix();
        corner.draw();
        glPopMatrix();
    };
    // The frame swaps; draw once more without the swap to read the back buffer.
    app.frame();
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    menu.onDraw();

    unsigned char p[4];
    auto pixel = [&](int x, int yFromTop) {
        glReadPixels(x, 767 - yFromTop, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return p[0];
    };
    EXPECT_EQ(255, pixel(100, 100));
    EXPECT_EQ(255, pixel(98, 98));
    EXPECT_EQ(255, pixel(102, 102));
    EXPECT_EQ(0, pixel(92, 100));
    EXPECT_EQ(0, pixel(100, 108));
    EXPECT_EQ(0, pixel(923, 100)) << "mirrored in x";
    EXPECT_EQ(0, pixel(100, 667)) << "mirrored in y";
    EXPECT_EQ(255, pixel(1000, 700));
    EXPECT_EQ(0, pixel(0, 0)) << "the clear colour is black";
}

}  // namespace
