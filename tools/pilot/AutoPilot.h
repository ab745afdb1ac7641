// A steering policy that plays the game as a person with perfect eyes: it looks at the scene
// (read-only) and decides where the pointer goes and what is clicked or pressed each frame.
#pragma once

#include "game/ClimbView.h"

class cObject;
class cSimPlatform;
class cWorldApp;

struct cPilotInput {
    int mouseX;
    int mouseY;
    bool click;  // a left button press this frame
    int key;     // an SDL key symbol pressed this frame, or -1
};

class cAutoPilot {
public:
    explicit cAutoPilot(float fps);
    // Aims for another frame rate from now on (the rate the frames really take).
    void setRate(float fps);
    // Decides this frame's input from what the previous frame left on screen.
    void decide(const cClimbView& game, cPilotInput& input);
    // Decides and hands the input to the game as a player would: the pointer
    // through the platform, then the key press and the click.
    void play(cWorldApp& game, cSimPlatform& platform);

private:
    struct Span {
        float lo, hi;
    };
    enum { maxSpans = 24, maxBricks = 32 };

    void collectBricks(const cClimbView& game);
    void steerOnFloor(const cClimbView& game, cPilotInput& input);
    void steerInAir(const cClimbView& game, cPilotInput& input);
    const cObject* reachableTarget(float apexY) const;
    float landingPoint(const cObject& target, float preferred);
    void forbidSweep(float circleTop, float circleBottom, const cObject* target, bool targetFull);
    void forbidWhole(const cObject& brick);
    void forbidEdges(const cObject& brick);
    float closestAllowed(float lo, float hi, float preferred) const;
    float reachableAllowed(float x, float lo, float hi, float preferred) const;
    bool allowed(float x) const;
    int aimFor(const cClimbView& game, float desiredX) const;

    float passFps;  // the rate of one pass of the game's climb
    float gain;     // pointer distance per unit of wanted walk, for one frame
    const cObject* bricks[maxBricks];
    int brickCount;
    const cObject* floor;
    Span forbidden[maxSpans];
    int spanCount;
};
