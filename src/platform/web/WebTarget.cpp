// The browser: a WebGL canvas drawn through emscripten's immediate-mode GL,
// pictures decoded by the browser while the page loads, and score.txt in a
// folder that the page keeps in the browser's own storage (IndexedDB).
#include <GL/gl.h>
#include <GLES2/gl2.h>
#include <emscripten.h>

#include <cmath>
#include <cstdio>

#include "app/Target.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

namespace target {

const Uint32 kVideoFlags = SDL_OPENGL;
const char* const kScoreFile = "/saved/score.txt";

// The browser paces frames itself (one per animation frame).
void prepareDisplay() {}

}  // namespace target

// The page's side of pictures and scores (library.js).
extern "C" {
int zarvo_picture_upload(const char* path, int* width, int* height);
void zarvo_scores_saved();
}

void target::scoresSaved() { zarvo_scores_saved(); }

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

// GLU's look-at, which the camera places itself with: emscripten's own builds
// a wrong matrix (it hands its arguments to the matrix library out of order).
extern "C" void gluLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
                          double upX, double upY, double upZ) {
    float f[3] = {float(centreX - eyeX), float(centreY - eyeY), float(centreZ - eyeZ)};
    float up[3] = {float(upX), float(upY), float(upZ)};
    auto normalise = [](float* v) {
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length > 0.0f)
            for (int i = 0; i < 3; ++i) v[i] /= length;
    };
    auto cross = [](const float* a, const float* b, float* out) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    normalise(f);
    float s[3], u[3];
    cross(f, up, s);
    normalise(s);
    cross(s, f, u);
    const GLfloat m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    glMultMatrixf(m);
    glTranslatef(float(-eyeX), float(-eyeY), float(-eyeZ));
}
