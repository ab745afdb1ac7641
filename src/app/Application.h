// The application: owns the window, the GL state, the three top-level states
// and the high-score table, and runs the frame loop.
#pragma once

#include <SDL.h>

class cAppState;
class cHighScoreTable;
class cWatchState;

class cApplication {
public:
    cApplication(int argc, char** argv);
    // When init has run: stops the sound, releases the states and the table,
    // then closes the mixer and SDL (an exit with music still playing can
    // crash inside the mixer's thread).
    ~cApplication();
    cApplication(const cApplication&) = delete;
    cApplication& operator=(const cApplication&) = delete;

    int init();
    // The first steps of init: SDL, the video mode, the projection and the
    // fixed GL state (the test kit opens its window through this too).
    void openDisplay();
    // Opens the mixer for the game's music and sounds; false when there is no sound.
    static bool openAudio();
    int run();
    void setupProjection();
    void setupGL();

    // One pass of the frame loop (events, timing, update, draw, swap, switch).
    void frame();
    // The switching rule run at the end of every frame.
    void switchState();
    // Reads the clock: frameMs and fps of the frame that ends now.
    void measureFrame();

    double fps;
    Uint32 frameMs;
    Uint32 lastTicks;
    int width;
    int height;
    int bpp;
    Uint32 videoFlags;
    bool quit;
    cHighScoreTable* highScores;
    cAppState* menuState;
    cAppState* gameState;
    cAppState* introState;
    cWatchState* watchState;  // a replay shown by the menu left alone, or asked for
    int requestedState;
    int currentStateId;
    cAppState* currentState;

private:
    void processEvents();
    void drawFrame();
    void shutdown();
    void hideSystemPointer();

    static constexpr int kPointerSize = 8;  // SDL cursors are a multiple of 8 wide
    SDL_Cursor* transparentPointer;

    bool started;  // init has opened SDL, so the destructor must close it
};

// The process-wide application, set by the constructor.
extern cApplication* g_app;
