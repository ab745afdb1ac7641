// Placeholder until the real state lands.
#pragma once

#include "app/AppState.h"

class cIntroState : public cAppState {
public:
    int load() override { return 0; }
    int activate(bool) override { return 0; }
    int update(float) override { return 0; }
    int draw() override { return 0; }
    void keyDown(int) override {}
    void mouseDown(int) override {}
};
