#include "TestKit.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <GL/glu.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "media/TextureManager.h"
#include "scene/Camera.h"

namespace testkit {

namespace {
bool windowOpen = false;
std::vector<std::string> tempDirs;

void removeTempDirs() {
    for (const std::string& dir : tempDirs) {
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", dir.c_str());
    }
}

void ensureCache() {
    if (!cTextureManager::ms_singleton) new cTextureManager();
}
}  // namespace

void openWindow() {
    if (windowOpen) return;
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(1024, 768, 32, SDL_OPENGL)) throw std::runtime_error(SDL_GetError());
    glViewport(0, 0, 1024, 768);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, -1024.0, 768.0, 0.0, 0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    windowOpen = true;
    cTextureManager::setHeadless(false);
    ensureCache();
}

void useHeadlessTextures() {
    cTextureManager::setHeadless(true);
    ensureCache();
}

void beginFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    cCamera camera;
    camera.setDirection(0, 0, 1);
    camera.setUp(0, 1, 0);
    camera.apply();
}

Rgba readPixel(int x, int y) {
    glFinish();
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glReadPixels(x, 767 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

std::string tempDir() {
    char pattern[] = "/tmp/zarvo-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    if (tempDirs.empty()) std::atexit(removeTempDirs);
    tempDirs.push_back(pattern);
    return pattern;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeImage(const std::string& path, int w, int h, Rgba c) {
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd,
                  "convert -size %dx%d 'xc:rgba(%d,%d,%d,%.4f)' -define png:color-type=6 '%s'",
                  w, h, c.r, c.g, c.b, c.a / 255.0, path.c_str());
    if (std::system(cmd) != 0) throw std::runtime_error("convert failed");
}

std::string sourceDir() {
    const char* dir = std::getenv("ZARVO_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string binaryDir() {
    const char* dir = std::getenv("ZARVO_BINARY_DIR");
    return dir ? dir : "build";
}

}  // namespace testkit
