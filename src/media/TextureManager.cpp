#include "media/TextureManager.h"

#include <cstring>
#include <new>

#include "media/ResFileException.h"
#include "media/Texture.h"

namespace {
bool headlessMode = false;
}

cTextureManager::cTextureManager() : count(0) {
    for (cTexture*& texture : textures) texture = nullptr;
}

void cTextureManager::setHeadless(bool headless) { headlessMode = headless; }
bool cTextureManager::headless() { return headlessMode; }

cTexture* cTextureManager::getTexture(const char* path) {
    for (int i = 0; i < count; ++i)
        if (std::strcmp(textures[i]->path, path) == 0) return textures[i];
    // A full table is reported like a missing file rather than overrun.
    if (count >= capacity) throw new cResFileException(path);
    cTexture* texture = new (std::nothrow) cTexture();
    if (!texture || texture->loadFromFile(path) != 0) {
        delete texture;
        throw new cResFileException(path);
    }
    textures[count++] = texture;
    return texture;
}
