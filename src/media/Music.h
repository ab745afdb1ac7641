// The streamed background piece of a state (Ogg Vorbis on the music stream).
#pragma once

#include <SDL_mixer.h>

class cMusic {
public:
    cMusic();
    int load(const char* path);
    void play();
    void fadeIn(int ms);
    void fadeOut(int ms);
    void setVolume(int volume);
    void release();

    Mix_Music* music;
    int loops;
};
