#include "media/Sound.h"

#include <SDL.h>

#include "media/ResFileException.h"
#include "media/Texture.h"

bool audioAvailable() {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

cSound::cSound() : chunk(nullptr), loops(0), channel(-1) {}

int cSound::load(const char* path) {
    char native[1024];
    toNativePath(path, native, sizeof native);
    if (!audioAvailable()) {
        // No device: decode the file with SDL itself so that a missing or
        // broken effect is still reported, then play nothing.
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV_RW(SDL_RWFromFile(native, "rb"), 1, &spec, &buffer, &length))
            throw new cResFileException(path);
        SDL_FreeWAV(buffer);
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
