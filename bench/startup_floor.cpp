// The least a program must do to show the game's first menu frame: open the
// display and the sound through the game's own set-up, read and upload the
// same pictures and read the same sounds the game reads before its first
// frame, then clear and swap once.  bench/run times it against the real game.
//
//   startup_floor MANIFEST   (lines "img|mus|wav <path>", paths relative to cwd)
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Application.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_floor MANIFEST\n");
        return 2;
    }
    std::vector<std::pair<std::string, std::string>> files;
    if (std::FILE* in = std::fopen(argv[1], "r")) {
        char kind[8], path[1024];
        while (std::fscanf(in, "%7s %1023[^\n]", kind, path) == 2) files.emplace_back(kind, path);
        std::fclose(in);
    }
    cApplication app(argc, argv);
    app.openDisplay();
    cApplication::openAudio();
    int loaded = 0;
    for (const auto& f : files) {
        const char* path = f.second.c_str();
        if (f.first == "img") {
            SDL_Surface* s = IMG_Load(path);
            if (!s) continue;
            SDL_Surface* c = SDL_DisplayFormatAlpha(s);
            SDL_FreeSurface(s);
            GLuint id = 0;
            glGenTextures(1, &id);
            glBindTexture(GL_TEXTURE_2D, id);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, c->pitch / 4);
            gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, c->w, c->h, GL_BGRA_EXT, GL_UNSIGNED_BYTE, c->pixels);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
            SDL_FreeSurface(c);
            ++loaded;
        } else if (f.first == "mus") {
            if (Mix_LoadMUS(path)) ++loaded;
        } else if (f.first == "wav") {
            if (Mix_LoadWAV(path)) ++loaded;
        }
    }
    if (loaded != static_cast<int>(files.size()))
        std::fprintf(stderr, "startup_floor: loaded %d of %zu files\n", loaded, files.size());
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    return 0;
}
