/* Preloaded into the game (or a floor program) by bench/run.  With only the
 * first two settings below it changes nothing the program does until its first
 * buffer swap.
 *
 *   ZARVO_BENCH_T0=<ns>        CLOCK_MONOTONIC time taken by bench_launch just
 *                              before it started the program.
 *   ZARVO_BENCH_OUT=<file>     At the first SDL_GL_SwapBuffers, append
 *                              "<ns since T0>" to this file and _exit(0).
 *   ZARVO_BENCH_MANIFEST=<file> Append one line per picture and sound opened
 *                              before the first swap: "img|mus|wav <path>".
 *   ZARVO_BENCH_SWAPLOG=<file> Append the CLOCK_MONOTONIC time in ns at every
 *                              swap, one a line, and go on.
 *   ZARVO_BENCH_FRAME_MS=<ms>  Sleep in every swap until at least this long
 *                              has passed since the one before, as on a
 *                              machine that draws slowly: the program's clock
 *                              sees the longer frames.
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
static FILE* swapLog;

static long long monotonicNs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static void holdFrame(long long lastSwap) {
    const char* ms = getenv("ZARVO_BENCH_FRAME_MS");
    if (!ms || !lastSwap) return;
    const long long wait = lastSwap + atoll(ms) * 1000000LL - monotonicNs();
    if (wait <= 0) return;
    struct timespec ts = {wait / 1000000000LL, wait % 1000000000LL};
    nanosleep(&ts, NULL);
}

static void logSwap(long long now) {
    if (!swapLog) {
        const char* path = getenv("ZARVO_BENCH_SWAPLOG");
        if (!path || !(swapLog = fopen(path, "a"))) return;
        setvbuf(swapLog, NULL, _IOLBF, 0);  /* the game is ended by a signal */
    }
    fprintf(swapLog, "%lld\n", now);
}

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
    static long long lastSwap;
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    holdFrame(lastSwap);
    real();
    const long long now = monotonicNs();
    lastSwap = now;
    logSwap(now);
    if (swapped) return;
    swapped = 1;
    const char* out = getenv("ZARVO_BENCH_OUT");
    const char* t0 = getenv("ZARVO_BENCH_T0");
    if (!out) return;
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
