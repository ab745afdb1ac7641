// Entry point in the browser. The page has loaded the pictures, the sounds
// and the saved table before main runs; the frame loop then runs one frame
// per animation frame, and outlives main.
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdio>
#include <exception>

#include "app/AppState.h"
#include "app/Application.h"
#include "frontend/WatchState.h"

namespace {

cApplication* game = nullptr;
const char* const kWatchedFile = "/tmp/watched.zrp";  // pre.js writes it

// The page shows an error line in place of the game, or, after Quit, a page
// that offers another game (index.html).
EM_JS(void, showError, (const char* line), { Module.zarvoShowError(UTF8ToString(line)); });
EM_JS(void, showEnded, (), { Module.zarvoShowEnded(); });

// The game's own failures throw a pointer to an exception (a missing file);
// anything else thrown is reported all the same, never left to freeze the page.
void report(const char* what) {
    char line[600];
    std::snprintf(line, sizeof line, "Error:%s", what);
    std::printf("%s\n", line);
    showError(line);
}

// Runs a step of the game; false, with the failure reported, when it threw.
template <typename Step>
bool guarded(Step step) {
    try {
        step();
        return true;
    } catch (std::exception* e) {
        report(e->what());
        delete e;
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("an unknown exception");
    }
    return false;
}

void stop() {
    emscripten_cancel_main_loop();
    delete game;  // halts the music and closes the mixer
    game = nullptr;
}

void playFrame() {
    if (!guarded([] { game->frame(); })) {
        stop();
        return;
    }
    if (!game->quit) return;
    stop();
    showEnded();
}

}  // namespace

// The page calls this when its tab is hidden or its window loses the focus:
// the game hears it as the desktop's window losing the input focus.
extern "C" EMSCRIPTEN_KEEPALIVE void zarvo_player_left() {
    SDL_Event event = {};
    event.type = SDL_ACTIVEEVENT;
    event.active.gain = 0;
    event.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&event);
}

// The page calls this with the keys that its text field took (the name typed
// on a phone's keyboard).
extern "C" EMSCRIPTEN_KEEPALIVE void zarvo_key(int sym) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = static_cast<SDL_Keycode>(sym);
    SDL_PushEvent(&event);
}

// The phone's back gesture: Escape, but for the intro, where any key starts
// the climb and going back means the menu.
extern "C" EMSCRIPTEN_KEEPALIVE void zarvo_back() {
    if (game && game->currentStateId == kIntroState) game->requestedState = kMenuState;
    else zarvo_key(SDLK_ESCAPE);
}

// The page calls this with a replay written to kWatchedFile (its address or
// the world table's Watch asked for one): the game leaves what it shows for
// the replay, and a climb under way waits paused, as when the player leaves.
extern "C" EMSCRIPTEN_KEEPALIVE void zarvo_watch() {
    if (!game) return;
    if (game->currentStateId == kGameState) game->gameState->focusLost();
    game->watchState->watch(kWatchedFile);
    if (game->currentStateId == kWatchState) game->watchState->activate(true);
    game->requestedState = kWatchState;
}

int main(int argc, char** argv) {
    // Emscripten starts with a umask that masks every permission: score.txt
    // would be saved unreadable.
    umask(022);
    if (!guarded([&] {
            game = new cApplication(argc, argv);
            game->init();
        })) {
        delete game;
        game = nullptr;
        return 0;
    }
    emscripten_set_main_loop(playFrame, 0, 0);
    return 0;
}
