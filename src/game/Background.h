// The backdrop: one picture repeated down a screen-sized quad whose texture window drifts as the player climbs.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cBackground : public cObject {
public:
    cBackground();
    void update(float fps) override;
    void draw() override;

    cSprite sprite;
};
