// The one seam through which the game reads time and input.  The real
// platform asks SDL and the C runtime; the autoplay program and tests install
// their own so that a recorded or simulated game replays exactly.
#pragma once

#include <SDL.h>
#include <ctime>

class cPlatform {
public:
    virtual ~cPlatform() {}
    // Pointer position in window pixels, as SDL_GetMouseState gives it.
    virtual Uint8 getMouseState(int* x, int* y);
    virtual Uint32 getTicks();
    // Calendar time in whole seconds, used to seed the random generator.
    virtual std::time_t now();
    virtual int pollEvent(SDL_Event* event);
};

// The platform in use; the real one unless another was installed.
cPlatform& platform();
// Installs another platform (not owned); null restores the real one.
void setPlatform(cPlatform* replacement);
