#include "game/AutoPilot.h"

#include <cmath>

#include "app/SimPlatform.h"
#include "frontend/NameBox.h"
#include "game/Player.h"
#include "game/WorldApp.h"
#include "scene/ObjectList.h"

namespace {
const float kMargin = 6.0f;       // room kept from every edge that matters
const float kRadius = 10.0f;      // the player's contact circle
const float kLandLine = 77.0f;    // a player this far above a brick's centre rests on it
const float kBounceRise = 302.0f; // height of a bounce, the same at every level
const float kJumpRise = 350.0f;   // height of a jump from the floor
const float kAimLo = 50.0f, kAimHi = 960.0f;
const int kKeyReturn = 13;
const int kAgainX = 599, kAgainY = 297;

// How far beyond the wanted x the pointer must lie for the figure to get there within one frame
// of `passes` passes: each pass walks 8 x the remaining distance to the pointer per second.
float walkGain(float fps, int passes) {
    if (passes == 1) return fps / 8.0f;
    const float keep = 1.0f - 8.0f / (fps * static_cast<float>(passes));
    return 1.0f / (1.0f - std::pow(keep, static_cast<float>(passes)));
}

float riseLeft(float fallSpeed) { return fallSpeed < 0.0f ? fallSpeed * fallSpeed / 1400.0f : 0.0f; }
bool isPlatform(const cObject& o) { return o.kind == 1 || o.kind == 3; }
}  // namespace

cAutoPilot::cAutoPilot(float framesPerSecond)
    : passFps(framesPerSecond * static_cast<float>(cWorldApp::passesFor(framesPerSecond))),
      gain(walkGain(framesPerSecond, cWorldApp::passesFor(framesPerSecond))), bricks(), brickCount(0), floor(nullptr), forbidden(), spanCount(0) {}

void cAutoPilot::play(cWorldApp& game, cSimPlatform& platform) {
    cPilotInput chosen;
    decide(game, chosen);
    platform.mouseX = chosen.mouseX;
    platform.mouseY = chosen.mouseY;
    if (chosen.key >= 0) game.keyDown(chosen.key);
    if (chosen.click) game.mouseDown(1);
}

void cAutoPilot::decide(const cWorldApp& game, cPilotInput& input) {
    input.click = false;
    input.key = -1;
    input.mouseY = 400;
    input.mouseX = static_cast<int>(game.player->x);
    switch (game.phase) {
    case cWorldApp::NameEntry:
        input.key = game.nameBox && game.nameBox->length == 0 ? 'a' : kKeyReturn;
        return;
    case cWorldApp::RetryChoice:
        input.mouseX = kAgainX;
        input.mouseY = kAgainY;
        input.click = game.mouseX == kAgainX && game.mouseY == kAgainY;
        return;
    case cWorldApp::LevelDone:
    case cWorldApp::Fallen:
        return;
    default:
        break;
    }
    if (game.paused) {
        input.click = true;
        return;
    }
    collectBricks(game);
    if (floor && game.player->onGround && game.phase == cWorldApp::Climbing) steerOnFloor(game, input);
    else steerInAir(game, input);
}

void cAutoPilot::collectBricks(const cWorldApp& game) {
    brickCount = 0;
    floor = nullptr;
    for (int i = 0; i < game.objects->count; ++i) {
        const cObject* o = game.objects->get(i);
        if (o->kind == 2) floor = o;
        else if (isPlatform(*o) && brickCount < maxBricks) bricks[brickCount++] = o;
    }
}

// The highest brick whose top lies below the highest point of the flight.
const cObject* cAutoPilot::reachableTarget(float apexY) const {
    const cObject* best = nullptr;
    for (int i = 0; i < brickCount; ++i) {
        const cObject* b = bricks[i];
        if (b->y - kLandLine < apexY - 0.5f) continue;
        if (!best || b->y < best->y) best = b;
    }
    return best;
}

void cAutoPilot::forbidWhole(const cObject& b) {
    if (spanCount >= maxSpans) return;
    const float half = b.hitWidth + kRadius + kMargin;
    forbidden[spanCount++] = Span{b.x - half, b.x + half};
}

// The side-push bands: touching there shoves the player sideways.
void cAutoPilot::forbidEdges(const cObject& b) {
    if (spanCount + 2 > maxSpans) return;
    const float inner = b.hitWidth - 20.0f - kMargin, outer = b.hitWidth + kRadius + kMargin;
    forbidden[spanCount++] = Span{b.x - outer, b.x - inner};
    forbidden[spanCount++] = Span{b.x + inner, b.x + outer};
}

// Bricks met while the contact circle sweeps from circleBottom up to circleTop: those at or
// below the target must be passed clear of; those above may stop the rise but must not push.
void cAutoPilot::forbidSweep(float circleTop, float circleBottom, const cObject* target, bool targetFull) {
    for (int i = 0; i < brickCount; ++i) {
        const cObject* b = bricks[i];
        if (b->y + b->hitHeight < circleTop - 2.0f || b->y - b->hitHeight > circleBottom + 2.0f) continue;
        const bool below = target && b->y >= target->y;
        if (below && (b != target || targetFull)) forbidWhole(*b);
        else if (!below) forbidEdges(*b);
    }
}

