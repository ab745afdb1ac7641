#include "app/SimPlatform.h"

Uint8 cSimPlatform::getMouseState(int* x, int* y) {
    if (x) *x = mouseX;
    if (y) *y = mouseY;
    return 0;
}

Uint32 cSimPlatform::getTicks() { return realClock ? SDL_GetTicks() : static_cast<Uint32>(frame * 1000 / fps); }

std::time_t cSimPlatform::now() { return static_cast<std::time_t>(startSeconds + frame / fps); }

int cSimPlatform::pollEvent(SDL_Event*) {
    if (pump) SDL_PumpEvents();
    return 0;
}
