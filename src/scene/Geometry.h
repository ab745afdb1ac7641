// Point-in-box click test and the horizontal distance of two objects.
#pragma once

class cObject;

bool hitTest(const cObject& object, int px, int py);
float horizontalDistance(const cObject& a, const cObject& b);
