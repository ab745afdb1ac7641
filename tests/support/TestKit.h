// Shared helpers for the tests: a real 1024 x 768 OpenGL window under Xvfb,
// frames read back whole and looked at in drawing-space coordinates, and
// small fixture files.
#pragma once

#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "game/Player.h"
#include "game/Tow.h"
#include "game/WorldApp.h"

class cAppState;
class cApplication;
class cBitmapFont;
class cBrick;
class cCursor;
class cObject;
class cWitch;

namespace testkit {

// The process's one application object (not initialised).
cApplication& app();
// Opens (once per process) the game's display through the application's own
// set-up, windowed rather than full screen, and creates the texture cache.
void openWindow();
// Opens the mixer as the game does, once; it is closed at exit, so that its
// thread stops before the libraries it runs in are unloaded.
bool openAudio();
// Clears to black and loads the identity modelview with the game's camera applied.
void beginFrame();

// A pointer and a clock the test sets; ticks and events stay the real ones.
class FakePlatform : public cPlatform {
public:
    Uint8 getMouseState(int* px, int* py) override;
    std::time_t now() override { return seconds; }
    int x = 0, y = 0;
    std::time_t seconds = 1000;
};

// Named set-ups that put a loaded play state where a test starts from, as
// the game gets there itself. They are the one place that writes the play
// state's own fields (the level, score, fall speed and side push of
// atLevel, falling and pushedAside, and the status line's font, which a test
// swaps for one that draws nothing); tests look at the state through its
// view() and otherwise only place the scene's objects.
class ClimbSetup {
public:
    explicit ClimbSetup(cWorldApp& game) : game(game) {}
    // A climb at this level (the tower's gauge too) with this score so far.
    void atLevel(int level, unsigned score = 0) { game.level = game.tower->level = level, game.score = score; }
    void falling(float speed) { game.fallSpeed = speed; }  // negative: the figure rising
    // A side push holding the figure's target at x for this pass.
    void pushedAside(int x) { game.pushHold = true, game.player->targetX = x; }
    void emptyTower() { game.removeBricks(); }  // not even the floor is left
    void newRound() { game.removeBricks(), game.setupRound(); }
    void spawnBrick() { game.spawnBrick(); }
    cBrick* addBrick(int type, int kind, float x, float y);
    // The figure meets the brick, as a pass of the climb checks it.
    void meet(cObject* brick) { game.checkContact(brick); }
    // The scene's objects, to place them.
    cPlayer& figure() { return *game.player; }
    cBrick* newestBrick() { return game.topBrick(); }
    cBrick* floor() { return game.floor; }
    cTow& tower() { return *game.tower; }
    cWitch* witch() { return game.witch; }
    cCursor& aimMarker() { return *game.aimMarker; }
    cBitmapFont*& statusFont() { return game.font; }  // one never loaded draws nothing
    // The jump, fall and goal sounds play until halted.
    void soundsKeepPlaying();
    bool pushHeld() const { return game.pushHold; }

private:
    cWorldApp& game;
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
// Writes an opaque PNG of w x h in one colour, named as ImageMagick names it.
void writeImage(const std::string& path, int w, int h, const char* colour);

}  // namespace testkit
