// The process-wide texture cache: path -> texture, loaded on first request.
#pragma once

#include "media/Singleton.h"

class cTexture;

class cTextureManager : public Singleton<cTextureManager> {
public:
    enum { capacity = 512 };
    cTextureManager();

    // Never null; throws cResFileException* when the picture cannot be loaded.
    cTexture* getTexture(const char* path);

    // Without a display (the autoplay program), pictures are decoded for their
    // size only and nothing is uploaded to GL.
    static void setHeadless(bool headless);
    static bool headless();

    int count;
    cTexture* textures[capacity];
};
