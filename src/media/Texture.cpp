#include "media/Texture.h"

#include <SDL_opengl.h>

#include <cstring>

#include "target/Target.h"

void toNativePath(const char* path, char* out, unsigned size) {
    unsigned i = 0;
    for (; path[i] && i + 1 < size; ++i) out[i] = path[i] == '\\' ? '/' : path[i];
    out[i] = '\0';
}

cTexture::cTexture() : id(0), width(0), height(0) { path[0] = '\0'; }

int cTexture::loadFromFile(const char* filePath) {
    char native[1024];
    toNativePath(filePath, native, sizeof native);
    if (!target::loadPicture(native, *this)) return -1;
    std::strncpy(path, filePath, sizeof path - 1);
    path[sizeof path - 1] = '\0';
    return 0;
}

void cTexture::bind() { glBindTexture(GL_TEXTURE_2D, id); }
