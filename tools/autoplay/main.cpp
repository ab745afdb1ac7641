// Plays the real game state at a fixed frame rate, steered by the autopilot, and reports how
// many runs cleared the wanted level. Runs without a display unless --render is given; with
// --real-time as well, each frame is played at the rate the clock measured, as in the game.
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/Application.h"
#include "app/Screenshot.h"
#include "app/SimPlatform.h"
#include "frontend/HighScoreTable.h"
#include "game/Climb.h"
#include "game/Replay.h"
#include "game/WorldApp.h"
#include "media/ResFileException.h"
#include "media/TextureManager.h"
#include "pilot/AutoPilot.h"

namespace {

struct Options {
    int runs = 1;
    int levels = climb::kLastLevel;
    int fps = 60;
    long seed = 1;
    bool render = false;
    bool realTime = false;
    const char* shots = nullptr;
    int every = 120;
    bool verbose = false;
    const char* table = nullptr;  // a score file the games file their names into
    const char* record = nullptr;  // a folder each ended climb is written into, as a replay
};

struct RunResult {
    bool cleared;
    long long frames;
    unsigned int score;
};

bool parseInt(const char* text, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return end && *end == '\0' && end != text;
}

bool usage() {
    std::fprintf(stderr,
                 "usage: zarvo-autoplay [--runs N] [--levels L] [--fps F] [--seed S] [--verbose] [--table FILE] "
                 "[--record DIR] [--render [--real-time] [--shots DIR [--every N]]]\n");
    return false;
}

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        long v = 0;
        auto next = [&](long& value) { return i + 1 < argc && parseInt(argv[++i], value); };
        if (!std::strcmp(a, "--render")) o.render = true;
        else if (!std::strcmp(a, "--real-time")) o.realTime = true;
        else if (!std::strcmp(a, "--verbose")) o.verbose = true;
        else if (!std::strcmp(a, "--shots") && i + 1 < argc) o.shots = argv[++i];
        else if (!std::strcmp(a, "--runs") && next(v) && v > 0) o.runs = static_cast<int>(v);
        else if (!std::strcmp(a, "--levels") && next(v) && v >= 1 && v <= climb::kLastLevel) o.levels = static_cast<int>(v);
        else if (!std::strcmp(a, "--fps") && next(v) && v > 0) o.fps = static_cast<int>(v);
        else if (!std::strcmp(a, "--seed") && next(v)) o.seed = v;
        else if (!std::strcmp(a, "--every") && next(v) && v > 0) o.every = static_cast<int>(v);
        else if (!std::strcmp(a, "--table") && i + 1 < argc) o.table = argv[++i];
        else if (!std::strcmp(a, "--record") && i + 1 < argc) o.record = argv[++i];
        else return usage();
    }
    return !o.realTime || o.render || usage();
}

// With --record: the climb that just ended, as the pilot "A" climbed it.
void recordClimb(const char* dir, const cWorldApp& game, int run) {
    if (!game.lastClimb()) return;
    cReplay replay = *game.lastClimb();
    replay.name = "A";
    char path[1024];
    std::snprintf(path, sizeof path, "%s/run%02d_climb%02d.zrp", dir, run + 1, game.climbsEnded());
    std::FILE* out = std::fopen(path, "wb");
    const std::string bytes = replay.bytes();
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) std::fprintf(stderr, "cannot write %s\n", path);
    if (out) std::fclose(out);
}

// What the runs of one invocation share.
struct Session {
    std::vector<Uint32> frameMs;  // with --real-time: each frame's length, as the game's clock measured it
    bool quit = false;            // the window was closed, or SIGTERM or Ctrl+C came
};

void drawFrame(cWorldApp& game, Session& session) {
    SDL_PumpEvents();
    SDL_Event event;
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUITMASK) > 0) session.quit = true;
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    game.draw();
    glFlush();
    SDL_GL_SwapBuffers();
}

// With --verbose: one line per finished level and per fall.
void report(const cClimbView& game, const cClimbView& before, long long frame) {
    if (game.phase == before.phase && game.level == before.level) return;
    if (before.phase == cWorldApp::LevelDone)
        std::printf("  frame %lld: level %d done, score %u\n", frame, before.level, game.score);
    else if (before.phase != cWorldApp::Fallen && game.level == 1 && before.level != 1)
        std::printf("  frame %lld: fell on level %d\n", frame, before.level);
    else if (game.phase == cWorldApp::NameEntry || (game.phase == cWorldApp::Climbing && game.paused))
        std::printf("  frame %lld: fell on level %d\n", frame, before.level);
}

