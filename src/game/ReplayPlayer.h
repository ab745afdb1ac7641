// Plays a recorded climb again into a game of its own, frame by frame, from
// the start the climb had. The game is only watched or checked: it files no
// score and leads to no other screen, and it reads time, input and chance
// through its own platform and generator, swapped in for each of its frames,
// so that the player's own game beside it is not disturbed.
#pragma once

#include <cstdint>
#include <memory>

#include "app/Platform.h"
#include "game/Random.h"
#include "game/Replay.h"

class cWorldApp;

class cReplayPlayer {
public:
    // The replay must outlive the player. Loads the game's pictures and sounds.
    explicit cReplayPlayer(const cReplay& replay);
    ~cReplayPlayer();
    cReplayPlayer(const cReplayPlayer&) = delete;
    cReplayPlayer& operator=(const cReplayPlayer&) = delete;

    // Plays the next frame; false when every frame has been played.
    bool step();
    bool done() const { return !hasNext; }
    // Once every frame is played: one frame more without input, as the game
    // went on after the climb (the round that follows stands behind its box),
    // so that the screen shows what the player's screen showed at the end.
    void settle();
    // How long the next frame lasted when it was recorded, in seconds.
    double nextFrameSeconds() const { return 1.0 / upcoming.rate; }
    std::int64_t framesPlayed() const { return played; }
    cWorldApp& game() { return *watched; }
    // The climb as it ended when played again; null until it has ended.
    const cReplay* ended() const;

private:
    // What the recorded climb read through the seam, given back.
    class Platform : public cPlatform {
    public:
        explicit Platform(const cReplay& replay) : replay(replay) {}
        Uint8 getMouseState(int* x, int* y) override;
        Uint32 getTicks() override { return 0; }
        std::time_t now() override;
        int pollEvent(SDL_Event*) override { return 0; }
        int pointerX = 0;

    private:
        const cReplay& replay;
        std::size_t seedsRead = 0;
    };
    // Puts the game's platform and generator in place for the while it lives.
    class Turn {
    public:
        explicit Turn(cReplayPlayer& player);
        ~Turn();

    private:
        cReplayPlayer& player;
        cPlatform& previous;
    };

    cReplay::Reader reader;
    Platform platform;
    cRandom::State random = {};
    cReplayFrame upcoming;
    bool hasNext;
    std::int64_t played = 0;
    std::unique_ptr<cWorldApp> watched;
};
