// The frame loop and the state switch, driven through a scripted platform
// (ticks and events) with recording states, in a real GL window.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cmath>
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
#include "scene/Camera.h"

namespace {

std::vector<std::string> journal;

class cRecordingState : public cAppState {
public:
    explicit cRecordingState(const char* name) : name(name) {}
    void note(const std::string& what) { journal.push_back(name + what); }
    int load() override { return note(".load"), 0; }
    int activate(bool on) override { return note(on ? ".on" : ".off"), 0; }
    int update(float fps) override {
        note(".update");
        rates.push_back(fps);
        if (onUpdate) onUpdate();
        return 0;
    }
    int draw() override {
        note(".draw");
        if (onDraw) onDraw();
        return 0;
    }
    void keyDown(int key) override {
        note(".key " + std::to_string(key));
        if (onKey) onKey(key);
    }
    void mouseDown(int button) override { note(".mouse " + std::to_string(button)); }

    std::string name;
    std::vector<float> rates;
    std::function<void()> onUpdate, onDraw;
    std::function<void(int)> onKey;
};

// Hands out scripted ticks and events; an empty tick script repeats the last.
class cScriptedPlatform : public testkit::FakePlatform {
public:
    Uint32 getTicks() override {
        if (!ticks.empty()) {
            last = ticks.front();
            ticks.pop_front();
        }
        return last;
    }
    int pollEvent(SDL_Event* event) override {
        if (events.empty()) return 0;
        *event = events.front();
        events.pop_front();
        return 1;
    }

    std::deque<Uint32> ticks;
    Uint32 last = 0;
    std::deque<SDL_Event> events;
};

SDL_Event event(Uint8 type) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    return e;
}

SDL_Event keyEvent(int sym) {
    SDL_Event e = event(SDL_KEYDOWN);
    e.key.state = SDL_PRESSED;
    // Written as raw bits: a value outside the key list, as a broken driver could send.
    std::memcpy(&e.key.keysym.sym, &sym, sizeof sym);
    return e;
}

SDL_Event buttonEvent(Uint8 type, int button) {
    SDL_Event e = event(type);
    e.button.button = static_cast<Uint8>(button);
    return e;
}

