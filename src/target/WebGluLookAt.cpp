// GLU's look-at for the browser. The camera places itself with gluLookAt
// (as the desktop's GLU gives it), but emscripten's own builds a wrong matrix:
// it hands its arguments to its matrix library out of order, and the picture
// would be seen from elsewhere. This one builds GLU's matrix.
#include <GL/gl.h>

#include <cmath>

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
