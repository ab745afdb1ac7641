// Shared by the bench programs: a platform with simulated time and pointer,
// and the resident-set figures of this process.
#pragma once

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/Platform.h"

class cBenchPlatform : public cPlatform {
public:
    Uint8 getMouseState(int* x, int* y) override {
        if (x) *x = mouseX;
        if (y) *y = mouseY;
        return 0;
    }
    Uint32 getTicks() override { return static_cast<Uint32>(frame * 1000 / fps); }
    std::time_t now() override { return static_cast<std::time_t>(1000 + frame / fps); }
    // The window's own events are pumped but none reaches the game: the bench feeds it.
    int pollEvent(SDL_Event*) override {
        if (pump) SDL_PumpEvents();
        return 0;
    }

    long long frame = 0;
    int fps = 60;
    int mouseX = 512, mouseY = 384;
    bool pump = false;
};

// VmRSS or VmHWM of this process in KiB, from /proc/self/status.
inline long procStatusKiB(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long value = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
            std::sscanf(line + n + 1, "%ld", &value);
            break;
        }
    std::fclose(f);
    return value;
}
