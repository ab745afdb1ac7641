// An invisible click area: centre x, y and full hitWidth x hitHeight.
#pragma once

#include "scene/Object.h"

class cMenuButton : public cObject {
public:
    void update(float) override {}
    void draw() override {}
};
