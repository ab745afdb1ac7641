// The desktop's pictures: decoded by SDL_image, converted to the display's
// 32-bit layout and uploaded with GLU's mipmaps.
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <GL/glu.h>

#include "target/Target.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

namespace {
// The display's format with alpha; on a display whose layout is not 32-bit
// blue-green-red-alpha in memory, an explicit conversion to that layout.
SDL_Surface* toBgra(SDL_Surface* loaded) {
    SDL_Surface* converted = SDL_DisplayFormatAlpha(loaded);
    if (converted && converted->format->BytesPerPixel == 4 && converted->format->Rmask == 0x00FF0000 &&
        converted->format->Bmask == 0x000000FF && converted->format->Amask == 0xFF000000)
        return converted;
    if (converted) SDL_FreeSurface(converted);
    SDL_PixelFormat bgra = *loaded->format;
    bgra.palette = nullptr;
    bgra.BitsPerPixel = 32;
    bgra.BytesPerPixel = 4;
    bgra.Rmask = 0x00FF0000;
    bgra.Gmask = 0x0000FF00;
    bgra.Bmask = 0x000000FF;
    bgra.Amask = 0xFF000000;
    bgra.Rshift = 16;
    bgra.Gshift = 8;
    bgra.Bshift = 0;
    bgra.Ashift = 24;
    bgra.Rloss = bgra.Gloss = bgra.Bloss = bgra.Aloss = 0;
    return SDL_ConvertSurface(loaded, &bgra, SDL_SWSURFACE);
}

// Uploads a 32-bit blue-green-red-alpha surface into a new texture, with
// GLU's mipmaps.
void upload(SDL_Surface* surface, cTexture& texture) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, surface->pitch / 4);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, surface->w, surface->h, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                      surface->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    texture.width = surface->w;
    texture.height = surface->h;
    texture.id = name;
}
}  // namespace

bool target::loadPicture(const char* nativePath, cTexture& texture) {
    SDL_Surface* loaded = IMG_Load(nativePath);
    if (!loaded) return false;
    if (cTextureManager::headless()) {
        texture.width = loaded->w;
        texture.height = loaded->h;
    } else {
        SDL_Surface* converted = toBgra(loaded);
        if (converted) {
            upload(converted, texture);
            SDL_FreeSurface(converted);
        }
    }
    SDL_FreeSurface(loaded);
    return true;
}