RunResult playRun(const Options& o, cApplication& app, cSimPlatform& sim, int run, Session& session) {
    sim.startSeconds = o.seed + run;
    sim.frame = 0;
    cWorldApp* game = new cWorldApp();
    game->load();
    game->activate(true);
    float fps = static_cast<float>(o.fps);
    cAutoPilot pilot(fps);
    const long long limit = 30LL * 60 * o.fps;
    RunResult result{false, 0, 0};
    bool finished = false;
    while (sim.frame < limit && !session.quit) {
        if (o.realTime) pilot.setRate(fps);  // aimed for the rate the frames really take
        pilot.play(*game, sim);
        const cClimbView before = game->view();
        if (o.realTime) {
            app.measureFrame();
            if (sim.frame > 0) session.frameMs.push_back(app.frameMs);  // the first counts from loading
            fps = static_cast<float>(app.fps);
        }
        const int endings = game->climbsEnded();
        game->update(fps);
        ++sim.frame;
        if (o.record && game->climbsEnded() != endings) recordClimb(o.record, *game, run);
        if (o.render) {
            drawFrame(*game, session);
            if (o.shots && sim.frame % o.every == 0) {
                char path[1024];
                std::snprintf(path, sizeof path, "%s/run%02d_frame%07lld.ppm", o.shots, run, sim.frame);
                saveScreenshot(path);
            }
        }
        const cClimbView now = game->view();
        if (o.verbose) report(now, before, sim.frame);
        if (o.levels < climb::kLastLevel && now.level > o.levels) {
            result = RunResult{true, sim.frame, now.score};
            break;
        }
        // After the last level the game goes on until the kill box is taken
        // away and, when the score enters the table, the name is filed.
        if (before.level == climb::kLastLevel && before.phase == cWorldApp::LevelDone && now.level == 1) {
            finished = true;
            result.score = before.score;
        }
        if (finished && (now.phase == cWorldApp::RetryChoice || !now.paused)) {
            result = RunResult{true, sim.frame, result.score};
            break;
        }
    }
    if (!result.cleared) result.frames = sim.frame;
    game->activate(false);
    delete game;
    return result;
}

template <typename T>
T median(std::vector<T> values) {
    if (values.empty()) return T();
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) return 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each run's line as it ends, also into a pipe
    cApplication app(argc, argv);
    if (o.render) {
        app.videoFlags = SDL_OPENGL;  // a window, not the whole screen
        app.openDisplay();
    }
    cTextureManager::setHeadless(!o.render);
    new cTextureManager();
    app.highScores = new cHighScoreTable();
    if (o.table) app.highScores->loadFromFile(o.table);
    cSimPlatform sim;
    sim.fps = o.fps;
    sim.realClock = o.realTime;
    setPlatform(&sim);

    std::vector<long long> frames;
    std::vector<unsigned int> scores;
    int cleared = 0;
    Session session;
    try {
        for (int run = 0; run < o.runs && !session.quit; ++run) {
            const RunResult r = playRun(o, app, sim, run, session);
            std::printf("run %d: %s after %lld frames, score %u\n", run + 1, r.cleared ? "cleared" : "failed",
                        r.frames, r.score);
            if (!r.cleared) continue;
            ++cleared;
            frames.push_back(r.frames);
            scores.push_back(r.score);
        }
    } catch (cResFileException* e) {
        std::printf("Error:%s\n", e->what());
        delete e;
        return 1;
    }
    setPlatform(nullptr);
    delete app.highScores;
    app.highScores = nullptr;
    if (o.render) SDL_Quit();
    std::printf("autoplay: %d/%d runs cleared level %d, median %lld frames, median score %u\n", cleared, o.runs,
                o.levels, median(frames), median(scores));
    std::vector<Uint32>& ms = session.frameMs;
    if (!ms.empty()) {
        std::sort(ms.begin(), ms.end());
        std::printf("autoplay: frames took a median %u ms, 99th percentile %u ms, longest %u ms\n", median(ms),
                    ms[ms.size() * 99 / 100], ms.back());
    }
    return 0;
}
