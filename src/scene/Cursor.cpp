#include "scene/Cursor.h"

cCursor::cCursor(int look) {
    sprite.load(look == 1 ? "data\\graphics\\mouse.png" : "data\\graphics\\cursor.png");
}

void cCursor::update(float) {
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

void cCursor::draw() { sprite.draw(); }
