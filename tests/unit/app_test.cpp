// The application shell: the frame loop, its timing, the state switch and
// resizing, driven by a scripted platform with recording states.
#include <gtest/gtest.h>

#include <SDL_opengl.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>

#include "TestKit.h"
#include "app/AppState.h"
#include "app/Application.h"

namespace {

std::string journal;  // what the states and the clock saw, in order

// Update paints the back buffer blue, puts back the game's own GL state and
// moves the matrix; draw notes "d" when the loop has since cleared to black
// and reset the matrix, "D" when not.
struct cRecorder : cAppState {
    explicit cRecorder(char name) : name(name) {}
    void note(const std::string& what) { journal += name + what + " "; }
    int load() override { return 0; }
    int activate(bool on) override { return note(on ? "+" : "-"), 0; }
    int update(float fps) override {
        note("u"), rate = fps;
        if (request >= 0) testkit::app().requestedState = request;
        return glClearColor(0, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT), testkit::app().setupGL(), glTranslatef(5, 0, 0), 0;
    }
    int draw() override {
        GLfloat m[16], c[4];
        glGetFloatv(GL_MODELVIEW_MATRIX, m), glReadPixels(512, 384, 1, 1, GL_RGBA, GL_FLOAT, c);
        return note(c[0] + c[1] + c[2] == 0 && m[12] == 0 ? "d" : "D"), 0;
    }
    void keyDown(int key) override { note("k" + std::to_string(key)); }
    void mouseDown(int button, int x, int y) override { note("m" + std::to_string(button) + "@" + std::to_string(x) + "," + std::to_string(y)); }
    char name;
    int request = -1;  // the state number update asks for, if any
    float rate = 0;
};

// An event of `type`: a key symbol (raw bits), button a at (b, c), or a new size a x b.
SDL_Event ev(Uint8 type, int a = 0, int b = 0, int c = 0) {
    SDL_Event e = {};
    e.type = type;
    if (type == SDL_KEYDOWN) std::memcpy(&e.key.keysym.sym, &a, sizeof a);
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) e.button.button = Uint8(a), e.button.x = Uint16(b), e.button.y = Uint16(c);
    if (type == SDL_VIDEORESIZE) e.resize.w = a, e.resize.h = b;
    return e;
}

// The process's application over three recording states, fed scripted ticks and events.
struct App : ::testing::Test, testkit::FakePlatform {
    void SetUp() override {
        testkit::openWindow(), journal.clear(), setPlatform(this);
        app.menuState = &menu, app.introState = &intro, app.gameState = &game, app.currentState = &menu;
        app.currentStateId = app.requestedState = 0;
    }
    void TearDown() override {
        setPlatform(nullptr), app.menuState = app.introState = app.gameState = app.currentState = nullptr;
        app.width = 1024, app.height = 768, app.setupProjection();
    }
    Uint32 getTicks() override {
        if (++calls > 50) app.quit = true;  // a loop that never ends fails instead of hanging
        return journal += "t ", tick;
    }
    int pollEvent(SDL_Event* event) override {
        return events.empty() ? 0 : (*event = events.front(), events.pop_front(), 1);
    }
    cApplication& app = testkit::app();
    cRecorder menu{'M'}, intro{'I'}, game{'G'};
    Uint32 tick = 0, calls = 0;
    std::deque<SDL_Event> events;
};

TEST_F(App, FrameDispatchesPressesTimesUpdatesDrawsThenSwitches) {
    // Negative key symbols and all but presses are dropped; a quit in the
    // middle of the queue still lets the whole frame and its switch run.
    events = {ev(SDL_KEYDOWN, 27), ev(SDL_KEYUP),        ev(SDL_MOUSEBUTTONUP, 1), ev(SDL_MOUSEMOTION), ev(SDL_QUIT),
              ev(SDL_MOUSEBUTTONDOWN, 3, 700, 20), ev(SDL_KEYDOWN, -5), ev(SDL_ACTIVEEVENT),      ev(SDL_KEYDOWN, 0)};
    menu.request = 1;
    app.run();
    EXPECT_EQ("Mk27 Mm3@700,20 Mk0 t Mu Md M- I+ ", journal);
}

// Each step: the number requested, then the calls made, the recorded number
// and the state that is current afterwards.
TEST_F(App, SwitchRules) {
    const struct { int request; const char* after; } steps[] = {
        {2, "M- G+ 2G"}, {2, "2G"}, {1, "G- I+ 1I"}, {0, "I- M+ 0M"},
        {7, "7M"},       {7, "7M"}, {-1, "-1M"},     {0, "M- M+ 0M"}};
    for (const auto& s : steps) {
        journal.clear(), app.requestedState = s.request, app.switchState();
        EXPECT_EQ(s.after, journal + std::to_string(app.currentStateId) + static_cast<cRecorder*>(app.currentState)->name);
    }
}

TEST_F(App, FrameTimeIsTheTickDifferenceEvenAcrossAWrap) {
    const struct { Uint32 last, now, ms; double fps; } rows[] = {
        {0, 2500, 2500, 0.4}, {2500, 2516, 16, 62.5}, {0xFFFFFFF0u, 4, 20, 50}, {300, 300, 0, 1 / 0.0}};
    for (const auto& r : rows) {
        app.lastTicks = r.last, tick = r.now, app.frame();
        EXPECT_EQ(std::make_pair(r.ms, r.now), std::make_pair(app.frameMs, app.lastTicks));
        EXPECT_DOUBLE_EQ(r.fps, app.fps);
        EXPECT_FLOAT_EQ(float(r.fps), menu.rate);
    }
}

TEST_F(App, ResizeResetsViewportAndProjection) {
    const struct { int w, h, height; } rows[] = {{800, 0, 1}, {640, 480, 480}};
    for (const auto& r : rows) {
        events = {ev(SDL_VIDEORESIZE, r.w, r.h)}, app.frame();
        GLint viewport[4];
        GLdouble p[16];
        glGetIntegerv(GL_VIEWPORT, viewport), glGetDoublev(GL_PROJECTION_MATRIX, p);
        EXPECT_EQ((std::vector<GLint>{0, 0, r.w, r.height}), std::vector<GLint>(viewport, viewport + 4));
        EXPECT_DOUBLE_EQ(-2.0 / 1024, p[0]) << "x spans 1024 units whatever the width";
        EXPECT_NEAR(-2.0 * r.w / (1024.0 * r.height), p[5], 1e-9) << "y spans 1024 * h / w";
    }
}

// Mesa's software rasterizer frees a frame's fence while one of its worker
// threads may still unlock it; the game has it draw on the game's own thread.
TEST_F(App, SoftwareRasterizerDrawsOnTheGameThread) {
    if (!std::strstr(reinterpret_cast<const char*>(glGetString(GL_RENDERER)), "llvmpipe"))
        GTEST_SKIP() << "not Mesa's software rasterizer";
    app.frame();
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        EXPECT_NE(0u, name.rfind("llvmpipe", 0)) << "a rasterizer thread: " << name;
    }
}

}  // namespace
