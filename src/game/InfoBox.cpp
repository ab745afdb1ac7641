#include "game/InfoBox.h"

#include <cstdio>

#include "media/BitmapFont.h"
#include "media/TextureManager.h"

namespace {
const char* pictureOf(int type) {
    switch (type) {
    case cInfoBox::GameInfo: return "data\\graphics\\gameinfo.png";
    case cInfoBox::GameOver: return "data\\graphics\\over.png";
    case cInfoBox::GameAgain: return "data\\graphics\\gameagain.png";
    case cInfoBox::Pause: return "data\\graphics\\pause.png";
    case cInfoBox::KillBox: return "data\\graphics\\killbox.png";
    default: return nullptr;
    }
}
}  // namespace

cInfoBox::cInfoBox(int type)
    : highlight(nullptr), menuHighlight(nullptr), againHighlight(nullptr), font(nullptr), type(type), hover(0) {
    setNumber(0);
    const char* picture = pictureOf(type);
    if (picture) sprite.load(picture);
    if (type == GameAgain) {
        menuHighlight = cTextureManager::getSingleton().getTexture("data\\graphics\\menuon.png");
        againHighlight = cTextureManager::getSingleton().getTexture("data\\graphics\\znovuon.png");
        highlight = new cSprite();
        highlight->setHalfSize(162.0f, 63.0f);
    } else if (type == KillBox || type == GameOver) {
        font = new cBitmapFont();
        font->load(kFontPicture, kFontGlyphs);
        font->setScale(type == KillBox ? 0.8 : 0.6);
    }
}

cInfoBox::~cInfoBox() {
    delete highlight;
    delete font;
}

void cInfoBox::update(float) {
    sprite.x = x;
    sprite.y = y;
    sprite.z = z;
}

void cInfoBox::setNumber(unsigned int value) {
    if (type == KillBox)
        std::snprintf(number, sizeof number, "%010u", value);
    else
        std::snprintf(number, sizeof number, "Score %u", value);
}

void cInfoBox::setHover(int h) {
    hover = h;
    if (!highlight) return;
    if (h == 1) {
        highlight->setTexture(menuHighlight);
        highlight->x = kMenuButtonX;
        highlight->y = kButtonsY;
    } else if (h == 2) {
        highlight->setTexture(againHighlight);
        highlight->x = kAgainButtonX;
        highlight->y = kButtonsY;
    }
}

void cInfoBox::draw() {
    sprite.draw();
    if (highlight && hover != 0) {
        highlight->draw();
    } else if (type == KillBox) {
        font->setAlign(1, -1);
        font->drawText(number, 280.0f, 0.0f, 5.0f);
    } else if (type == GameOver) {
        // In the free band between "Game over" and the hint below it.
        font->setAlign(0, 0);
        font->drawText(number, 0.0f, 3.0f, 5.0f);
    }
}
