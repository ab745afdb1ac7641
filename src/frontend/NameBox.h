// The box in which a player types a name for the high-score table.
#pragma once

#include "frontend/ScoreEntry.h"
#include "media/Sprite.h"
#include "scene/Object.h"

class cBitmapFont;

class cNameBox : public cObject {
public:
    cNameBox();
    ~cNameBox() override;
    cNameBox(const cNameBox&) = delete;
    cNameBox& operator=(const cNameBox&) = delete;

    void update(float fps) override;
    void draw() override;
    bool addChar(char letter);
    void removeChar();

    int length;
    cScoreEntry entry;
    cSprite sprite;
    cBitmapFont* font;
};
