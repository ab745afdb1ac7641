// One picture from data/graphics, uploaded once as an OpenGL texture.
#pragma once

#include <SDL.h>

class cTexture {
public:
    cTexture();
    int loadFromFile(const char* path);
    void bind();

    unsigned int id;
    int width;
    int height;
    char path[512];
};

// Game paths are written with backslashes; this opens them with '/'.
void toNativePath(const char* path, char* out, unsigned size);
