#include "game/ReplayPlayer.h"

#include <SDL.h>

#include <algorithm>

#include "game/WorldApp.h"

Uint8 cReplayPlayer::Platform::getMouseState(int* x, int* y) {
    if (x) *x = pointerX;
    if (y) *y = 0;  // the climb reads only the pointer's x; a replay keeps no height
    return 0;
}

// The seconds the levels and the round after the climb were laid from, in
// turn (and the last again, should more rounds be laid).
std::time_t cReplayPlayer::Platform::now() {
    if (replay.seeds.empty()) return 0;
    const std::size_t i = std::min(seedsRead++, replay.seeds.size() - 1);
    return static_cast<std::time_t>(replay.seeds[i]);
}

cReplayPlayer::Turn::Turn(cReplayPlayer& player) : player(player), previous(::platform()) {
    setPlatform(&player.platform);
    cRandom::swap(player.random);
}

cReplayPlayer::Turn::~Turn() {
    cRandom::swap(player.random);
    setPlatform(&previous);
}

cReplayPlayer::cReplayPlayer(const cReplay& replay)
    : reader(replay), platform(replay), hasNext(reader.next(upcoming)), watched(new cWorldApp(true)) {
    Turn turn(*this);
    watched->load();
    // The round stands behind its first box. A pass there lets the figure
    // come to rest on the floor, as the recorded round did; P then starts it.
    if (replay.settled) watched->update(60.0f);
    watched->keyDown(SDLK_p);
}

cReplayPlayer::~cReplayPlayer() = default;

bool cReplayPlayer::step() {
    if (!hasNext) return false;
    Turn turn(*this);
    platform.pointerX = upcoming.pointerX;
    for (const cReplayEvent& event : upcoming.events) {
        switch (event.type) {
        case cReplayEvent::Key: watched->keyDown(event.code); break;
        case cReplayEvent::Click: watched->mouseDown(event.code, event.x, event.y); break;
        default: watched->focusLost(); break;
        }
    }
    watched->update(upcoming.rate);
    ++played;
    hasNext = reader.next(upcoming);
    return true;
}

void cReplayPlayer::settle() {
    Turn turn(*this);
    watched->update(60.0f);
}

const cReplay* cReplayPlayer::ended() const { return watched->lastClimb(); }
