// Shared helpers for the tests: a real 1024 x 768 OpenGL window under Xvfb,
// pixel read-back in drawing-space coordinates, and small fixture files.
#pragma once

#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "app/Platform.h"

class cAppState;
class cApplication;
class cHighScoreTable;
class cWorldApp;

namespace testkit {

struct Rgba {
    int r, g, b, a;
};

// The process's one application object (not initialised).
cApplication& app();
// Opens (once per process) the game's display through the application's own
// set-up, windowed rather than full screen, and creates the texture cache.
void openWindow();
// Opens the mixer as the game does, once; it is closed at exit, so that its
// thread stops before the libraries it runs in are unloaded.
bool openAudio();
// Creates the texture cache without a window (decode-only, nothing uploaded).
void useHeadlessTextures();
// Clears to black and loads the identity modelview with the game's camera applied.
void beginFrame();
// Reads the colour at drawing-space (x, y) (y down) from the back buffer.
Rgba readPixel(int x, int y);

// A pointer and a clock the test sets; ticks and events stay the real ones.
class FakePlatform : public cPlatform {
public:
    Uint8 getMouseState(int* px, int* py) override;
    std::time_t now() override { return seconds; }
    int x = 0, y = 0;
    std::time_t seconds = 1000;
};

// A loaded game state over a fake platform (pointer at 500, 400, clock at
// `seconds`) with its own empty high-score table; headless unless a window is wanted.
struct GameScene {
    explicit GameScene(std::time_t seconds = 1000, bool window = false);
    ~GameScene();
    GameScene(const GameScene&) = delete;
    GameScene& operator=(const GameScene&) = delete;
    FakePlatform platform;
    cHighScoreTable* table;
    cWorldApp* game;
};

// Runs f and returns the text of the std::exception* it throws (deleted), or "".
template <typename F>
std::string thrownText(F f) {
    try {
        f();
    } catch (std::exception* e) {
        std::string text = e->what() ? e->what() : "(null)";
        delete e;
        return text;
    }
    return "";
}

// An inclusive box of drawing-space pixels.
struct Box {
    int left, top, right, bottom;
    bool contains(int px, int py) const { return px >= left && px <= right && py >= top && py <= bottom; }
};

// The whole back buffer, read once; at() takes drawing-space coordinates.
class Frame {
public:
    Frame();
    const unsigned char* at(int x, int y) const { return &pixels[((767 - y) * 1024 + x) * 4]; }
    bool operator==(const Frame& other) const { return pixels == other.pixels; }

private:
    std::vector<unsigned char> pixels;
};

// Clears, draws the state as the frame loop does and reads the whole frame back.
Frame drawnFrame(cAppState& state);

// Pixels of `area` whose colour differs between two frames, leaving out the `skip` boxes.
int countDifferences(const Frame& a, const Frame& b, Box area, const std::vector<Box>& skip = {});

// A fresh empty directory under /tmp, removed at process exit.
std::string tempDir();
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// Writes a solid-colour PNG (or JPEG when the name ends in .jpg) of w x h.
void writeImage(const std::string& path, int w, int h, Rgba colour);

}  // namespace testkit
