#include "game/Tow.h"

#include "game/Brick.h"

cTow::cTow() : markerX(0.0f), markerY(0.0f), markerZ(0.0f), level(1) {
    towerSprite.load("data\\graphics\\tow.png");
    markerSprite.load("data\\graphics\\tow_cur.png");
    markerX = 25.0f;
    level = 1;
    markerY = 100.0f;
    markerZ = 0.0f;
}

void cTow::update(float fps) {
    if (!scrollHeld) markerY = markerY + (-speed / 50.0f) / fps;
    towerSprite.x = x;
    towerSprite.y = y;
    towerSprite.z = z;
    markerSprite.x = markerX;
    markerSprite.y = markerY;
    markerSprite.z = markerZ;
}

void cTow::draw() {
    towerSprite.draw();
    markerSprite.draw();
}

void cTow::setMarkerStage(int stage) {
    switch (stage) {
    case 1: markerY = 100.0f; break;
    case 2: markerY = 40.0f; break;
    case 3: markerY = -10.0f; break;
    case 4: markerY = -50.0f; break;
    default: break;
    }
}

int cTow::nextBrickType() const {
    if (markerY < -50.0f) return cBrick::Goal;
    if (level < 5) {
        if (markerY < -10.0f) return cBrick::Narrow;
        if (markerY < 40.0f) return cBrick::Middle;
        return cBrick::Wide;
    }
    if (level < 10) return markerY < 10.0f ? cBrick::Narrow : cBrick::Middle;
    return cBrick::Narrow;
}
