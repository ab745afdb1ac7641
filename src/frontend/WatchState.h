// The menu left alone shows a climb: the best one of the table that has a
// replay, or the one shipped with the game's data, played with the game's own
// screens at its recorded pace under a small caption. Any key or click leads
// back to the menu; nothing of the replay is filed or saved.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "app/AppState.h"
#include "game/Replay.h"

class cBitmapFont;
class cHighScoreTable;
class cReplayPlayer;

class cWatchState : public cAppState {
public:
    // The climb shipped with the game, shown while no entry has a replay.
    static const char* const kShippedReplay;
    // A finished replay's last screen stays this long before the menu comes back.
    static constexpr double kHoldSeconds = 3.0;

    explicit cWatchState(const cHighScoreTable* table);
    ~cWatchState() override;

    int load() override;
    int activate(bool on) override;
    int update(float fps) override;
    int draw() override;
    void keyDown(int key) override;
    void mouseDown(int button, int x, int y) override;

    // The next activation shows this replay file rather than the table's best.
    void watch(const std::string& path) { requested = path; }
    // The replay being watched, or null when none could be read.
    const cReplayPlayer* player() const { return watched.get(); }

private:
    bool findReplay();
    void leave();

    const cHighScoreTable* table;
    std::string requested;
    cReplay replay;
    std::unique_ptr<cReplayPlayer> watched;
    std::unique_ptr<cBitmapFont> font;
    Uint32 lastTicks = 0;  // the clock when the last frame was shown
    double clock = 0.0;    // seconds watched
    double due = 0.0;      // when the next recorded frame is shown
};
