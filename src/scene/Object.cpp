#include "scene/Object.h"

cObject::cObject()
    : kind(0), scrollHeld(false), speed(0.0f), x(0.0f), y(0.0f), z(0.0f), moveFactor(0.0f),
      hitWidth(0.0f), hitHeight(0.0f) {}
