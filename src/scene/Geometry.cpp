#include "scene/Geometry.h"

#include <cmath>

#include "scene/Object.h"

bool hitTest(const cObject& o, int px, int py) {
    const float fx = static_cast<float>(px);
    const float fy = static_cast<float>(py);
    return o.x - o.hitWidth * 0.5f <= fx && fx <= o.x + o.hitWidth * 0.5f &&
           o.y - o.hitHeight * 0.5f <= fy && fy <= o.y + o.hitHeight * 0.5f;
}

float horizontalDistance(const cObject& a, const cObject& b) {
    const float difference = a.x - b.x;
    return std::fabs(difference);
}
