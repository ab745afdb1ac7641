#include "media/Sound.h"

#include <SDL.h>

#include <cstring>

#include "media/ResFileException.h"
#include "media/Texture.h"

bool audioAvailable() {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

bool carriesMark(const char* nativePath, long offset, const char* magic) {
    SDL_RWops* in = SDL_RWFromFile(nativePath, "rb");
    if (!in) return false;
    char seen[8] = {};
    const int n = static_cast<int>(std::strlen(magic));
    const bool ok = n <= static_cast<int>(sizeof seen) && SDL_RWseek(in, offset, RW_SEEK_SET) == offset &&
                    SDL_RWread(in, seen, n, 1) == 1 && !std::memcmp(seen, magic, static_cast<std::size_t>(n));
    SDL_RWclose(in);
    return ok;
}

cSound::cSound() : chunk(nullptr), loops(0), channel(-1) {}

int cSound::load(const char* path) {
    char native[1024];
    toNativePath(path, native, sizeof native);
    if (!audioAvailable()) {
        if (!carriesMark(native, 0, "RIFF") || !carriesMark(native, 8, "WAVE")) throw new cResFileException(path);
        return 0;
    }
    chunk = Mix_LoadWAV_RW(SDL_RWFromFile(native, "rb"), 1);
    if (!chunk) throw new cResFileException(path);
    return 0;
}

void cSound::play() {
    if (chunk) Mix_PlayChannelTimed(channel, chunk, loops, -1);
}

void cSound::setChannel(int newChannel) { channel = newChannel; }

void cSound::setVolume(int volume) {
    if (chunk) Mix_VolumeChunk(chunk, volume);
}

void cSound::release() {
    if (!chunk) return;
    Mix_FreeChunk(chunk);
    chunk = nullptr;
}