SDL_Event resizeEvent(int w, int h) {
    SDL_Event e = event(SDL_VIDEORESIZE);
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

TEST_F(AppLoop, SwitchRules) {
    // Old state off, then the new one on.
    app.requestedState = 2;
    app.switchState();
    EXPECT_EQ((Lines{"menu.off", "game.on"}), take());
    EXPECT_EQ(&game, app.currentState);
    app.requestedState = 1;
    app.switchState();
    EXPECT_EQ((Lines{"game.off", "intro.on"}), take());
    app.requestedState = 0;
    app.switchState();
    EXPECT_EQ((Lines{"intro.off", "menu.on"}), take());
    EXPECT_EQ(&menu, app.currentState);

    // The current number again does nothing.
    app.switchState();
    EXPECT_TRUE(take().empty());

    // An unknown number is recorded but not acted on.
    for (int unknown : {7, -1}) {
        app.requestedState = unknown;
        app.switchState();
        app.switchState();
        EXPECT_TRUE(take().empty());
        EXPECT_EQ(&menu, app.currentState);
        EXPECT_EQ(unknown, app.currentStateId);
    }
    // Coming back to 0 from an unknown number re-activates the menu itself.
    app.requestedState = 0;
    app.switchState();
    EXPECT_EQ((Lines{"menu.off", "menu.on"}), take());

    // Without a current state the first switch only activates.
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

    // Of several requests in one frame the last counts.
    intro.onUpdate = [this] {
        app.requestedState = 2;
        app.requestedState = 0;
    };
    app.frame();
    EXPECT_EQ((Lines{"intro.update", "intro.draw", "intro.off", "menu.on"}), take());
}

TEST_F(AppLoop, OnlyKeyAndButtonPressesReachTheState) {
    fake.ticks = {5};
    fake.events = {event(SDL_KEYUP),         buttonEvent(SDL_MOUSEBUTTONUP, 1),
                   event(SDL_MOUSEMOTION),   event(SDL_ACTIVEEVENT),
                   event(SDL_VIDEOEXPOSE),   buttonEvent(SDL_MOUSEBUTTONDOWN, 5),
                   event(SDL_JOYBUTTONDOWN), keyEvent(0),
                   keyEvent(-5),             keyEvent(-1)};
    app.frame();
    EXPECT_EQ((Lines{"menu.mouse 5", "menu.key 0", "menu.update", "menu.draw"}), take())
        << "negative key symbols are dropped";
    EXPECT_FALSE(app.quit);
}

TEST_F(AppLoop, QuitInTheMiddleOfTheQueueStillCompletesTheFrame) {
    fake.ticks = {100, 200};
    fake.events = {keyEvent(SDLK_b), event(SDL_QUIT), buttonEvent(SDL_MOUSEBUTTONDOWN, 1),
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
        if (++frames == 3) fake.events.push_back(event(SDL_QUIT));
    };
    app.run();
    EXPECT_EQ(4, frames) << "the quit is seen in the frame after it was pushed";
}

TEST_F(AppLoop, FrameTimeIsTheTickDifferenceEvenAcrossAWrap) {
    fake.ticks = {2500};  // the first frame counts from tick 0
    app.frame();
    EXPECT_EQ(2500u, app.frameMs);
    fake.ticks = {2516};
    app.frame();
    EXPECT_EQ(16u, app.frameMs);
    app.lastTicks = 0xFFFFFFF0u;
    fake.ticks = {0x00000004u};
    app.frame();
    EXPECT_EQ(20u, app.frameMs);
    EXPECT_EQ(4u, app.lastTicks);
    EXPECT_DOUBLE_EQ(50.0, app.fps);
    EXPECT_EQ((std::vector<float>{0.4f, 62.5f, 50.0f}), menu.rates) << "each state sees 1000 / ms";
}

TEST_F(AppLoop, TwoFramesInOneMillisecondGiveAnInfiniteRateAndNoMotion) {
    fake.ticks = {300, 300};
    app.frame();
    app.frame();
    EXPECT_EQ(0u, app.frameMs);
    EXPECT_TRUE(std::isinf(app.fps) && app.fps > 0.0);
    ASSERT_EQ(2u, menu.rates.size());
    EXPECT_EQ(0.0f, 250.0f / menu.rates[1]) << "a state's per-frame step v / fps is then zero";
}

TEST_F(AppLoop, ResizeResetsViewportAndProjectionAndZeroHeightBecomesOne) {
    // x always spans 1024 units; y spans 1024 * h / w.
    const struct {
        int w, h, height;
        double yScale;
    } rows[] = {{800, 0, 1, 2.0 / (0.0 - 1024.0 / 800.0)}, {640, 480, 480, 2.0 / (0.0 - 768.0)}};
    fake.ticks = {1};
    for (const auto& r : rows) {
        fake.events = {resizeEvent(r.w, r.h)};
        app.frame();
        EXPECT_EQ(r.w, app.width);
        EXPECT_EQ(r.height, app.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(r.w, viewport[2]);
        EXPECT_EQ(r.height, viewport[3]);
        GLdouble projection[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        EXPECT_NEAR(r.yScale, projection[5], 1e-6);
        EXPECT_NEAR(-2.0 / 1024.0, projection[0], 1e-9);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(GL_MODELVIEW, mode);
    }
    EXPECT_EQ((Lines{"menu.update", "menu.draw", "menu.update", "menu.draw"}), take());
}

// Draws a sprite the way the states do: camera first, then the object.
TEST_F(AppLoop, DrawingSpaceStartsTopLeftWithYDown) {
    const std::string path = testkit::tempDir() + "/marker.png";
    testkit::writeImage(path, 6, 6, testkit::Rgba{255, 255, 255, 255});
    cSprite marker, corner;
    marker.load(path.c_str());
    corner.load(path.c_str());
    marker.x = marker.y = 100;
    corner.x = 1000;
    corner.y = 700;
    marker.z = corner.z = 1;
    fake.ticks = {40};
    menu.onDraw = [&] {
        cCamera camera;
        camera.setDirection(0, 0, 1);
        camera.setUp(0, 1, 0);
        camera.apply();
        for (cSprite* s : {&marker, &corner}) {
            glPushMatrix();
            s->draw();
            glPopMatrix();
        }
    };
    // The frame swaps; draw once more without the swap to read the back buffer.
    app.frame();
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    menu.onDraw();

    auto lit = [](int x, int y) { return testkit::readPixel(x, y).r; };
    EXPECT_EQ(255, lit(100, 100));
    EXPECT_EQ(255, lit(98, 98));
    EXPECT_EQ(255, lit(102, 102));
    EXPECT_EQ(0, lit(92, 100));
    EXPECT_EQ(0, lit(100, 108));
    EXPECT_EQ(0, lit(923, 100)) << "mirrored in x";
    EXPECT_EQ(0, lit(100, 667)) << "mirrored in y";
    EXPECT_EQ(255, lit(1000, 700));
    EXPECT_EQ(0, lit(0, 0)) << "the clear colour is black";
}

}  // namespace
