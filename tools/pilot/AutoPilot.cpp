#include "pilot/AutoPilot.h"

#include <SDL.h>

#include <cmath>

#include "app/SimPlatform.h"
#include "frontend/NameBox.h"
#include "game/ClimbView.h"
#include "game/Climb.h"
#include "game/Player.h"
#include "game/WorldApp.h"
#include "scene/ObjectList.h"

namespace {
using namespace climb;

const float kMargin = 6.0f;  // room kept from every edge that matters
const float kBounceRise = riseFrom(kBounceSpeed);
const float kJumpRise = riseFrom(kJumpSpeed);
// The contact circle's top and bottom below the figure's position.
const float kCircleTop = kContactDrop - kPlayerRadius;
const float kCircleBottom = kContactDrop + kPlayerRadius;

// A figure this far above a brick's centre rests on it.
float landLine(const cObject& brick) { return brick.hitHeight + kCircleBottom; }

// How far beyond the wanted x the pointer must lie for the figure to get there within one frame
// of `passes` passes: each pass walks kWalkRate x the remaining distance to the pointer per second.
float walkGain(float fps, int passes) {
    if (passes == 1) return fps / kWalkRate;
    const float keep = 1.0f - kWalkRate / (fps * static_cast<float>(passes));
    return 1.0f / (1.0f - std::pow(keep, static_cast<float>(passes)));
}

float riseLeft(float fallSpeed) { return fallSpeed < 0.0f ? riseFrom(fallSpeed) : 0.0f; }
bool isPlatform(const cObject& o) { return o.kind == cWorldApp::OrdinaryBrick || o.kind == cWorldApp::GoalBrick; }
}  // namespace

cAutoPilot::cAutoPilot(float framesPerSecond)
    : passFps(0.0f), gain(0.0f), bricks(), brickCount(0), floor(nullptr), forbidden(), spanCount(0) {
    setRate(framesPerSecond);
}

void cAutoPilot::setRate(float framesPerSecond) {
    passFps = cWorldApp::playedFps(framesPerSecond) * static_cast<float>(cWorldApp::passesFor(framesPerSecond));
    gain = walkGain(cWorldApp::playedFps(framesPerSecond), cWorldApp::passesFor(framesPerSecond));
}

void cAutoPilot::play(cWorldApp& game, cSimPlatform& platform) {
    cPilotInput chosen;
    decide(game.view(), chosen);
    platform.mouseX = chosen.mouseX;
    platform.mouseY = chosen.mouseY;
    if (chosen.key >= 0) game.keyDown(chosen.key);
    if (chosen.click) game.mouseDown(1, chosen.mouseX, chosen.mouseY);
}

