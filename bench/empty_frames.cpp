// The floor of a frame on this screen: the game's own display set-up (full
// screen, 1024 x 768, as the game opens it), then nothing but clear and swap
// for the given seconds.  bench/run times its swaps beside the game's.
//
//   empty_frames SECONDS
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>

#include "app/Application.h"

int main(int argc, char** argv) {
    const Uint32 ms = static_cast<Uint32>((argc > 1 ? std::atof(argv[1]) : 5.0) * 1000.0);
    cApplication app(argc, argv);
    app.openDisplay();
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start < ms) {
        SDL_PumpEvents();
        glClear(GL_COLOR_BUFFER_BIT);
        glFlush();
        SDL_GL_SwapBuffers();
    }
    return 0;
}
