#include "app/Application.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/AppState.h"
#include "app/Platform.h"
#include "target/Target.h"
#include "frontend/HighScoreTable.h"
#include "frontend/IntroState.h"
#include "frontend/MenuState.h"
#include "frontend/WatchState.h"
#include "game/Random.h"
#include "game/WorldApp.h"
#include "media/TextureManager.h"

cApplication* g_app = nullptr;

cApplication::cApplication(int, char**)
    : fps(0.0), frameMs(0), lastTicks(0), width(1024), height(768), bpp(32), videoFlags(target::kVideoFlags),
      quit(false), highScores(nullptr), menuState(nullptr), gameState(nullptr), introState(nullptr), watchState(nullptr),
      requestedState(0), currentStateId(0), currentState(nullptr), transparentPointer(nullptr), started(false) {
    g_app = this;
}

cApplication::~cApplication() {
    if (started) shutdown();
}

void cApplication::shutdown() {
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    // The states free their music and sounds, so they go while the mixer is
    // still open; the game state goes last.
    delete watchState;
    delete introState;
    delete menuState;
    delete gameState;
    delete highScores;
    watchState = nullptr;
    introState = menuState = gameState = currentState = nullptr;
    highScores = nullptr;
    Mix_CloseAudio();
    if (transparentPointer) SDL_FreeCursor(transparentPointer);
    transparentPointer = nullptr;
    SDL_Quit();
    started = false;
}

int cApplication::init() {
    openDisplay();
    cRandom::seed(static_cast<unsigned>(platform().now()));
    if (!cTextureManager::ms_singleton) new cTextureManager();
    openAudio();

    highScores = new cHighScoreTable();
    highScores->loadFromFile(target::kScoreFile);
    gameState = new cWorldApp();
    gameState->load();
    menuState = new cMenuState();
    menuState->load();
    introState = new cIntroState();
    introState->load();
    watchState = new cWatchState(highScores);
    watchState->load();

    currentStateId = kMenuState;
    requestedState = kMenuState;
    if (currentState) currentState->activate(false);
    menuState->activate(true);
    currentState = menuState;
    target::stateShown(currentStateId);
    hideSystemPointer();
    return 0;
}

bool cApplication::openAudio() { return Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0; }

void cApplication::openDisplay() {
    // Mesa's software rasterizer draws on the game's own thread: its worker
    // threads race on a freed fence (docs/reliability.md, "Hunting the rare crash").
    setenv("LP_NUM_THREADS", "0", 0);
    SDL_Init(SDL_INIT_EVERYTHING);
    started = true;
    // A subsystem that fails (no audio device, say) can leave video down with
    // it; the game goes on silent, but without a display there is nothing to
    // play on: say so rather than let the GL calls below run without a
    // context (classic SDL crashes there).
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0)
        throw new std::runtime_error(std::string("No display: ") + SDL_GetError());
    // When the X server cannot be reached, SDL 1.2 over SDL2 falls back to a
    // video driver that draws into memory: the game would run on, unseen and
    // unstoppable by its player. That is no display either.
    char driver[32] = "";
    if (SDL_VideoDriverName(driver, sizeof driver) && (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy")))
        throw new std::runtime_error(std::string("No display: only the ") + driver + " video driver started");
    target::prepareDisplay();
    if (!SDL_SetVideoMode(width, height, bpp, videoFlags))
        throw new std::runtime_error(std::string("No OpenGL window: ") + SDL_GetError());
    setupProjection();
    setupGL();
}

void cApplication::hideSystemPointer() {
    // Transparent rather than hidden, so that absolute pointers still reach
    // the game (docs/reliability.md, "Pointers that report absolute positions").
    Uint8 clear[kPointerSize * kPointerSize / 8] = {};
    transparentPointer = SDL_CreateCursor(clear, clear, kPointerSize, kPointerSize, 0, 0);
    SDL_SetCursor(transparentPointer);
}

void cApplication::setupProjection() {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double bottom = static_cast<double>(height) / static_cast<double>(width) * 1024.0;
    glOrtho(0.0, -1024.0, bottom, 0.0, 0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
}

void cApplication::setupGL() {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_TEXTURE_2D);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

int cApplication::run() {
    quit = false;
    do {
        frame();
    } while (!quit);
    return 0;
}

void cApplication::frame() {
    processEvents();
    measureFrame();
    if (currentState) currentState->update(static_cast<float>(fps));
    drawFrame();
    switchState();
}

void cApplication::processEvents() {
    SDL_Event event;
    while (platform().pollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN: {
            // Read as a plain int: a symbol outside SDL's key list (a negative
            // one in particular) is no valid SDLKey and must not be loaded as one.
            int sym = 0;
            static_assert(sizeof sym == sizeof event.key.keysym.sym, "SDLKey is an int-sized enum");
            std::memcpy(&sym, &event.key.keysym.sym, sizeof sym);
            if (sym >= 0 && currentState) currentState->keyDown(sym);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (currentState) currentState->mouseDown(event.button.button, event.button.x, event.button.y);
            break;
        case SDL_ACTIVEEVENT:
            if (!event.active.gain && (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) && currentState)
                currentState->focusLost();
            break;
        case SDL_QUIT:
            quit = true;
            break;
        case SDL_VIDEORESIZE:
            width = event.resize.w;
            height = event.resize.h ? event.resize.h : 1;
            setupProjection();
            break;
        default:
            break;
        }
    }
}

void cApplication::measureFrame() {
    const Uint32 now = platform().getTicks();
    frameMs = now - lastTicks;
    lastTicks = now;
    fps = 1.0 / (frameMs / 1000.0);
}

void cApplication::drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    if (currentState) currentState->draw();
    glFlush();
    SDL_GL_SwapBuffers();
}

void cApplication::switchState() {
    if (requestedState == currentStateId) return;
    cAppState* next = nullptr;
    switch (requestedState) {
    case kMenuState: next = menuState; break;
    case kIntroState: next = introState; break;
    case kGameState: next = gameState; break;
    case kWatchState: next = watchState; break;
    default: break;
    }
    if (next) {
        if (currentState) currentState->activate(false);
        next->activate(true);
        currentState = next;
    }
    currentStateId = requestedState;
    target::stateShown(currentStateId);
}
