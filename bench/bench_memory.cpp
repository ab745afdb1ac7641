// Resident memory over one rendered fifteen-level autoplayed game: the figure
// is steered by the autopilot at a simulated 60 frames a second, every fourth
// frame is drawn and swapped in a window, and the resident set is read at the
// end of every level.  Falls are retried by the pilot; the run ends when level
// 15 is done (or after the time limit).
//
//   bench_memory [--seed S] [--minutes M]   (from the folder that holds data/)
// Prints "level N done: frame F, rss K KiB, heap in use H KiB" lines, the heap's
// growth and a last line
//   "memory: peak P KiB, level 1 end A KiB, level 15 end B KiB, growth G KiB"
// (without the level figures when the game did not get through level 15).
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <malloc.h>

#include "app/Application.h"
#include "bench_common.h"
#include "frontend/HighScoreTable.h"
#include "game/Climb.h"
#include "game/WorldApp.h"
#include "media/TextureManager.h"
#include "pilot/AutoPilot.h"

namespace {
// Drawing is what makes the run long (Mesa draws in software): one frame in
// four still draws every picture of every level thousands of times, so a leak
// per drawn frame shows as clearly, in a quarter of the time.
const long long kDrawEvery = 4;
}  // namespace

int main(int argc, char** argv) {
    long seed = 1;
    int minutes = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seed")) seed = std::atol(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--minutes")) minutes = std::atoi(argv[i + 1]);
    }
    cApplication app(argc, argv);
    app.videoFlags = SDL_OPENGL;  // the game's own display set-up, in a window
    app.openDisplay();
    new cTextureManager();
    app.highScores = new cHighScoreTable();
    cSimPlatform sim;
    sim.frame = seed * 60;
    setPlatform(&sim);

    cWorldApp* game = new cWorldApp();
    game->load();
    game->activate(true);
    cAutoPilot pilot(60.0f);
    const long long limit = sim.frame + 60LL * 60 * minutes;
    long levelOneEnd = -1, levelFifteenEnd = -1, heapOne = -1, heapFifteen = -1;
    while (sim.frame < limit && levelFifteenEnd < 0) {
        pilot.play(*game, sim);
        const cClimbView before = game->view();
        game->update(60.0f);
        ++sim.frame;
        if (sim.frame % kDrawEvery == 0) {
            SDL_PumpEvents();
            glClear(GL_COLOR_BUFFER_BIT);
            glLoadIdentity();
            game->draw();
            glFlush();
            SDL_GL_SwapBuffers();
        }
        if (before.phase == cWorldApp::LevelDone && game->view().phase != cWorldApp::LevelDone) {
            const long rss = procStatusKiB("VmRSS");
            // What is allocated and not freed, by the game and the libraries
            // alike: a leak shows here first, unlike in the resident set,
            // which also moves with the allocator's and the driver's caches.
            const struct mallinfo2 heap = mallinfo2();
            const long inUse = static_cast<long>((heap.uordblks + heap.hblkhd) / 1024);
            std::printf("level %d done: frame %lld, rss %ld KiB, heap in use %ld KiB\n", before.level,
                        sim.frame - seed * 60, rss, inUse);
            std::fflush(stdout);
            if (before.level == 1) levelOneEnd = rss, heapOne = inUse;
            if (before.level == climb::kLastLevel) levelFifteenEnd = rss, heapFifteen = inUse;
        }
    }
    const long peak = procStatusKiB("VmHWM");
    setPlatform(nullptr);
    if (levelOneEnd < 0 || levelFifteenEnd < 0) {
        std::printf("memory: peak %ld KiB; the game did not get through level 15\n", peak);
        return 1;
    }
    std::printf("heap in use: level 1 end %ld KiB, level 15 end %ld KiB, growth %ld KiB\n", heapOne, heapFifteen,
                heapFifteen - heapOne);
    std::printf("memory: peak %ld KiB, level 1 end %ld KiB, level 15 end %ld KiB, growth %ld KiB\n", peak, levelOneEnd,
                levelFifteenEnd, levelFifteenEnd - levelOneEnd);
    return 0;
}
