#include "game/Witch.h"

namespace {
const float kFlightSpeed = 400.0f;
}

cWitch::cWitch() { sprite.load("data\\graphics\\witch.png"); }

void cWitch::update(float fps) {
    x = x + kFlightSpeed / fps;
    if (!scrollHeld) y = y + speed / fps;
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

void cWitch::draw() { sprite.draw(); }
