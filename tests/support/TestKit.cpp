#include "TestKit.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "app/AppState.h"
#include "app/Application.h"
#include "game/Brick.h"
#include "game/WorldApp.h"
#include "media/Sound.h"
#include "media/TextureManager.h"
#include "scene/Camera.h"
#include "scene/ObjectList.h"

// In the sanitizer build: GCC 12's runtime takes a thread-local block that
// the dynamic loader allocated at certain addresses for one of glibc's old
// headers and reads a bogus length before it; the leak checker's tracer then
// crashed at exit now and then in a test that had loaded Mesa's drivers.
// Leaving __tls_get_addr alone avoids it (later runtimes mend the check).
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}

namespace testkit {

namespace {

bool windowOpen = false;
std::vector<std::string> tempDirs;

void removeTempDirs() {
    std::error_code ignored;
    for (const std::string& dir : tempDirs) std::filesystem::remove_all(dir, ignored);
}

}  // namespace

cApplication& app() {
    // Kept to the end of the process, as the GL driver is: closing SDL at exit
    // would unload the driver and leave its allocations unnamed for the leak check.
    static cApplication* application = new cApplication(0, nullptr);
    return *application;
}

void openWindow() {
    if (windowOpen) return;
    // The game's own display set-up, in a window: the tests share one screen.
    app().videoFlags = SDL_OPENGL;
    app().openDisplay();
    if (!SDL_GetVideoSurface()) throw std::runtime_error(SDL_GetError());
    windowOpen = true;
    cTextureManager::setHeadless(false);
    if (!cTextureManager::ms_singleton) new cTextureManager();
}

bool openAudio() {
    static const bool open = (SDL_WasInit(SDL_INIT_AUDIO) || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) &&
                             cApplication::openAudio() && std::atexit([] { Mix_CloseAudio(); }) == 0;
    return open;
}

void beginFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    cCamera camera;
    camera.setDirection(0, 0, 1);
    camera.setUp(0, 1, 0);
    camera.apply();
}

Uint8 FakePlatform::getMouseState(int* px, int* py) {
    if (px) *px = x;
    if (py) *py = y;
    return 0;
}

cBrick* ClimbSetup::addBrick(int type, int kind, float x, float y) {
    cBrick* b = new cBrick(type);
    return b->kind = kind, b->x = x, b->y = y, game.objects->add(b), b;
}

void ClimbSetup::soundsKeepPlaying() {
    for (cSound* s : {game.jumpSound, game.fallSound, game.goalSound}) s->loops = -1;
}

Frame::Frame() : pixels(1024 * 768 * 4) {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

Frame drawnFrame(cAppState& state) {
    beginFrame();
    glLoadIdentity();  // the state places the camera itself, as after the application's clear
    state.draw();
    return Frame();
}

int countDifferences(const Frame& a, const Frame& b, Box area, const std::vector<Box>& skip) {
    int count = 0;
    for (int y = std::max(area.top, 0); y <= std::min(area.bottom, 767); ++y) {
        for (int x = std::max(area.left, 0); x <= std::min(area.right, 1023); ++x) {
            bool skipped = false;
            for (const Box& s : skip) skipped = skipped || s.contains(x, y);
            if (!skipped && std::memcmp(a.at(x, y), b.at(x, y), 3) != 0) ++count;
        }
    }
    return count;
}

std::string tempDir() {
    char pattern[] = "/tmp/zarvo-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    if (tempDirs.empty()) std::atexit(removeTempDirs);
    tempDirs.push_back(pattern);
    return pattern;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeImage(const std::string& path, int w, int h, const char* colour) {
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, "convert -size %dx%d 'xc:%s' -define png:color-type=6 '%s'", w, h, colour, path.c_str());
    if (std::system(cmd) != 0) throw std::runtime_error("convert failed");
}

}  // namespace testkit
