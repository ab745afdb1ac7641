#include "frontend/AutorsState.h"

#include <SDL_opengl.h>

#include "app/Platform.h"
#include "frontend/MenuState.h"
#include "media/Sprite.h"
#include "scene/Camera.h"
#include "scene/Cursor.h"

// Until the first update the pointer is taken to be off screen, outside the
// return corner, so a click that arrives before it does nothing.
cAutorsState::cAutorsState(cMenuState* owner)
    : menu(owner), camera(new cCamera()), background(nullptr), returnHighlight(nullptr),
      mouseX(-1), mouseY(-1), cursor(nullptr) {
    camera->setDirection(0, 0, 1);
    camera->setUp(0, 1, 0);
}

cAutorsState::~cAutorsState() {
    delete cursor;
    delete returnHighlight;
    delete background;
    delete camera;
}

int cAutorsState::load() {
    background = new cSprite();
    background->loadScreen("data\\graphics\\credits.png");
    returnHighlight = new cSprite();
    returnHighlight->loadAt("data\\graphics\\cred.png", 128, 64, 891, 67, 10);

    cursor = new cCursor(0);
    return 0;
}

int cAutorsState::activate(bool) { return 0; }

int cAutorsState::update(float fps) {
    platform().getMouseState(&mouseX, &mouseY);
    cursor->x = static_cast<float>(mouseX);
    cursor->y = static_cast<float>(mouseY);
    cursor->z = 10.0f;
    cursor->update(fps);
    return 0;
}

int cAutorsState::draw() {
    camera->apply();
    glPushMatrix();
    background->draw();
    glPopMatrix();
    if (inReturnArea(mouseX, mouseY)) {
        glPushMatrix();
        returnHighlight->draw();
        glPopMatrix();
    }
    glPushMatrix();
    cursor->draw();
    glPopMatrix();
    return 0;
}

void cAutorsState::keyDown(int) {}

void cAutorsState::mouseDown(int, int x, int y) {
    if (inReturnArea(x, y)) menu->subScreen = cMenuState::mainMenu;
}

bool cAutorsState::inReturnArea(int x, int y) { return x > 768 && y < 128; }
