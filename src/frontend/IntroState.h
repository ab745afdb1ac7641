// The intro: a 34-second slideshow of three cross-faded pictures with music, then the game.
#pragma once

#include "app/AppState.h"
#include "media/Sprite.h"

class cCamera;
class cMusic;

class cIntroState : public cAppState {
public:
    enum { slideCount = 3 };

    cIntroState();
    ~cIntroState() override;
    cIntroState(const cIntroState&) = delete;
    cIntroState& operator=(const cIntroState&) = delete;

    int load() override;
    int activate(bool on) override;
    int update(float fps) override;
    int draw() override;
    void keyDown(int key) override;
    void mouseDown(int button, int x, int y) override;

    // The phase of the show at a clock time: 0 first slide, 1 and 2 the
    // cross-fades to the next slides, 3 over.
    static int phaseAt(float clock);

    cCamera* camera;
    cMusic* music;
    cSprite slides[slideCount];
    float slideClock;
    int shownSlide;
    int incomingSlide;
    float fadeLevel;
    int slidePhase;

private:
    void restart();
    void advanceFade(float dt);
    void showPhase(int phase);
    void drawSlide(int index);
    void skip();
};
