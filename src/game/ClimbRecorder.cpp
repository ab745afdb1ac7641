#include "game/ClimbRecorder.h"

#include <utility>

#include "game/Climb.h"

void cClimbRecorder::roundLaid(std::int64_t second) {
    if (endedAwaitsNextRound) endedClimb.seeds.push_back(second);
    endedAwaitsNextRound = false;
    if (started) {
        climb.seeds.push_back(second);
        return;
    }
    climb = cReplay();
    climb.rulesVersion = climb::kRulesVersion;
    climb.seeds.push_back(second);
    pending.events.clear();
    fits = true;
}

void cClimbRecorder::passRan() {
    if (!started) climb.settled = true;
}

void cClimbRecorder::begin() { started = true; }

void cClimbRecorder::event(const cReplayEvent& event) {
    if (!started) return;
    if (pending.events.size() < static_cast<std::size_t>(cReplay::kMaxEvents)) pending.events.push_back(event);
    else fits = false;
}

void cClimbRecorder::frame(float rate, int pointerX) {
    if (!started) return;
    pending.rate = rate;
    pending.pointerX = pointerX;
    if (!climb.addFrame(pending)) fits = false;
    pending.events.clear();
}

void cClimbRecorder::end(unsigned score, int level) {
    if (!started) return;
    climb.score = score;
    climb.level = level;
    endedClimb = std::move(climb);
    endedKept = fits;
    endedAwaitsNextRound = true;
    ++endingCount;
    drop();
}

void cClimbRecorder::drop() {
    started = false;
    climb = cReplay();
}
