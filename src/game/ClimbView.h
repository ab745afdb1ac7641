// What a player can see of a climb, read-only: the figure, the scene's
// objects, the phase, the level and score, and the boxes. The autopilot
// steers by it and the tests look through it; neither writes the play state.
// The numbers are copies, taken when the view is; the pointers are the
// scene's live objects, which the game's next update may free: a view kept
// across an update is read for its numbers only.
#pragma once

class cInfoBox;
class cNameBox;
class cObjectList;
class cPlayer;
class cTow;
class cWitch;

struct cClimbView {
    const cPlayer* figure;
    const cObjectList* objects;
    int phase;  // cWorldApp::Phase
    int level;
    unsigned int score;
    bool paused;
    float fallSpeed;     // the world's, units per second, positive downward
    float levelFactor;   // how much faster than level 0 the world moves
    bool jumpAsked;      // a click on the floor waits for the figure's next contact
    int pointerX, pointerY;  // where the game last read the pointer
    float againX, againY;    // the retry box's Again button
    const cInfoBox* box;     // the box over the round, if any (not the name box)
    const cNameBox* nameBox;
    const cWitch* witch;
    const cTow* tower;
};
