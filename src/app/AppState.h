// The contract of every screen: the application feeds the current state with
// key presses, mouse clicks, one update and one draw per frame, and tells it
// when the player has left the window.
#pragma once

// The application's state numbers (requestedState, currentStateId).
enum : int { kMenuState = 0, kIntroState = 1, kGameState = 2, kWatchState = 3 };

class cAppState {
public:
    virtual ~cAppState() {}
    virtual int load() = 0;
    virtual int activate(bool on) = 0;
    virtual int update(float fps) = 0;
    virtual int draw() = 0;
    virtual void keyDown(int key) = 0;
    // A button pressed at (x, y), in window pixels: where the press was made,
    // which a quick flick or a tap may leave before the next frame reads the pointer.
    virtual void mouseDown(int button, int x, int y) = 0;
    // The window lost the input focus or was hidden; only the climb minds.
    virtual void focusLost() {}
};
