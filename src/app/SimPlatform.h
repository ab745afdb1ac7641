// A simulated platform for playing the game without a player: time advances
// one frame at a fixed rate when the caller says so (or runs as the real clock
// does, with `realClock`), and the pointer is where the caller puts it.  Used
// by the autoplay program and the benchmarks.
#pragma once

#include "app/Platform.h"

class cSimPlatform : public cPlatform {
public:
    Uint8 getMouseState(int* x, int* y) override;
    Uint32 getTicks() override;
    std::time_t now() override;
    // No event reaches the game; with `pump` set, the window's own events are
    // still taken from the system so that a shown window stays responsive.
    int pollEvent(SDL_Event* event) override;

    int fps = 60;
    long long frame = 0;
    long startSeconds = 1000;  // the calendar time at frame 0
    int mouseX = 512, mouseY = 384;
    bool pump = false;
    bool realClock = false;  // ticks are SDL's own, as the frames really take
};
