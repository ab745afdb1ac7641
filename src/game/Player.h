// The climbing figure: walks toward a target x, moves itself or lets the world scroll, and picks its animation frame.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cPlayer : public cObject {
public:
    cPlayer();
    void update(float fps) override;
    void draw() override;

    cSprite sprite;
    float radius;    // contact circle radius used by the landing rules
    bool onGround;   // standing on a brick: running frames, jumps allowed
    int targetX;     // the x the figure walks toward

private:
    void walkTowardTarget(float target, float fps);
    void stepVertically(float fps);
    void chooseFacing(float target);
    void chooseFrame();
};
