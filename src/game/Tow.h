// The tower gauge at the left: a marker that climbs with the world and answers which brick type comes next.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cTow : public cObject {
public:
    cTow();
    void update(float fps) override;
    void draw() override;
    // Puts the marker at the start of stage 1..4; other stages change nothing.
    void setMarkerStage(int stage);
    // The type of the next regular brick (cBrick::BrickType): Goal once the marker passed the top.
    int nextBrickType() const;

    cSprite towerSprite;
    cSprite markerSprite;
    float markerX;
    float markerY;
    float markerZ;
    int level;
};
