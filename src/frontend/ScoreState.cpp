#include "frontend/ScoreState.h"

#include <SDL_opengl.h>

#include <cstdio>

#include "app/Application.h"
#include "app/Platform.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "media/BitmapFont.h"
#include "media/Sprite.h"
#include "scene/Camera.h"
#include "scene/Cursor.h"

cScoreState::cScoreState(cMenuState* owner)
    : menu(owner), camera(new cCamera()), background(nullptr), caption(nullptr), font(nullptr),
      cursor(nullptr) {
    camera->setDirection(0, 0, 1);
    camera->setUp(0, 1, 0);
}

cScoreState::~cScoreState() {
    delete cursor;
    delete font;
    delete caption;
    delete background;
    delete camera;
}

int cScoreState::load() {
    font = new cBitmapFont();
    font->load(kFontPicture, kFontGlyphs);
    font->setScale(0.75);

    background = new cSprite();
    background->loadScreen("data\\graphics\\score.jpg");
    caption = new cSprite();
    caption->loadAt("data\\graphics\\score_caption.png", 92, 29, 512, 58, 10);

    cursor = new cCursor(0);
    return 0;
}

int cScoreState::activate(bool) { return 0; }

int cScoreState::update(float fps) {
    int x = 0;
    int y = 0;
    platform().getMouseState(&x, &y);
    cursor->x = static_cast<float>(x);
    cursor->y = static_cast<float>(y);
    cursor->z = 10.0f;
    cursor->update(fps);
    return 0;
}

int cScoreState::draw() {
    camera->apply();
    glPushMatrix();
    background->draw();
    glPopMatrix();
    glPushMatrix();
    caption->draw();
    glPopMatrix();
    drawRows();
    glPushMatrix();
    cursor->draw();
    glPopMatrix();
    return 0;
}

void cScoreState::drawRows() {
    const cHighScoreTable* table = g_app ? g_app->highScores : nullptr;
    if (!table) return;
    for (int row = 0; row < rowCount; ++row) drawRow(row, table->entries[row]);
}

void cScoreState::drawRow(int row, const cScoreEntry& entry) {
    if (entry.name[0] == '\0') return;
    const float y = rowY(row);
    font->setAlign(-1, -1);
    font->drawText(entry.name, 138.0f, y, 10.0f);
    char text[16];
    formatScore(entry.score, text, sizeof text);
    font->setAlign(1, -1);
    font->drawText(text, 896.0f, y, 10.0f);
}

void cScoreState::formatScore(unsigned int score, char* out, unsigned size) {
    std::snprintf(out, size, "%u", score);
}

float cScoreState::rowY(int row) { return 128.0f + 53.0f * static_cast<float>(row); }

void cScoreState::keyDown(int) {}

void cScoreState::mouseDown(int, int, int) { menu->subScreen = cMenuState::mainMenu; }
