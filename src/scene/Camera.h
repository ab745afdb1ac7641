// The look-at camera every state places at the start of its draw.
#pragma once

class cCamera {
public:
    cCamera();
    void setDirection(float x, float y, float z);
    void setUp(float x, float y, float z);
    void apply();

    float eye[3];
    float direction[3];
    float up[3];
};
