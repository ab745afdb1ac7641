#include "frontend/IntroState.h"

#include <SDL_opengl.h>

#include "app/Application.h"
#include "media/Music.h"
#include "scene/Camera.h"

namespace {
const float kFadeRate = 0.8f;    // cross-fade progress per second
const float kFirstFade = 13.0f;  // seconds
const float kSecondFade = 24.0f;
const float kEnd = 34.0f;
}  // namespace

cIntroState::cIntroState()
    : camera(new cCamera()), music(nullptr), slideClock(0.0f), shownSlide(0), incomingSlide(0),
      fadeLevel(0.0f), slidePhase(0) {
    camera->setDirection(0, 0, 1);
    camera->setUp(0, 1, 0);
}

cIntroState::~cIntroState() {
    if (music) music->release();
    delete music;
    delete camera;
}

int cIntroState::load() {
    slides[0].loadScreen("data\\graphics\\zarvo2.jpg");
    slides[1].loadScreen("data\\graphics\\zarvo3.jpg");
    slides[2].loadScreen("data\\graphics\\zarvo4.jpg");
    music = new cMusic();
    music->load("data\\sound\\intro.ogg");
    return 0;
}

int cIntroState::activate(bool on) {
    if (on) {
        restart();
        music->play();
        for (cSprite& slide : slides) slide.setAlpha(1.0f);
    } else {
        music->fadeOut(50);
    }
    return 0;
}

void cIntroState::restart() {
    incomingSlide = 0;
    slideClock = 0.0f;
    shownSlide = 0;
    fadeLevel = 0.0f;
    slidePhase = 0;
}

int cIntroState::phaseAt(float clock) {
    if (clock >= kEnd) return 3;
    if (clock >= kSecondFade) return 2;
    if (clock >= kFirstFade) return 1;
    return 0;
}

int cIntroState::update(float fps) {
    const float dt = 1.0f / fps;
    slideClock += dt;
    const int phase = phaseAt(slideClock);
    if (phase != slidePhase) fadeLevel = 0.0f;
    if (phase > 0) advanceFade(dt);
    slidePhase = phase;
    showPhase(phase);
    return 0;
}

void cIntroState::advanceFade(float dt) {
    fadeLevel += kFadeRate * dt;
    if (fadeLevel < 1.0f) return;
    fadeLevel = 1.0f;
    shownSlide = incomingSlide;
    incomingSlide = 0;
}

void cIntroState::showPhase(int phase) {
    if (phase == 0) return;
    if (phase == 3) {
        g_app->requestedState = kGameState;
        return;
    }
    incomingSlide = phase;
    slides[shownSlide].setAlpha(1.0f - fadeLevel);
    slides[incomingSlide].setAlpha(fadeLevel);
}

int cIntroState::draw() {
    camera->apply();
    drawSlide(shownSlide);
    if (incomingSlide != 0) drawSlide(incomingSlide);
    return 0;
}

void cIntroState::drawSlide(int index) {
    glPushMatrix();
    slides[index].draw();
    glPopMatrix();
}

void cIntroState::keyDown(int) { skip(); }

void cIntroState::mouseDown(int, int, int) { skip(); }

void cIntroState::skip() { g_app->requestedState = kGameState; }
