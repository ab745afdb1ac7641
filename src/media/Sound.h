// A short sound effect held in memory and played on a fixed mixing channel.
#pragma once

#include <SDL_mixer.h>

class cSound {
public:
    cSound();
    int load(const char* path);
    void play();
    void setChannel(int channel);
    void setVolume(int volume);
    void release();

    Mix_Chunk* chunk;
    int loops;
    int channel;
};

// Whether the audio device is open; without it the game runs silently.
bool audioAvailable();
// Without a device the mixer cannot decode: a sound or a piece of music must
// still exist and carry its format's mark (`magic` at `offset`), so that a
// missing one is reported all the same.
bool carriesMark(const char* nativePath, long offset, const char* magic);
