// The browser's pictures: decoded by the browser while the page loaded
// (pre.js) and uploaded from there; without a page, only their sizes.
#include <GL/gl.h>
#include <GLES2/gl2.h>

#include <cstdio>

#include "target/Target.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

// The page's side of pictures (library.js).
extern "C" int zarvo_picture_upload(const char* path, int* width, int* height);

namespace {

int bigEndian(const unsigned char* p, int bytes) {
    int value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
    return value;
}

// A PNG's or a JPEG's size from its header, for a texture cache that keeps
// sizes only (the autoplay program, which runs without a page).
bool readPictureSize(const char* path, int& width, int& height) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char head[24];
    bool found = false;
    if (std::fread(head, 1, sizeof head, file) == sizeof head) {
        if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
            width = bigEndian(head + 16, 4), height = bigEndian(head + 20, 4), found = true;
        } else if (head[0] == 0xFF && head[1] == 0xD8) {
            // Walk the JPEG's segments to the frame header (SOF0 to SOF15 but
            // for the table segments C4, C8 and CC).
            std::fseek(file, 2, SEEK_SET);
            unsigned char segment[9];
            while (!found && std::fread(segment, 1, 4, file) == 4 && segment[0] == 0xFF) {
                const int marker = segment[1], length = bigEndian(segment + 2, 2);
                if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                    if (std::fread(segment + 4, 1, 5, file) != 5) break;
                    height = bigEndian(segment + 5, 2), width = bigEndian(segment + 7, 2), found = true;
                } else if (length < 2 || std::fseek(file, length - 2, SEEK_CUR) != 0) {
                    break;
                }
            }
        }
    }
    std::fclose(file);
    return found;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

bool target::loadPicture(const char* nativePath, cTexture& texture) {
    if (cTextureManager::headless()) return readPictureSize(nativePath, texture.width, texture.height);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    int width = 0, height = 0;
    if (!zarvo_picture_upload(nativePath, &width, &height)) {
        glDeleteTextures(1, &name);
        return false;
    }
    // WebGL mipmaps only pictures whose sides are powers of two; the others
    // are drawn at their own size anyway, and filtered linearly.
    if (isPowerOfTwo(width) && isPowerOfTwo(height)) {
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    texture.id = name;
    texture.width = width;
    texture.height = height;
    return true;
}
