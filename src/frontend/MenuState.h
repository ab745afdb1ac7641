// The main menu: a full-screen picture with four hovered buttons, hosting the high-score and credits screens.
#pragma once

#include <SDL.h>

#include "app/AppState.h"

class cAutorsState;
class cCamera;
class cCursor;
class cMenuButton;
class cMusic;
class cScoreState;
class cSprite;
class cTexture;

class cMenuState : public cAppState {
public:
    enum { mainMenu = 0, scoreScreenShown = 1, creditsScreenShown = 2 };
    // The main menu left alone this long shows a replay.
    static constexpr Uint32 kIdleMs = 30000;

    cMenuState();
    ~cMenuState() override;
    cMenuState(const cMenuState&) = delete;
    cMenuState& operator=(const cMenuState&) = delete;

    int load() override;
    int activate(bool on) override;
    int update(float fps) override;
    int draw() override;
    void keyDown(int key) override;
    void mouseDown(int button, int x, int y) override;

    cCamera* camera;
    int mouseX;
    int mouseY;
    int subScreen;
    cMusic* music;
    cSprite* background;
    cCursor* cursor;
    cMenuButton* quitButton;
    cMenuButton* creditsButton;
    cMenuButton* scoresButton;
    cMenuButton* startButton;
    cSprite* highlight;
    cTexture* startHighlight;
    cTexture* scoresHighlight;
    cTexture* creditsHighlight;
    cTexture* quitHighlight;
    cScoreState* scoreScreen;
    cAutorsState* creditsScreen;
    Uint32 idleSince;  // the clock's ticks when the player last moved, pressed or clicked

private:
    void loadButtons();
    void readPointer();
    void updateMainMenu(float fps);
    void drawMainMenu();
    void drawHighlight();
    void clickMainMenu(int button, int x, int y);
};
