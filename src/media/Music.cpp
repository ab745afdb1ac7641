#include "media/Music.h"

#include <SDL.h>

#include "media/ResFileException.h"
#include "media/Sound.h"
#include "media/Texture.h"

cMusic::cMusic() : music(nullptr), loops(-1) {}

namespace {
// Without an audio device the mixer cannot decode; the file must still exist
// and look like Ogg Vorbis, so a missing piece is reported all the same.
bool looksLikeOgg(const char* native) {
    SDL_RWops* in = SDL_RWFromFile(native, "rb");
    if (!in) return false;
    char magic[4] = {0, 0, 0, 0};
    const bool ok = SDL_RWread(in, magic, 1, 4) == 4 && magic[0] == 'O' && magic[1] == 'g' &&
                    magic[2] == 'g' && magic[3] == 'S';
    SDL_RWclose(in);
    return ok;
}
}  // namespace

int cMusic::load(const char* path) {
    char native[1024];
    toNativePath(path, native, sizeof native);
    if (!audioAvailable()) {
        if (!looksLikeOgg(native)) throw new cResFileException(path);
        return 0;
    }
    music = Mix_LoadMUS(native);
    if (!music) throw new cResFileException(path);
    return 0;
}

void cMusic::play() {
    if (music) Mix_PlayMusic(music, loops);
}

void cMusic::fadeIn(int ms) {
    if (music) Mix_FadeInMusic(music, loops, ms);
}

void cMusic::fadeOut(int ms) {
    if (music) Mix_FadeOutMusic(ms);
}

void cMusic::setVolume(int volume) {
    if (music) Mix_VolumeMusic(volume);
}

void cMusic::release() {
    if (!music) return;
    Mix_FreeMusic(music);
    music = nullptr;
}
