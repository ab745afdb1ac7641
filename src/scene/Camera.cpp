#include "scene/Camera.h"

#include <SDL_opengl.h>
#include <GL/glu.h>

cCamera::cCamera() : eye{0, 0, 0}, direction{0, 0, -1}, up{0, 1, 0} {}

void cCamera::setDirection(float x, float y, float z) {
    direction[0] = x;
    direction[1] = y;
    direction[2] = z;
}

void cCamera::setUp(float x, float y, float z) {
    up[0] = x;
    up[1] = y;
    up[2] = z;
}

void cCamera::apply() {
    gluLookAt(eye[0], eye[1], eye[2], eye[0] + direction[0], eye[1] + direction[1],
              eye[2] + direction[2], up[0], up[1], up[2]);
}
