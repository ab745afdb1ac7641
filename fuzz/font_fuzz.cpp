// Measures and draws arbitrary text with the bitmap font.  With a display, the
// text is drawn into a real GL context opened once; without one, the GL calls
// have no context and do nothing, and only the font's own logic is exercised.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/Application.h"
#include "media/BitmapFont.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

namespace {

cBitmapFont* g_font = nullptr;
bool g_haveGl = false;
const float kCellW = 24.0f, kCellH = 32.0f;

void fail(const char* what) {
    std::fprintf(stderr, "font_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (std::getenv("DISPLAY")) {  // the game's own display set-up, in a small window
        cApplication* app = new cApplication(0, nullptr);
        app->width = 320;
        app->height = 240;
        app->videoFlags = SDL_OPENGL;
        app->openDisplay();
        g_haveGl = SDL_GetVideoSurface() != nullptr;
    }
    // A glyph strip known to the cache without a file: one cell per glyph.
    cTextureManager::setHeadless(true);
    cTextureManager* cache = new cTextureManager();
    cTexture* strip = new cTexture();
    const unsigned n = static_cast<unsigned>(std::strlen(kFontGlyphs));
    strip->width = static_cast<int>(kCellW * n);
    strip->height = static_cast<int>(kCellH);
    std::strcpy(strip->path, "fuzz\\font.png");
    cache->textures[cache->count++] = strip;
    g_font = new cBitmapFont();
    g_font->load("fuzz\\font.png", kFontGlyphs);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // Byte 0: scale, byte 1: alignment; the rest is the text.
    const double scale = 0.25 + (data[0] % 16) * 0.25;
    const int alignX = data[1] % 3 - 1, alignY = (data[1] / 3) % 3 - 1;
    g_font->setScale(scale);
    g_font->setAlign(alignX, alignY);
    std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const char* s = text.c_str();  // stops at the first NUL, as the game's strings do

    float w = -1.0f, h = -1.0f;
    g_font->measure(s, &w, &h);
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0.0f || h < 0.0f) fail("measure gave a bad size");
    size_t lines = 0, longest = 0, run = 0;
    for (const char* c = s; *c; ++c) {
        if (*c == '\n') {
            ++lines;
            run = 0;
        } else if (++run > longest) {
            longest = run;
        }
    }
    if (std::fabs(h - lines * kCellH) > 0.5f + lines * 1e-3f) fail("height is not one cell per line break");
    const double expectW = longest * kCellW * scale;
    if (std::fabs(w - expectW) > 0.5 + expectW * 1e-4) fail("width is not the longest line");

    GLint depthBefore = 0, depthAfter = 0;
    if (g_haveGl) glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    g_font->drawText(s, static_cast<float>(data[0]), static_cast<float>(data[1]), 1.0f);
    if (g_haveGl) {
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
        if (depthBefore != depthAfter) fail("drawText left the matrix stack changed");
        if (glGetError() != GL_NO_ERROR) fail("drawText raised a GL error");
        static unsigned frames = 0;
        if (++frames % 64 == 0) {
            glClear(GL_COLOR_BUFFER_BIT);
            SDL_GL_SwapBuffers();
        }
    }
    return 0;
}
