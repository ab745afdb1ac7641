// Plays a recorded climb again, headless and as fast as the climb runs (or in
// a window at its recorded pace with --render), prints the score and level it
// reaches, and exits 0 only when these are what the file claims. With
// --send URL, a climb that plays to its claim then goes to that world table.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "ClimbSender.h"
#include "app/Application.h"
#include "app/Screenshot.h"
#include "game/Climb.h"
#include "game/Replay.h"
#include "game/ReplayPlayer.h"
#include "game/WorldApp.h"
#include "media/DataFolder.h"
#include "media/ResFileException.h"
#include "media/TextureManager.h"

namespace {

struct Options {
    const char* file = nullptr;
    bool render = false;
    std::string shots;  // absolute: the tool may move to the data's folder
    long every = 120;
    const char* send = nullptr;
    const char* data = nullptr;  // the game's data folder, when not ./data
};

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        char* end = nullptr;
        if (!std::strcmp(a, "--render")) o.render = true;
        else if (!std::strcmp(a, "--shots") && i + 1 < argc) o.shots = std::filesystem::absolute(argv[++i]).string();
        else if (!std::strcmp(a, "--send") && i + 1 < argc) o.send = argv[++i];
        else if (!std::strcmp(a, "--data") && i + 1 < argc) o.data = argv[++i];
        else if (!std::strcmp(a, "--every") && i + 1 < argc && (o.every = std::strtol(argv[++i], &end, 10)) > 0 && !*end) continue;
        else if (a[0] != '-' && !o.file) o.file = a;
        else return false;
    }
    return o.file != nullptr;
}

// Draws the frame, saves it when a shot is due (before the swap leaves the
// back buffer undefined), then shows it.
void draw(cWorldApp& game, const std::string& shot) {
    SDL_PumpEvents();
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    game.draw();
    glFlush();
    if (!shot.empty()) saveScreenshot(shot);
    SDL_GL_SwapBuffers();
}

// Plays every frame; with a window, draws each, at the recorded pace with --render.
void play(cReplayPlayer& player, const Options& o, bool window) {
    const Uint32 start = SDL_GetTicks();
    double due = 0.0;  // seconds into the climb at which the next frame is shown
    while (!player.done()) {
        if (o.render) {
            due += player.nextFrameSeconds();
            const double wait = due * 1000.0 - (SDL_GetTicks() - start);
            if (wait > 0) SDL_Delay(static_cast<Uint32>(wait < climb::kLongestFrameMs ? wait : climb::kLongestFrameMs));
        }
        player.step();
        if (!window) continue;
        if (player.done()) player.settle();  // the last screen as the player saw it
        const bool shotDue = !o.shots.empty() && (player.framesPlayed() % o.every == 0 || player.done());
        draw(player.game(), shotDue ? o.shots + "/frame" + std::to_string(player.framesPlayed()) + ".ppm" : "");
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // the score's line before any reason on stderr
    Options o;
    if (!parseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: zarvo-replay FILE [--render] [--shots DIR [--every N]] [--send URL] [--data DIR]\n");
        return 2;
    }
    std::string error;
    cReplay replay;
    if (!cReplay::load(o.file, replay, error)) {
        std::fprintf(stderr, "zarvo-replay: %s: %s\n", o.file, error.c_str());
        return 1;
    }
    if (replay.rulesVersion != climb::kRulesVersion) {
        std::fprintf(stderr, "zarvo-replay: %s: recorded by other rules (version %d; this game plays version %d)\n", o.file,
                     replay.rulesVersion, climb::kRulesVersion);
        return 1;
    }
    if (o.data && !enterDataFolder(o.data, error)) {
        std::fprintf(stderr, "zarvo-replay: %s\n", error.c_str());
        return 1;
    }
    const bool window = o.render || !o.shots.empty();
    cApplication app(argc, argv);
    if (window) {
        app.videoFlags = SDL_OPENGL;  // a window, not the whole screen
        app.openDisplay();
    }
    cTextureManager::setHeadless(!window);
    new cTextureManager();
    int status = 0;
    try {
        cReplayPlayer player(replay);
        play(player, o, window);
        const cReplay* ended = player.ended();
        if (!ended) {
            std::printf("%s: the climb has not ended after its %lld frames\n", o.file, static_cast<long long>(replay.frameCount));
            std::fprintf(stderr, "zarvo-replay: %s: the climb does not end where the file ends\n", o.file);
            return 1;
        }
        std::printf("%s: score %u on level %d after %lld frames\n", o.file, ended->score, ended->level,
                    static_cast<long long>(ended->frameCount));
        if (ended->frameCount != replay.frameCount) {
            std::fprintf(stderr, "zarvo-replay: %s: the climb ends after %lld of its %lld frames\n", o.file,
                         static_cast<long long>(ended->frameCount), static_cast<long long>(replay.frameCount));
            status = 1;
        } else if (ended->score != replay.score || ended->level != replay.level) {
            std::fprintf(stderr, "zarvo-replay: %s: the file claims score %u on level %d\n", o.file, replay.score, replay.level);
            status = 1;
        }
    } catch (cResFileException* e) {
        std::fprintf(stderr, "zarvo-replay: %s\n", e->what());
        delete e;
        status = 1;
    }
    if (window) SDL_Quit();
    if (status == 0 && o.send) {
        std::string answer;
        status = sendClimb(o.send, replay.bytes(), answer) ? 0 : 1;
        std::fprintf(status ? stderr : stdout, "%s%s: %s\n", status ? "zarvo-replay: " : "", o.send, answer.c_str());
    }
    return status;
}
