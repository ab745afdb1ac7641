// A platform of the tower: its picture by type, an optional random ornament, its contact box and its scrolling.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cBrick : public cObject {
public:
    // Picture types; 0 is the floor brick. Goal, and any type outside 0..3, gives the goal look.
    enum BrickType { Floor = 0, Wide = 1, Middle = 2, Narrow = 3, Goal = 4 };

    explicit cBrick(int type);
    void update(float fps) override;
    void draw() override;

    cSprite body;
    cSprite decoration;

private:
    void shapeBody(const char* picture, float halfWidth, float halfHeight);
    void addOrnament(int spread);
};
