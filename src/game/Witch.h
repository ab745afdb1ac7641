// The witch that flies across the screen once the goal brick of a level is reached.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cWitch : public cObject {
public:
    cWitch();
    void update(float fps) override;
    void draw() override;

    cSprite sprite;
};
