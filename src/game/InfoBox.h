// The message boxes laid over the play field: start info, game over, retry choice, pause and the closing box.
#pragma once

#include "media/Sprite.h"
#include "scene/Object.h"

class cBitmapFont;
class cTexture;

class cInfoBox : public cObject {
public:
    enum Type { GameInfo = 0, GameOver = 1, GameAgain = 2, Pause = 3, KillBox = 4 };

    explicit cInfoBox(int type);
    ~cInfoBox() override;
    cInfoBox(const cInfoBox&) = delete;
    cInfoBox& operator=(const cInfoBox&) = delete;

    void update(float fps) override;
    void draw() override;
    // 0 no button, 1 the menu button, 2 the again button is highlighted.
    void setHover(int h);

    // Where the retry box's two buttons stand, from the box's centre: their
    // highlights are drawn there and their click areas answer there.
    static constexpr float kMenuButtonX = -94.0f;
    static constexpr float kAgainButtonX = 87.0f;
    static constexpr float kButtonsY = 47.0f;
    // The score the box reports: the kill box shows a finished game's score
    // as ten digits, the game-over box the ended round's as "Score N".
    void setNumber(unsigned int value);

    cSprite sprite;
    cSprite* highlight;
    cTexture* menuHighlight;
    cTexture* againHighlight;
    cBitmapFont* font;
    const int type;
    int hover;
    char number[17];
};
