// The play state: owns the scene of a round, runs the climb frame by frame, keeps score and level,
// and leads through the pause, game-over, name-entry and retry boxes.
#pragma once

#include "app/AppState.h"
#include "game/ClimbRecorder.h"
#include "game/ClimbView.h"

class cApplication;
class cBitmapFont;
class cBrick;
class cCamera;
class cCursor;
class cHighScoreTable;
class cInfoBox;
class cMenuButton;
class cMusic;
class cNameBox;
class cObject;
class cObjectList;
class cPlayer;
class cSound;
class cTow;
class cWitch;
namespace testkit {
class ClimbSetup;
}

class cWorldApp : public cAppState {
public:
    // Finished: the kill box after the last level, over a new round that waits
    // for the finished game's score to be offered to the table.
    enum Phase { Climbing = 0, GoalPlaced = 1, LevelDone = 2, Fallen = 3, NameEntry = 4, RetryChoice = 5, Finished = 6 };
    // What an object of the scene is to the figure (cObject::kind).
    enum Kind { NoPlatform = 0, OrdinaryBrick = 1, FloorBrick = 2, GoalBrick = 3 };

    // A watched game (a replay played again) files no score and asks the
    // application for no other screen.
    explicit cWorldApp(bool watched = false);
    ~cWorldApp() override;
    cWorldApp(const cWorldApp&) = delete;
    cWorldApp& operator=(const cWorldApp&) = delete;

    int load() override;
    int activate(bool on) override;
    // One frame of the climb, played at playedFps(fps) as passesFor(fps)
    // passes of equal length.
    int update(float fps) override;
    int draw() override;
    void keyDown(int sym) override;
    void mouseDown(int button, int x, int y) override;
    void focusLost() override;
    // The climb as a player sees it now (once loaded).
    cClimbView view() const;
    // The climb that ended last, recorded, or null.
    const cReplay* lastClimb() const { return recorder.ended(); }
    int climbsEnded() const { return recorder.endings(); }

    // How many equal passes of the climb a frame at this rate is played in:
    // one, unless the frame is longer than the longest pass allowed.
    static int passesFor(float fps);
    // The rate a frame is played at: its own, or that of the longest frame
    // played (climb::kLongestFrameMs) when it lasted longer.
    static float playedFps(float fps);

private:
    friend class testkit::ClimbSetup;  // the tests' named set-ups

    // The application this game answers to: none when it is only watched.
    cApplication* application() const;
    // The round's scene.
    void setupRound();
    void clearRound();
    void removeBricks();
    cBrick* topBrick() const;
    void spawnBrick();
    void preloadOverlays();
    // How much faster than level 0 the world moves: 0.1 x level + 1.1.
    float levelFactor() const;
    // One pass of the climb over 1 / fps seconds, and its steps.
    void playPass(float fps);
    void readMouse();
    void run();
    void endLevelWhenWitchGone();
    void endClimbWhenFallen();
    void steerPlayer();
    void updateObjects(float fps, float f);
    void applyGravity(float fps, float f);
    bool resolveObjects();
    void advanceClimb(float fps);
    // Round end and levels.
    bool finishFall();
    void finishLevel();
    void finishRound();
    bool entersTable(unsigned int points) const;
    void openNameBox(unsigned int points);
    bool offerFinishedScore();
    // Contact rules per brick kind.
    void checkContact(cObject* brick);
    bool touches(const cPlayer& who, const cObject& brick) const;
    void pushAside(const cObject& brick);
    bool meetsFromAbove(const cObject& brick);
    void restOn(const cObject& brick);
    void landOnBrick(cObject* brick);
    void landOnFloor(const cObject& brick);
    void landOnGoal(const cObject& brick);
    void bounceFrom(cObject* brick);
    void callWitch();
    // Input.
    void nameEntryKey(int sym);
    void fileName();
    void offerScoreOrLeaveRound();
    void abandonRound();
    bool waitsBehindBox() const;
    void togglePause();
    void resumeFromBox();
    void retryClick();
    // Scene helpers.
    cBrick* addBrick(float y, const cObject* reference);
    void showBox(int type);
    void dismissBox();
    void discard(cObject* object);
    int hoverValue() const;

    bool pushHold;
    bool jumpRequested;
    int phase;
    bool paused;
    unsigned int score;
    float fallSpeed;
    int mouseX, mouseY;
    cHighScoreTable* scores;
    cWitch* witch;
    cCamera* camera;
    cObjectList* objects;
    cPlayer* player;
    cBrick* floor;
    cNameBox* nameBox;
    cInfoBox* infoBox;
    cTow* tower;
    cCursor* aimMarker;
    cCursor* mousePointer;
    cBitmapFont* font;
    int level;
    cMusic* music;
    cSound* jumpSound;
    cSound* fallSound;
    cSound* goalSound;
    cMenuButton* menuButton;
    cMenuButton* againButton;
    // The score of the game finished at the last level, while the kill box shows it.
    unsigned int finishedScore;
    cClimbRecorder recorder;
    bool watched;
};
