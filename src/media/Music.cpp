#include "media/Music.h"

#include <SDL.h>

#include "media/ResFileException.h"
#include "media/Sound.h"
#include "media/Texture.h"

cMusic::cMusic() : music(nullptr), loops(-1) {}

int cMusic::load(const char* path) {
    char native[1024];
    toNativePath(path, native, sizeof native);
    if (!audioAvailable()) {
        if (!carriesMark(native, 0, "OggS")) throw new cResFileException(path);
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
