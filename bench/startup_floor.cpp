// The least a program must do to show the game's first menu frame: open SDL
// with the game's video mode and audio settings, read and upload the same
// pictures and read the same sounds the game reads before its first frame,
// then clear and swap once.  bench/run times it against the real game.
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
    setenv("LP_NUM_THREADS", "0", 0);  // as the game asks of the software rasterizer
    SDL_Init(SDL_INIT_EVERYTHING);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    SDL_SetVideoMode(1024, 768, 32, 0xD0000012u);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024);
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
