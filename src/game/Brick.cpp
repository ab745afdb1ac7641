#include "game/Brick.h"

#include <cstdlib>

#include "game/Climb.h"
#include "game/Random.h"

namespace {
const char* const kOrnaments[8] = {
    "data\\graphics\\mus1.png",  "data\\graphics\\mus2.png",  "data\\graphics\\mus3.png",
    "data\\graphics\\mus4.png",  "data\\graphics\\pill1.png", "data\\graphics\\pill2.png",
    "data\\graphics\\flow1.png", "data\\graphics\\flow2.png",
};
}  // namespace

cBrick::cBrick(int type) {
    switch (type) {
    case Floor:
        shapeBody("data\\graphics\\bottom.png", 497.0f, 54.5f);
        break;
    case Wide:
        shapeBody("data\\graphics\\brick2.png", 131.0f, 51.5f);
        addOrnament(200);
        break;
    case Narrow:
        shapeBody("data\\graphics\\brick3.png", 77.0f, 45.0f);
        break;
    case Middle:
        shapeBody("data\\graphics\\brick4.png", 103.5f, 49.5f);
        addOrnament(150);
        break;
    default:
        shapeBody("data\\graphics\\brick1.png", 133.0f, 50.5f);
        break;
    }
    speed = 0.0f;
}

// The contact box is the picture less the player's radius at each side, 45 up and down.
void cBrick::shapeBody(const char* picture, float halfWidth, float halfHeight) {
    body.load(picture);
    body.setHalfSize(halfWidth, halfHeight);
    hitWidth = halfWidth - climb::kPlayerRadius;
    hitHeight = 45.0f;
}

// The ornament stands 50 above the centre, offset by -spread/2 .. spread/2-1.
void cBrick::addOrnament(int spread) {
    decoration.load(kOrnaments[cRandom::next() % 8]);
    decoration.x = static_cast<float>(cRandom::next() % spread - spread / 2);
    decoration.y = -50.0f;
}

void cBrick::update(float fps) {
    if (!scrollHeld) y = y + speed / fps;
    body.x = x;
    body.y = y;
    body.z = z;
}

void cBrick::draw() {
    body.draw();
    decoration.draw();
}
