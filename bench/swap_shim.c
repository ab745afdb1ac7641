/* Preloaded into the game (or the floor program) by bench/run; changes nothing
 * the program does until its first buffer swap.
 *
 *   ZARVO_BENCH_T0=<ns>        CLOCK_MONOTONIC time taken by bench_launch just
 *                              before it started the program.
 *   ZARVO_BENCH_OUT=<file>     At the first SDL_GL_SwapBuffers, append
 *                              "<ns since T0>" to this file and _exit(0).
 *   ZARVO_BENCH_MANIFEST=<file> Append one line per picture and sound opened
 *                              before the first swap: "img|mus|wav <path>".
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef struct SDL_Surface SDL_Surface;
typedef struct SDL_RWops SDL_RWops;
typedef struct _Mix_Music Mix_Music;
typedef struct Mix_Chunk Mix_Chunk;

static int swapped;
static char lastRw[1024];

static void note(const char* kind, const char* path) {
    const char* manifest = getenv("ZARVO_BENCH_MANIFEST");
    if (!manifest || swapped || !path) return;
    FILE* f = fopen(manifest, "a");
    if (!f) return;
    fprintf(f, "%s %s\n", kind, path);
    fclose(f);
}

void SDL_GL_SwapBuffers(void) {
    static void (*real)(void);
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    real();
    if (swapped) return;
    swapped = 1;
    const char* out = getenv("ZARVO_BENCH_OUT");
    const char* t0 = getenv("ZARVO_BENCH_T0");
    if (!out) return;
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    long long now = ts.tv_sec * 1000000000LL + ts.tv_nsec;
    FILE* f = fopen(out, "a");
    if (f) {
        fprintf(f, "%lld\n", t0 ? now - atoll(t0) : now);
        fclose(f);
    }
    _exit(0);
}

SDL_Surface* IMG_Load(const char* file) {
    static SDL_Surface* (*real)(const char*);
    if (!real) real = (SDL_Surface * (*)(const char*)) dlsym(RTLD_NEXT, "IMG_Load");
    note("img", file);
    return real(file);
}

Mix_Music* Mix_LoadMUS(const char* file) {
    static Mix_Music* (*real)(const char*);
    if (!real) real = (Mix_Music * (*)(const char*)) dlsym(RTLD_NEXT, "Mix_LoadMUS");
    note("mus", file);
    return real(file);
}

SDL_RWops* SDL_RWFromFile(const char* file, const char* mode) {
    static SDL_RWops* (*real)(const char*, const char*);
    if (!real) real = (SDL_RWops * (*)(const char*, const char*)) dlsym(RTLD_NEXT, "SDL_RWFromFile");
    if (file) snprintf(lastRw, sizeof lastRw, "%s", file);
    return real(file, mode);
}

Mix_Chunk* Mix_LoadWAV_RW(SDL_RWops* src, int freesrc) {
    static Mix_Chunk* (*real)(SDL_RWops*, int);
    if (!real) real = (Mix_Chunk * (*)(SDL_RWops*, int)) dlsym(RTLD_NEXT, "Mix_LoadWAV_RW");
    note("wav", lastRw);
    return real(src, freesrc);
}
