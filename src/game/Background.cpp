#include "game/Background.h"

cBackground::cBackground() {
    sprite.load("data\\graphics\\back.png");
    sprite.setHalfSize(512.0f, 520.0f);
    sprite.setWindowSize(1.0f, 5.0f);
    speed = 0.0f;
}

void cBackground::update(float fps) {
    if (!scrollHeld) sprite.v = sprite.v + (speed / -220.0f) / fps;
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

void cBackground::draw() { sprite.draw(); }
