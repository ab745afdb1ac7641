#include "media/BitmapFont.h"

#include <SDL_opengl.h>

#include <cstring>

#include "media/Sprite.h"
#include "media/Texture.h"

const char* const kFontPicture = "data\\graphics\\fontfull.png";
const char* const kFontGlyphs = "ABCDEFGHIJKLMNOPQRSTUVWXYZcelorsv0123456789";

cBitmapFont::cBitmapFont()
    : glyphs(nullptr), glyphSprite(new cSprite()), glyphWidth(0.0f), glyphHeight(0.0f), scale(1.0),
      alignX(-1), alignY(-1) {}

cBitmapFont::~cBitmapFont() { delete glyphSprite; }

int cBitmapFont::load(const char* path, const char* glyphString) {
    glyphSprite->load(path);
    const unsigned n = static_cast<unsigned>(std::strlen(glyphString));
    glyphWidth = n ? static_cast<float>(static_cast<unsigned>(glyphSprite->texture->width) / n) : 0.0f;
    glyphHeight = static_cast<float>(glyphSprite->texture->height);
    glyphSprite->setHalfSize(glyphWidth * 0.5f, glyphHeight * 0.5f);
    glyphSprite->setWindowSize(n ? 1.0f / n : 1.0f, 1.0f);
    glyphs = glyphString;
    return 0;
}

void cBitmapFont::setScale(double newScale) { scale = newScale; }

void cBitmapFont::setAlign(int newAlignX, int newAlignY) {
    alignX = newAlignX;
    alignY = newAlignY;
}

void cBitmapFont::measure(const char* text, float* width, float* height) const {
    float w = 0.0f;
    float m = 0.0f;
    float h = 0.0f;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') {
            h += glyphHeight;
            w = 0.0f;
            continue;
        }
        w = static_cast<float>(w + glyphWidth * scale);
        if (w > m) m = w;
    }
    *width = m;
    *height = h;
}

void cBitmapFont::drawText(const char* text, float x, float y, float z) {
    if (!glyphs) return;
    float w = 0.0f;
    float h = 0.0f;
    measure(text, &w, &h);
    const float hw = w * 0.5f;
    const float hh = h * 0.5f;
    const float x0 = x - hw - alignX * hw;
    float px = x0;
    float py = y - hh - alignY * hh;
    const float n = static_cast<float>(std::strlen(glyphs));
    for (const char* c = text; *c; ++c) {
        const char* cell = std::strchr(glyphs, *c);
        if (cell && *c != '\0') {
            glyphSprite->setWindowOrigin(static_cast<float>(cell - glyphs) / n, 0.0f);
            glyphSprite->x = px;
            glyphSprite->y = py;
            glyphSprite->z = z;
            glPushMatrix();
            glyphSprite->draw();
            glPopMatrix();
            px = static_cast<float>(px + glyphWidth * scale);
        } else if (*c == '\n') {
            py += glyphHeight;
            px = x0;
        } else {
            // Characters without a cell advance by a whole, unscaled cell.
            px += glyphWidth;
        }
    }
}
