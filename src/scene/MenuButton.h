// An invisible click area: centre x, y and full hitWidth x hitHeight.
#pragma once

#include "scene/Object.h"

class cMenuButton : public cObject {
public:
    // A new button centred on (x, y) at depth z, owned by the caller.
    static cMenuButton* make(float x, float y, float z, float width, float height) {
        cMenuButton* button = new cMenuButton();
        button->x = x;
        button->y = y;
        button->z = z;
        button->hitWidth = width;
        button->hitHeight = height;
        return button;
    }

    void update(float) override {}
    void draw() override {}
};
