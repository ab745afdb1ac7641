// The browser: a WebGL canvas drawn through emscripten's immediate-mode GL,
// and score.txt in a folder that the page keeps in the browser's own storage
// (IndexedDB).
#include <GL/gl.h>

#include <cmath>

#include "app/Target.h"

namespace target {

const Uint32 kVideoFlags = SDL_OPENGL;
const char* const kScoreFile = "/saved/score.txt";

// The browser paces frames itself (one per animation frame).
void prepareDisplay() {}

}  // namespace target

// The page's side of the saved table, the back gesture and the phone's
// keyboard (library.js).
extern "C" {
void zarvo_scores_saved();
void zarvo_state_shown(int state);
void zarvo_name_entry(int open);
}

void target::scoresSaved() { zarvo_scores_saved(); }
void target::stateShown(int state) { zarvo_state_shown(state); }
void target::nameEntry(bool open) { zarvo_name_entry(open ? 1 : 0); }

// GLU's look-at, which the camera places itself with: emscripten's own builds
// a wrong matrix (it hands its arguments to the matrix library out of order).
extern "C" void gluLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
                          double upX, double upY, double upZ) {
    float f[3] = {float(centreX - eyeX), float(centreY - eyeY), float(centreZ - eyeZ)};
    float up[3] = {float(upX), float(upY), float(upZ)};
    auto normalise = [](float* v) {
        const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length > 0.0f)
            for (int i = 0; i < 3; ++i) v[i] /= length;
    };
    auto cross = [](const float* a, const float* b, float* out) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    normalise(f);
    float s[3], u[3];
    cross(f, up, s);
    normalise(s);
    cross(s, f, u);
    const GLfloat m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    glMultMatrixf(m);
    glTranslatef(float(-eyeX), float(-eyeY), float(-eyeZ));
}
