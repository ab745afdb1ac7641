#include "frontend/NameBox.h"

#include <cstdio>
#include <cstring>

#include "media/BitmapFont.h"

namespace {
const int kLast = 6;  // index of the seventh and last name character
}  // namespace

cNameBox::cNameBox() : length(0), font(nullptr) {
    sprite.load("data\\graphics\\highscore.png");
    length = 0;
    std::memcpy(entry.name, "       ", 8);
    entry.score = 0;
    font = new cBitmapFont();
    font->load(kFontPicture, kFontGlyphs);
}

cNameBox::~cNameBox() {
    delete font;
}

void cNameBox::update(float) {
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

bool cNameBox::addChar(char letter) {
    entry.name[length] = letter;
    if (length < kLast) ++length;
    return true;
}

void cNameBox::removeChar() {
    if (entry.name[kLast] != ' ') {
        entry.name[length] = ' ';
    } else if (length > 0) {
        entry.name[length - 1] = ' ';
        --length;
    }
}

void cNameBox::draw() {
    char text[8];
    std::memcpy(text, entry.name, sizeof text);
    if (text[kLast] == ' ') text[length] = '_';
    sprite.draw();
    font->setScale(0.75);
    font->setAlign(-1, 0);
    font->drawText(text, -145.0f, 55.0f, -1.0f);
    // The score being filed, in the free space right of the name field.
    char score[18];
    std::snprintf(score, sizeof score, "Score\n%u", entry.score);
    font->setScale(0.5);
    font->setAlign(0, 0);
    font->drawText(score, 115.0f, 55.0f, -1.0f);
}
