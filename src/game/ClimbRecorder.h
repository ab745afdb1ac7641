// Records the climb under way as a replay, from the moment its round first
// moves to its end (a fall, or the last level done), and keeps the one that
// ended last until the next ends: the play state files it with the score.
#pragma once

#include <cstdint>

#include "game/Replay.h"

class cClimbRecorder {
public:
    // A round was laid out from this calendar second: a new climb's (which
    // the climb that just ended keeps too), or, while one is under way, its
    // next level's.
    void roundLaid(std::int64_t second);
    // A pass of the round ran before it first moved: the figure has come to
    // rest on the floor.
    void passRan();
    // The round moves: its climb begins.
    void begin();
    bool climbing() const { return started; }
    // What the climb was given: an event before the next frame, then the frame.
    void event(const cReplayEvent& event);
    void frame(float rate, int pointerX);
    // The climb ended with this score on this level.
    void end(unsigned score, int level);
    // The climb was left unfinished (the player went to the menu).
    void drop();
    // The climb that ended last, or null when there is none or it grew past
    // what a replay may hold.
    const cReplay* ended() const { return endedKept ? &endedClimb : nullptr; }
    // How many climbs have ended (kept or not).
    int endings() const { return endingCount; }

private:
    cReplay climb;
    cReplayFrame pending;  // the events of the frame to come
    bool started = false;
    bool fits = true;  // every frame so far lies within a replay's limits
    cReplay endedClimb;
    bool endedKept = false;
    bool endedAwaitsNextRound = false;
    int endingCount = 0;
};
