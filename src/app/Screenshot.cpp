#include "app/Screenshot.h"

#include <SDL_opengl.h>

#include <cstdio>
#include <vector>

bool saveScreenshot(const std::string& path) {
    const int width = 1024, height = 768;
    std::vector<unsigned char> pixels(width * height * 3);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row) std::fwrite(&pixels[row * width * 3], 1, width * 3, out);
    return std::fclose(out) == 0;
}
