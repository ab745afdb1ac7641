#include "app/Platform.h"

Uint8 cPlatform::getMouseState(int* x, int* y) { return SDL_GetMouseState(x, y); }
Uint32 cPlatform::getTicks() { return SDL_GetTicks(); }
std::time_t cPlatform::now() { return std::time(nullptr); }
int cPlatform::pollEvent(SDL_Event* event) { return SDL_PollEvent(event); }

namespace {
cPlatform realPlatform;
cPlatform* current = &realPlatform;
}

cPlatform& platform() { return *current; }
void setPlatform(cPlatform* replacement) { current = replacement ? replacement : &realPlatform; }
