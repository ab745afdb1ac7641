// The base of everything in a scene that moves, is drawn or can be clicked.
#pragma once

class cObject {
public:
    cObject();
    virtual ~cObject() {}
    virtual void update(float fps) = 0;
    virtual void draw() = 0;

    int kind;          // what it is to the figure: a platform or not (cWorldApp::Kind)
    bool scrollHeld;   // the world holds still this pass
    float speed;       // vertical scrolling speed, units per second
    float x, y, z;
    float moveFactor;
    float hitWidth;
    float hitHeight;
};
