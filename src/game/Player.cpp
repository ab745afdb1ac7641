#include "game/Player.h"

#include "game/Climb.h"

namespace {
const float kFrameWidth = 1.0f / 7.0f;
const float kScrollLine = 300.0f;
const float kPoseSpeed = 100.0f;
}  // namespace

cPlayer::cPlayer() {
    sprite.load("data\\graphics\\anim_player.png");
    speed = 0.0f;
    scrollHeld = false;
    radius = 0.0f;
    onGround = false;
    targetX = 0;
    sprite.halfWidth = 36.0f;
    sprite.halfHeight = 51.0f;
    sprite.du = kFrameWidth;
    sprite.dv = 0.5f;
    sprite.u = 4.0f / 7.0f;
}

void cPlayer::walkTowardTarget(float target, float fps) {
    int d = static_cast<int>(x - target);
    if (d < -climb::kWalkReach) d = -climb::kWalkReach;
    if (d > climb::kWalkReach) d = climb::kWalkReach;
    x = x + -climb::kWalkRate * static_cast<float>(d) / fps;
}

void cPlayer::stepVertically(float fps) {
    if (speed / fps < -5.0f) onGround = false;
    if (speed < 0.0f || y > kScrollLine) {
        scrollHeld = true;
        y = y + (moveFactor * (-speed)) / fps;
    } else {
        scrollHeld = false;
    }
}

void cPlayer::chooseFacing(float target) {
    if (target > x) sprite.v = 0.5f;
    else if (target < x) sprite.v = 0.0f;
}

void cPlayer::chooseFrame() {
    if (onGround) {
        int m = static_cast<int>(x / 45.0f) % 8;
        if (m > 3) m -= 4;
        sprite.u = static_cast<float>(m) / 7.0f;
    } else if (speed > kPoseSpeed) {
        sprite.u = 5.0f / 7.0f;
    } else if (speed < -kPoseSpeed) {
        sprite.u = 6.0f / 7.0f;
    } else {
        sprite.u = 4.0f / 7.0f;
    }
}

void cPlayer::update(float fps) {
    const float target = static_cast<float>(targetX);
    walkTowardTarget(target, fps);
    stepVertically(fps);
    chooseFacing(target);
    chooseFrame();
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

void cPlayer::draw() { sprite.draw(); }
