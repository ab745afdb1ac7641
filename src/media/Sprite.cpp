#include "media/Sprite.h"

#include <SDL_opengl.h>

#include "media/ResFileException.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

cSprite::cSprite()
    : halfWidth(1.0f), halfHeight(1.0f), u(0.0f), v(0.0f), du(1.0f), dv(1.0f), texture(nullptr),
      alpha(1.0f), x(0.0f), y(0.0f), z(0.0f) {}

int cSprite::load(const char* path) {
    cTexture* loaded = cTextureManager::getSingleton().getTexture(path);
    if (!loaded) throw new cResFileException(path);
    setTexture(loaded);
    return 0;
}

void cSprite::loadAt(const char* path, float halfWidth, float halfHeight, float x, float y, float z) {
    load(path);
    setHalfSize(halfWidth, halfHeight);
    this->x = x;
    this->y = y;
    this->z = z;
}

void cSprite::loadScreen(const char* path) { loadAt(path, 512.0f, 384.0f, 512.0f, 384.0f, 10.0f); }

void cSprite::setTexture(cTexture* newTexture) {
    texture = newTexture;
    halfWidth = static_cast<float>(texture->width / 2);
    halfHeight = static_cast<float>(texture->height / 2);
}

void cSprite::setWindowOrigin(float newU, float newV) {
    u = newU;
    v = newV;
}

void cSprite::setWindowSize(float newDu, float newDv) {
    du = newDu;
    dv = newDv;
}

void cSprite::setHalfSize(float newHalfWidth, float newHalfHeight) {
    halfWidth = newHalfWidth;
    halfHeight = newHalfHeight;
}

void cSprite::setAlpha(float newAlpha) { alpha = newAlpha; }

void cSprite::draw() {
    if (texture) texture->bind();
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glTranslatef(x, y, z);
    const float right = u + du;
    const float bottom = v + dv;
    glBegin(GL_QUADS);
    glTexCoord2f(u, v);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(right, v);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(right, bottom);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2f(u, bottom);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glEnd();
}
