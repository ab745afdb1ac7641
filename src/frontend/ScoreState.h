// The high-score screen hosted by the menu: the ten best names and scores over a picture.
#pragma once

#include "app/AppState.h"

class cBitmapFont;
class cCamera;
class cCursor;
class cMenuState;
class cSprite;
struct cScoreEntry;

class cScoreState : public cAppState {
public:
    enum { rowCount = 10 };

    explicit cScoreState(cMenuState* menu);
    ~cScoreState() override;
    cScoreState(const cScoreState&) = delete;
    cScoreState& operator=(const cScoreState&) = delete;

    int load() override;
    int activate(bool on) override;
    int update(float fps) override;
    int draw() override;
    void keyDown(int key) override;
    void mouseDown(int button, int x, int y) override;

    // Writes a score as the screen shows it (always unsigned, never negative).
    static void formatScore(unsigned int score, char* out, unsigned size);
    // The y of row i, best first.
    static float rowY(int row);

    cMenuState* menu;
    cCamera* camera;
    cSprite* background;
    cSprite* caption;
    cBitmapFont* font;
    cCursor* cursor;

private:
    void drawRows();
    void drawRow(int row, const cScoreEntry& entry);
};
