// The credits screen hosted by the menu: one picture with a lit return corner.
#pragma once

#include "app/AppState.h"

class cCamera;
class cCursor;
class cMenuState;
class cSprite;

class cAutorsState : public cAppState {
public:
    explicit cAutorsState(cMenuState* menu);
    ~cAutorsState() override;
    cAutorsState(const cAutorsState&) = delete;
    cAutorsState& operator=(const cAutorsState&) = delete;

    int load() override;
    int activate(bool on) override;
    int update(float fps) override;
    int draw() override;
    void keyDown(int key) override;
    void mouseDown(int button, int x, int y) override;

    // Whether a pointer position lies in the top right-hand return corner.
    static bool inReturnArea(int x, int y);

    cMenuState* menu;
    cCamera* camera;
    cSprite* background;
    cSprite* returnHighlight;
    int mouseX;
    int mouseY;
    cCursor* cursor;
};
