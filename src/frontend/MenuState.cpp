#include "frontend/MenuState.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstring>

#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/AutorsState.h"
#include "frontend/ScoreState.h"
#include "media/Music.h"
#include "media/Sprite.h"
#include "media/TextureManager.h"
#include "scene/Camera.h"
#include "scene/Cursor.h"
#include "scene/Geometry.h"
#include "scene/MenuButton.h"

namespace {

void pushQuitEvent() {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

}  // namespace

cMenuState::cMenuState()
    : camera(new cCamera()), mouseX(-1), mouseY(-1), subScreen(mainMenu), music(nullptr),
      background(nullptr), cursor(nullptr), quitButton(nullptr), creditsButton(nullptr),
      scoresButton(nullptr), startButton(nullptr), highlight(nullptr), startHighlight(nullptr),
      scoresHighlight(nullptr), creditsHighlight(nullptr), quitHighlight(nullptr),
      scoreScreen(nullptr), creditsScreen(nullptr), idleSince(0) {
    camera->setDirection(0, 0, 1);
    camera->setUp(0, 1, 0);
}

cMenuState::~cMenuState() {
    delete creditsScreen;
    delete scoreScreen;
    delete highlight;
    delete startButton;
    delete scoresButton;
    delete creditsButton;
    delete quitButton;
    delete cursor;
    delete background;
    if (music) music->release();
    delete music;
    delete camera;
}

int cMenuState::load() {
    background = new cSprite();
    background->loadScreen("data\\graphics\\menu.jpg");

    highlight = new cSprite();
    cTextureManager& cache = cTextureManager::getSingleton();
    startHighlight = cache.getTexture("data\\graphics\\menu1.png");
    scoresHighlight = cache.getTexture("data\\graphics\\menu2.png");
    creditsHighlight = cache.getTexture("data\\graphics\\menu3.png");
    quitHighlight = cache.getTexture("data\\graphics\\menu4.png");

    loadButtons();

    music = new cMusic();
    music->load("data\\sound\\menu.ogg");

    scoreScreen = new cScoreState(this);
    scoreScreen->load();
    creditsScreen = new cAutorsState(this);
    creditsScreen->load();

    cursor = new cCursor(0);
    return 0;
}

void cMenuState::loadButtons() {
    quitButton = cMenuButton::make(836.0f, 543.0f, 10.0f, 210.0f, 64.0f);
    creditsButton = cMenuButton::make(772.0f, 466.0f, 10.0f, 207.0f, 70.0f);
    scoresButton = cMenuButton::make(890.0f, 394.0f, 10.0f, 200.0f, 66.0f);
    startButton = cMenuButton::make(838.5f, 322.5f, 10.0f, 129.0f, 65.0f);
}

int cMenuState::activate(bool on) {
    idleSince = platform().getTicks();
    if (on) {
        music->setVolume(50);
        music->fadeIn(2000);
    } else {
        music->fadeOut(50);
    }
    return 0;
}

int cMenuState::update(float fps) {
    switch (subScreen) {
    case mainMenu: updateMainMenu(fps); break;
    case scoreScreenShown: scoreScreen->update(fps); break;
    case creditsScreenShown: creditsScreen->update(fps); break;
    default: break;
    }
    return 0;
}

void cMenuState::readPointer() { platform().getMouseState(&mouseX, &mouseY); }

void cMenuState::updateMainMenu(float fps) {
    const int lastX = mouseX, lastY = mouseY;
    readPointer();
    // Measured on the clock, not summed from the frames' rates: a frame too
    // short for the clock to see would count for nothing.
    const Uint32 now = platform().getTicks();
    if (mouseX != lastX || mouseY != lastY) idleSince = now;
    if (now - idleSince >= kIdleMs && g_app) g_app->requestedState = kWatchState;
    cursor->x = static_cast<float>(mouseX);
    cursor->y = static_cast<float>(mouseY);
    cursor->z = 20.0f;
    cursor->update(fps);
}

int cMenuState::draw() {
    switch (subScreen) {
    case mainMenu: drawMainMenu(); break;
    case scoreScreenShown: scoreScreen->draw(); break;
    case creditsScreenShown: creditsScreen->draw(); break;
    default: break;
    }
    return 0;
}

void cMenuState::drawMainMenu() {
    camera->apply();
    glPushMatrix();
    background->draw();
    glPopMatrix();
    glPushMatrix();
    drawHighlight();
    glPopMatrix();
    glPushMatrix();
    cursor->draw();
    glPopMatrix();
}

void cMenuState::drawHighlight() {
    cMenuButton* const buttons[4] = {startButton, scoresButton, creditsButton, quitButton};
    cTexture* const pictures[4] = {startHighlight, scoresHighlight, creditsHighlight, quitHighlight};
    for (int i = 0; i < 4; ++i) {
        if (!hitTest(*buttons[i], mouseX, mouseY)) continue;
        highlight->x = buttons[i]->x;
        highlight->y = buttons[i]->y;
        highlight->z = buttons[i]->z;
        highlight->setTexture(pictures[i]);
        highlight->draw();
        return;
    }
}

void cMenuState::keyDown(int) { idleSince = platform().getTicks(); }

void cMenuState::mouseDown(int button, int x, int y) {
    idleSince = platform().getTicks();
    switch (subScreen) {
    case mainMenu: clickMainMenu(button, x, y); break;
    case scoreScreenShown: scoreScreen->mouseDown(button, x, y); break;
    case creditsScreenShown: creditsScreen->mouseDown(button, x, y); break;
    default: break;
    }
}

void cMenuState::clickMainMenu(int button, int x, int y) {
    mouseX = x;
    mouseY = y;
    if ((button & 1) == 0) return;
    if (hitTest(*quitButton, mouseX, mouseY)) pushQuitEvent();
    if (hitTest(*startButton, mouseX, mouseY)) g_app->requestedState = kIntroState;
    if (hitTest(*creditsButton, mouseX, mouseY)) subScreen = creditsScreenShown;
    if (hitTest(*scoresButton, mouseX, mouseY)) subScreen = scoreScreenShown;
}
