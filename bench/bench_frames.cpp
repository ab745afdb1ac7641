// Frame cost of the real game under the real application loop, against a
// reference that draws the same quads, with the same textures and blending,
// in plain immediate mode and nothing else.
//
// The game's GL calls are linked through --wrap so that one frame's quads can
// be recorded (texture, colour, texture coordinates, eye-space corners); with
// recording off a wrapper is one test and a call.  The reference replays the
// record with the real functions in the same window and context, so both
// sides fill the same pixels from the same texture objects.
//
//   bench_frames [--seconds S] [--rounds R] [--warmup FRAMES]
// Run from the folder that holds data/, with a display (Xvfb is fine).
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Application.h"
#include "bench_common.h"
#include "game/WorldApp.h"
#include "pilot/AutoPilot.h"

extern "C" {
void __real_glBindTexture(GLenum target, GLuint texture);
void __real_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void __real_glBegin(GLenum mode);
void __real_glEnd();
void __real_glTexCoord2f(GLfloat s, GLfloat t);
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
}

namespace {

struct Vertex {
    float s, t, x, y, z;
};
struct Quad {
    GLuint texture;
    float color[4];
    Vertex v[4];
};

bool g_recording = false;
std::vector<Quad> g_quads;
GLuint g_texture = 0;
float g_color[4] = {1, 1, 1, 1};
float g_matrix[16];
float g_s = 0, g_t = 0;
int g_corner = 0;

}  // namespace

extern "C" {
void __wrap_glBindTexture(GLenum target, GLuint texture) {
    if (g_recording) g_texture = texture;
    __real_glBindTexture(target, texture);
}
void __wrap_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (g_recording) g_color[0] = r, g_color[1] = g, g_color[2] = b, g_color[3] = a;
    __real_glColor4f(r, g, b, a);
}
void __wrap_glBegin(GLenum mode) {
    if (g_recording) {
        glGetFloatv(GL_MODELVIEW_MATRIX, g_matrix);
        g_corner = 0;
    }
    __real_glBegin(mode);
}
void __wrap_glEnd() { __real_glEnd(); }
void __wrap_glTexCoord2f(GLfloat s, GLfloat t) {
    if (g_recording) g_s = s, g_t = t;
    __real_glTexCoord2f(s, t);
}
void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (g_recording) {
        if (g_corner == 0) {
            Quad q;
            q.texture = g_texture;
            std::memcpy(q.color, g_color, sizeof q.color);
            g_quads.push_back(q);
        }
        const float* m = g_matrix;
        Vertex& v = g_quads.back().v[g_corner & 3];
        v.s = g_s;
        v.t = g_t;
        v.x = m[0] * x + m[4] * y + m[8] * z + m[12];
        v.y = m[1] * x + m[5] * y + m[9] * z + m[13];
        v.z = m[2] * x + m[6] * y + m[10] * z + m[14];
        ++g_corner;
    }
    __real_glVertex3f(x, y, z);
}
}

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

std::vector<Quad> record(cApplication& app) {
    g_quads.clear();
    g_recording = true;
    app.frame();
    g_recording = false;
    return g_quads;
}

void drawReference(const std::vector<Quad>& quads) {
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    for (const Quad& q : quads) {
        __real_glBindTexture(GL_TEXTURE_2D, q.texture);
        __real_glColor4f(q.color[0], q.color[1], q.color[2], q.color[3]);
        __real_glBegin(GL_QUADS);
        for (const Vertex& v : q.v) {
            __real_glTexCoord2f(v.s, v.t);
            __real_glVertex3f(v.x, v.y, v.z);
        }
        __real_glEnd();
    }
    glFlush();
    SDL_GL_SwapBuffers();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    double runSeconds = 2.0;
    int rounds = 5, warmup = 900;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds")) runSeconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--rounds")) rounds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--warmup")) warmup = std::atoi(argv[i + 1]);
    }
    cSimPlatform sim;
    sim.pump = true;
    setPlatform(&sim);
    cApplication app(argc, argv);
    app.init();
    int swapControl = -1;
    SDL_GL_GetAttribute(SDL_GL_SWAP_CONTROL, &swapControl);

    cWorldApp& game = *static_cast<cWorldApp*>(app.gameState);
    cAutoPilot pilot(static_cast<float>(sim.fps));
    // Before each frame of the game: the pilot's input and 1/60 s of game time.
    auto steer = [&]() {
        pilot.play(game, sim);
        ++sim.frame;
    };
    auto idle = [&]() { ++sim.frame; };

    // The menu as the game shows it first.
    for (int i = 0; i < 30; ++i) idle(), app.frame();
    const std::vector<Quad> menuQuads = record(app);

    // Into a game, then some seconds of climbing so that the scene is a usual one.
    app.requestedState = 2;
    app.switchState();
    for (int i = 0; i < warmup; ++i) {
        steer();
        game.update(static_cast<float>(sim.fps));
    }
    steer();
    const std::vector<Quad> gameQuads = record(app);
    std::printf("frames: GL %s, swap control %d, menu %zu quads, game %zu quads (level %d, score %u)\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)), swapControl, menuQuads.size(),
                gameQuads.size(), game.view().level, game.view().score);

    auto timeFrames = [&](auto&& one) {
        long n = 0;
        const Clock::time_point start = Clock::now();
        Clock::time_point now = start;
        do {
            one();
            ++n;
            if ((n & 7) == 0) now = Clock::now();
        } while (seconds(start, now) < runSeconds);
        glFinish();
        return n / seconds(start, Clock::now());
    };
    std::vector<double> gameFps, gameRef, menuFps, menuRef;
    // Game and its reference alternate; then the menu and its reference.  Leaving
    // the game would start a new round, so all game rounds come first.
    for (int r = 0; r < rounds; ++r) {
        gameFps.push_back(timeFrames([&] { steer(), app.frame(); }));
        gameRef.push_back(timeFrames([&] { drawReference(gameQuads); }));
        std::printf("frames: round %d: game %.1f fps, reference %.1f fps\n", r + 1, gameFps.back(), gameRef.back());
        std::fflush(stdout);
    }
    app.requestedState = 0;
    app.switchState();
    for (int r = 0; r < rounds; ++r) {
        menuFps.push_back(timeFrames([&] { idle(), app.frame(); }));
        menuRef.push_back(timeFrames([&] { drawReference(menuQuads); }));
        std::printf("frames: round %d: menu %.1f fps, reference %.1f fps\n", r + 1, menuFps.back(), menuRef.back());
        std::fflush(stdout);
    }
    // Each round times the two side by side, so its ratio is the fair figure
    // on a shared machine; the median over rounds drops the disturbed ones.
    std::vector<double> gameRatio, menuRatio;
    for (int r = 0; r < rounds; ++r) {
        gameRatio.push_back(gameFps[r] / gameRef[r]);
        menuRatio.push_back(menuFps[r] / menuRef[r]);
    }
    const double g = median(gameFps), gr = median(gameRef), m = median(menuFps), mr = median(menuRef);
    const double gq = median(gameRatio), mq = median(menuRatio);
    std::printf("frames: median game %.1f fps, reference %.1f fps; menu %.1f fps, reference %.1f fps\n", g, gr, m, mr);
    std::printf("frames: median of the per-round ratios: game %.3fx, menu %.3fx\n", gq, mq);
    std::printf("frames-ratio %.3f %.3f\n", gq, mq);
    setPlatform(nullptr);
    return 0;
}