bool cAutoPilot::allowed(float x) const {
    for (int i = 0; i < spanCount; ++i)
        if (x > forbidden[i].lo && x < forbidden[i].hi) return false;
    return true;
}

float cAutoPilot::closestAllowed(float lo, float hi, float preferred) const {
    float best = preferred, bestDistance = -1.0f;
    auto consider = [&](float x) {
        if (x < lo || x > hi || !allowed(x)) return;
        const float distance = std::fabs(x - preferred);
        if (bestDistance < 0.0f || distance < bestDistance) {
            best = x;
            bestDistance = distance;
        }
    };
    consider(preferred < lo ? lo : (preferred > hi ? hi : preferred));
    consider(lo);
    consider(hi);
    for (int i = 0; i < spanCount; ++i) {
        consider(forbidden[i].lo - 0.5f);
        consider(forbidden[i].hi + 0.5f);
    }
    return bestDistance < 0.0f ? preferred : best;
}

// The point nearest to preferred that can be walked to from x without crossing a forbidden span;
// from inside a span, the nearest way out.
float cAutoPilot::reachableAllowed(float x, float lo, float hi, float preferred) const {
    if (!allowed(x) || x < lo || x > hi) return closestAllowed(lo, hi, x);
    float left = lo, right = hi;
    for (int i = 0; i < spanCount; ++i) {
        if (forbidden[i].hi <= x && forbidden[i].hi + 0.5f > left) left = forbidden[i].hi + 0.5f;
        if (forbidden[i].lo >= x && forbidden[i].lo - 0.5f < right) right = forbidden[i].lo - 0.5f;
    }
    if (left > x) left = x;
    if (right < x) right = x;
    return preferred < left ? left : (preferred > right ? right : preferred);
}

// Where to come down on the target so that the bounce from there rises freely.
float cAutoPilot::landingPoint(const cObject& target, float preferred) {
    if (target.kind == 3) return target.x;
    spanCount = 0;
    const float bounceY = target.y - kLandLine;
    for (int i = 0; i < brickCount; ++i) {
        const cObject* b = bricks[i];
        if (b == &target || b->y >= target.y) continue;
        if (b->y + b->hitHeight < bounceY - kBounceRise + 12.0f - 2.0f) continue;
        bool lowest = true;
        for (int j = 0; j < brickCount; ++j)
            if (bricks[j] != &target && bricks[j]->y < target.y && bricks[j]->y > b->y) lowest = false;
        if (lowest) forbidWhole(*b);
        else forbidEdges(*b);
    }
    const float half = target.hitWidth - 20.0f - kMargin;
    return closestAllowed(target.x - half, target.x + half, preferred);
}

void cAutoPilot::steerOnFloor(const cWorldApp& game, cPilotInput& input) {
    const cPlayer& p = *game.player;
    const float apexY = p.y - kJumpRise;
    const cObject* target = reachableTarget(apexY);
    float takeoff = p.x;
    if (target) {
        const float landing = landingPoint(*target, p.x);
        spanCount = 0;
        forbidSweep(apexY + 12.0f, p.y + 32.0f, target, true);
        takeoff = closestAllowed(kAimLo + 10.0f, kAimHi - 10.0f, landing);
    }
    input.mouseX = aimFor(game, takeoff);
    input.click = !game.jumpRequested && std::fabs(p.x - takeoff) < 1.5f;
}

void cAutoPilot::steerInAir(const cWorldApp& game, cPilotInput& input) {
    const cPlayer& p = *game.player;
    if (game.phase == cWorldApp::GoalPlaced && p.onGround) {
        for (int i = 0; i < brickCount; ++i)
            if (bricks[i]->kind == 3) input.mouseX = aimFor(game, bricks[i]->x);
        return;
    }
    const float apexY = p.y - riseLeft(game.fallSpeed);
    const cObject* target = reachableTarget(apexY);
    if (!target) {
        input.mouseX = aimFor(game, p.x);
        return;
    }
    // Where the figure is after the frame's first pass: it must be clear of every brick's edge
    // there before it walks over to the target.
    const float nextY = p.y + game.fallSpeed * game.levelFactor() / passFps;
    const float landing = landingPoint(*target, p.x);
    float desired = landing;
    if (game.fallSpeed < 0.0f && nextY >= target->y - kLandLine - 2.0f) {
        spanCount = 0;
        forbidSweep(apexY + 12.0f, p.y + 32.0f, target, true);
        desired = reachableAllowed(p.x, kAimLo, kAimHi, landing);
    }
    input.mouseX = aimFor(game, desired);
}

// The pointer x that brings the player to desiredX in this one frame, as far as the walk allows.
int cAutoPilot::aimFor(const cWorldApp& game, float desiredX) const {
    const float x = game.player->x;
    float aim = x + (desiredX - x) * gain;
    if (aim > x + 499.0f) aim = x + 499.0f;
    if (aim < x - 499.0f) aim = x - 499.0f;
    if (aim < kAimLo) aim = kAimLo;
    if (aim > kAimHi) aim = kAimHi;
    return static_cast<int>(std::lround(aim));
}
