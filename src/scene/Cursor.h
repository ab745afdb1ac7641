// A pointer picture drawn by the program itself: the mouse pointer, or (look 1) the game's aim marker.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cCursor : public cObject {
public:
    explicit cCursor(int look);
    void update(float fps) override;
    void draw() override;

    cSprite sprite;
};
