// The one drawing primitive: a textured quad centred on its position.  Its
// draw leaves its translation on the matrix, so a second sprite drawn after it
// is placed relative to the first; owners bracket draws with push/pop.
#pragma once

class cTexture;

class cSprite {
public:
    cSprite();
    int load(const char* path);
    // Loads the picture and places it: its half sizes and its centre.
    void loadAt(const char* path, float halfWidth, float halfHeight, float x, float y, float z);
    // Loads a picture that fills the 1024 x 768 screen behind what is drawn over it.
    void loadScreen(const char* path);
    void setTexture(cTexture* texture);
    void setWindowOrigin(float u, float v);
    void setWindowSize(float du, float dv);
    void setHalfSize(float halfWidth, float halfHeight);
    void setAlpha(float alpha);
    void draw();

    float halfWidth;
    float halfHeight;
    float u;
    float v;
    float du;
    float dv;
    cTexture* texture;
    float alpha;
    float x, y, z;
};
