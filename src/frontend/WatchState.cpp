#include "frontend/WatchState.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/HighScoreTable.h"
#include "frontend/ReplayShelf.h"
#include "game/Climb.h"
#include "game/ReplayPlayer.h"
#include "game/WorldApp.h"
#include "media/BitmapFont.h"
#include "media/Texture.h"

const char* const cWatchState::kShippedReplay = "data\\replays\\climb.zrp";

cWatchState::cWatchState(const cHighScoreTable* table) : table(table) {}

cWatchState::~cWatchState() = default;

int cWatchState::load() {
    font.reset(new cBitmapFont());
    font->load(kFontPicture, kFontGlyphs);
    font->setScale(0.75);
    font->setAlign(0, 0);
    return 0;
}

bool cWatchState::findReplay() {
    std::string error;
    if (!requested.empty()) {
        const std::string path = requested;
        requested.clear();
        if (cReplay::load(path, replay, error)) return true;
        std::printf("The replay %s cannot be watched: %s\n", path.c_str(), error.c_str());
        return false;
    }
    if (table && cReplayShelf(*table).best(replay)) return true;
    char path[260];
    toNativePath(kShippedReplay, path, sizeof path);
    return cReplay::load(path, replay, error);
}

int cWatchState::activate(bool on) {
    if (!on) {
        if (watched) watched->game().activate(false);
        watched.reset();
        return 0;
    }
    clock = due = 0.0;
    lastTicks = platform().getTicks();
    if (!findReplay() || replay.rulesVersion != climb::kRulesVersion) {
        leave();
        return 0;
    }
    watched.reset(new cReplayPlayer(replay));
    watched->game().activate(true);
    return 0;
}

// Plays the recorded frames whose time has come, by the clock; a long frame
// of the game's own counts as the longest a frame may be, so that a stall
// does not leap ahead.
int cWatchState::update(float) {
    if (!watched) return 0;
    const Uint32 now = platform().getTicks();
    clock += std::min<Uint32>(now - lastTicks, climb::kLongestFrameMs) / 1000.0;
    lastTicks = now;
    while (!watched->done() && due < clock) {
        due += watched->nextFrameSeconds();
        watched->step();
    }
    if (watched->done() && clock > due + kHoldSeconds) leave();
    return 0;
}

int cWatchState::draw() {
    if (!watched) return 0;
    watched->game().draw();
    // The font has capitals, digits and the few small letters of the status line.
    const std::string caption = replay.name.empty() ? "REPLAY" : "REPLAY OF " + replay.name;
    font->drawText(caption.c_str(), 512.0f, 740.0f, 10.0f);
    return 0;
}

void cWatchState::leave() {
    if (g_app) g_app->requestedState = kMenuState;
}

void cWatchState::keyDown(int) { leave(); }

void cWatchState::mouseDown(int, int, int) { leave(); }