void cAutoPilot::decide(const cClimbView& game, cPilotInput& input) {
    input.click = false;
    input.key = -1;
    input.mouseY = 400;
    input.mouseX = static_cast<int>(game.figure->x);
    switch (game.phase) {
    case cWorldApp::NameEntry:
        input.key = game.nameBox && game.nameBox->length == 0 ? SDLK_a : SDLK_RETURN;
        return;
    case cWorldApp::RetryChoice:
        input.mouseX = static_cast<int>(game.againX);
        input.mouseY = static_cast<int>(game.againY);
        input.click = game.pointerX == input.mouseX && game.pointerY == input.mouseY;
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
    if (floor && game.figure->onGround && game.phase == cWorldApp::Climbing) steerOnFloor(game, input);
    else steerInAir(game, input);
}

void cAutoPilot::collectBricks(const cClimbView& game) {
    brickCount = 0;
    floor = nullptr;
    for (int i = 0; i < game.objects->count; ++i) {
        const cObject* o = game.objects->get(i);
        if (o->kind == cWorldApp::FloorBrick) floor = o;
        else if (isPlatform(*o) && brickCount < maxBricks) bricks[brickCount++] = o;
    }
}

// The highest brick whose top lies below the highest point of the flight.
const cObject* cAutoPilot::reachableTarget(float apexY) const {
    const cObject* best = nullptr;
    for (int i = 0; i < brickCount; ++i) {
        const cObject* b = bricks[i];
        if (b->y - landLine(*b) < apexY - 0.5f) continue;
        if (!best || b->y < best->y) best = b;
    }
    return best;
}

void cAutoPilot::forbidWhole(const cObject& b) {
    if (spanCount >= maxSpans) return;
    const float half = b.hitWidth + kPlayerRadius + kMargin;
    forbidden[spanCount++] = Span{b.x - half, b.x + half};
}

// The side-push bands: touching there shoves the player sideways.
void cAutoPilot::forbidEdges(const cObject& b) {
    if (spanCount + 2 > maxSpans) return;
    const float inner = b.hitWidth - kSideBand - kMargin, outer = b.hitWidth + kPlayerRadius + kMargin;
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
    if (target.kind == cWorldApp::GoalBrick) return target.x;
    spanCount = 0;
    const float bounceY = target.y - landLine(target);
    for (int i = 0; i < brickCount; ++i) {
        const cObject* b = bricks[i];
        if (b == &target || b->y >= target.y) continue;
        if (b->y + b->hitHeight < bounceY - kBounceRise + kCircleTop - 2.0f) continue;
        bool lowest = true;
        for (int j = 0; j < brickCount; ++j)
            if (bricks[j] != &target && bricks[j]->y < target.y && bricks[j]->y > b->y) lowest = false;
        if (lowest) forbidWhole(*b);
        else forbidEdges(*b);
    }
    const float half = target.hitWidth - kSideBand - kMargin;
    return closestAllowed(target.x - half, target.x + half, preferred);
}

void cAutoPilot::steerOnFloor(const cClimbView& game, cPilotInput& input) {
    const cPlayer& p = *game.figure;
    const float apexY = p.y - kJumpRise;
    const cObject* target = reachableTarget(apexY);
    float takeoff = p.x;
    if (target) {
        const float landing = landingPoint(*target, p.x);
        spanCount = 0;
        forbidSweep(apexY + kCircleTop, p.y + kCircleBottom, target, true);
        takeoff = closestAllowed(kAimMin + 10.0f, kAimMax - 10.0f, landing);
    }
    input.mouseX = aimFor(game, takeoff);
    input.click = !game.jumpAsked && std::fabs(p.x - takeoff) < 1.5f;
}

void cAutoPilot::steerInAir(const cClimbView& game, cPilotInput& input) {
    const cPlayer& p = *game.figure;
    if (game.phase == cWorldApp::GoalPlaced && p.onGround) {
        for (int i = 0; i < brickCount; ++i)
            if (bricks[i]->kind == cWorldApp::GoalBrick) input.mouseX = aimFor(game, bricks[i]->x);
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
    const float nextY = p.y + game.fallSpeed * game.levelFactor / passFps;
    const float landing = landingPoint(*target, p.x);
    float desired = landing;
    if (game.fallSpeed < 0.0f && nextY >= target->y - landLine(*target) - 2.0f) {
        spanCount = 0;
        forbidSweep(apexY + kCircleTop, p.y + kCircleBottom, target, true);
        desired = reachableAllowed(p.x, kAimMin, kAimMax, landing);
    }
    input.mouseX = aimFor(game, desired);
}

// The pointer x that brings the player to desiredX in this one frame, as far as the walk allows.
int cAutoPilot::aimFor(const cClimbView& game, float desiredX) const {
    const float x = game.figure->x;
    const float reach = static_cast<float>(kWalkReach - 1);  // a pointer beyond it walks no faster
    float aim = x + (desiredX - x) * gain;
    if (aim > x + reach) aim = x + reach;
    if (aim < x - reach) aim = x - reach;
    if (aim < kAimMin) aim = kAimMin;
    if (aim > kAimMax) aim = kAimMax;
    return static_cast<int>(std::lround(aim));
}
