// Replays: climbs played by a restless hand play again to the very same
// recording; damaged files are refused with their reason; a filed climb is
// kept beside the table; the menu left alone shows one.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/MenuState.h"
#include "frontend/ReplayShelf.h"
#include "frontend/WatchState.h"
#include "game/Replay.h"
#include "game/ReplayPlayer.h"

namespace {

std::string varint(unsigned long long v) {
    std::string out;
    for (; v >= 0x80; v >>= 7) out += char((v & 0x7F) | 0x80);
    return out + char(v);
}

// A file's parts, each already encoded; a row of a table changes one.
struct File {
    std::string magic = "ZRPL", version = varint(1), rules = varint(1), name = std::string("\2AB", 3), score = varint(7),
                level = varint(2), seeds = varint(2000) + varint(2) + varint(8), settled = std::string(1, '\0'), count = varint(2),
                frames = varint(3 << 1) + std::string("\0\0\x70\x42", 4) + varint(1 << 3 | 1) + varint(3) + varint(0) + varint(112) +
                         varint(1) + varint(1) + varint(2 * 700) + varint(2 * 20) + varint(2);
    std::string bytes() const { return magic + version + rules + name + score + level + seeds + settled + count + frames; }
};

}  // namespace

// Every part of the file, each kind of frame and event: the writer's side is
// checked by playing climbs again (below) and by the fuzz target.
TEST(ReplayFile, ReadsBackWhatItWrites) {
    cReplay replay;
    std::string error;
    ASSERT_TRUE(cReplay::parse(File().bytes(), replay, error)) << error;
    EXPECT_EQ(replay.name + " " + std::to_string(replay.score) + " " + std::to_string(replay.level), "AB 7 2");
    EXPECT_EQ(replay.seeds, (std::vector<std::int64_t>{1000, 1001, 1005}));
    cReplay::Reader reader(replay);
    cReplayFrame f;
    ASSERT_TRUE(reader.next(f) && f.rate == 60.0f && f.pointerX == 0 && f.events.empty());
    ASSERT_TRUE(reader.next(f) && f.rate == 60.0f && f.pointerX == -1 && f.events.size() == 3);
    EXPECT_TRUE(f.events[0].type == cReplayEvent::Key && f.events[0].code == 112);
    EXPECT_TRUE(f.events[1].type == cReplayEvent::Click && f.events[1].code == 1 && f.events[1].x == 700 && f.events[1].y == 20);
    EXPECT_EQ(f.events[2].type, cReplayEvent::FocusLost);
    EXPECT_FALSE(reader.next(f));
}

TEST(ReplayFile, RefusesDamagedFilesWithTheirReason) {
    const struct { std::function<void(File&)> damage; const char* reason; } rows[] = {
        {[](File& f) { f.magic = "ZRPM"; }, "this is not a replay"},
        {[](File& f) { f.version = varint(2); }, "the format version 2 is not known"},
        {[](File& f) { f.name = std::string("\x8") + "ABCDEFGH"; }, "the name is too long"},
        {[](File& f) { f.name = "\2Ab"; }, "the name is not letters A to Z"},
        {[](File& f) { f.score = varint(1ull << 32); }, "the score is out of range"},
        {[](File& f) { f.level = varint(0); }, "the level is out of range"},
        {[](File& f) { f.level = varint(16); }, "the level is out of range"},
        {[](File& f) { f.settled = "\2"; }, "the start is neither settled nor not"},
        {[](File& f) { f.count = varint(200); }, "the file is cut short: it cannot hold its 200 frames"},
        {[](File& f) { f.count = varint(1); }, "the file goes on after its last frame"},
        {[](File& f) { f.frames[3] = char(0xC0), f.frames[4] = char(0x7F); }, "a frame has no valid rate"},  // NaN
        {[](File& f) { f.frames[4] = char(0xC2); }, "a frame has no valid rate"},  // -60
        {[](File& f) { f.frames.replace(0, 1, varint((2ull << 17) << 3 | 3 << 1)); }, "the pointer lies outside any window"},
        {[](File& f) { f.frames[6] = 65; }, "a frame's event count is out of range"},
        {[](File& f) { f.frames[7] = 3; }, "an event's type is out of range"},
        {[](File& f) { f.frames.replace(8, 1, varint(0x10000)); }, "a key is out of range"},
        {[](File& f) { f.frames.replace(11, 2, varint(2 << 17)); }, "a click lies outside any window"},
        {[](File& f) { f.frames += std::string(cReplay::kMaxBytes, '\0'); }, "the file is larger than 1048576 bytes"},
    };
    for (const auto& r : rows) {
        File file;
        r.damage(file);
        cReplay replay;
        std::string error;
        EXPECT_FALSE(cReplay::parse(file.bytes(), replay, error)) << r.reason;
        EXPECT_EQ(error.substr(0, std::strlen(r.reason)), r.reason);
    }
    const std::string whole = File().bytes();
    for (std::size_t n = 0; n < whole.size(); ++n) {  // cut short anywhere
        cReplay replay;
        std::string error;
        EXPECT_FALSE(cReplay::parse(whole.substr(0, n), replay, error)) << n;
    }
}

// A hand of restless habits plays one game: the pointer wanders, and now
// and then a click, P, a lost focus or Escape comes, at frame rates from 4
// to unmeasurably fast. Each climb that ends plays again at once, beside the
// game, from a fresh game to the very same recording: the same frames,
// seeds, score and level.
TEST(Replay, EveryEndedClimbPlaysAgainToItsOwnRecording) {
    testkit::openWindow();
    testkit::FakePlatform hand;
    setPlatform(&hand);
    cWorldApp game;
    game.load();
    const float rates[] = {60.0f, 1000.0f / 17.0f, 144.0f, 10.0f, 4.0f, INFINITY};
    unsigned seed = 7;
    auto roll = [&seed](int n) { return int((seed = seed * 1103515245u + 12345u) >> 16) % n; };
    int climbs = 0, starts[2] = {0, 0};  // climbs begun settled behind a box, and straight from the menu
    for (long frame = 0; frame < 200000 && climbs < 12; ++frame) {
        hand.x = std::max(0, std::min(1023, hand.x + roll(61) - 30)), hand.seconds = 1000 + frame / 50;
        const int ended = game.climbsEnded(), what = roll(400);
        if (what == 0) game.keyDown(SDLK_p);
        if (what == 1) game.focusLost();
        if (what == 2 && roll(5) == 0) game.keyDown(SDLK_ESCAPE), game.mouseDown(1, hand.x, hand.y);  // and at once back
        if (what > 300 && roll(5) == 0) game.mouseDown(1, hand.x, hand.y);
        game.update(rates[frame / 300 % 6]);
        if (game.climbsEnded() == ended || !game.lastClimb()) continue;
        const std::string bytes = game.lastClimb()->bytes();
        cReplay replay;
        std::string error;
        ASSERT_TRUE(cReplay::parse(bytes, replay, error)) << error;
        cReplayPlayer player(replay);
        while (player.step()) {}
        ASSERT_TRUE(player.ended());
        EXPECT_EQ(player.ended()->bytes(), bytes) << "climb " << climbs << ", " << replay.frameCount << " frames";
        ++climbs, ++starts[replay.settled];
    }
    setPlatform(nullptr);
    EXPECT_EQ(climbs, 12);
    EXPECT_TRUE(starts[0] && starts[1]);
}

// A filed entry keeps its climb under its name; an entry pushed off the table
// takes its replay with it; the best entry with a readable replay is watched.
TEST(ReplayShelf, KeepsTheReplaysOfTheTablesEntries) {
    const std::string dir = testkit::tempDir();
    cHighScoreTable table;
    table.loadFromFile((dir + "/score.txt").c_str());
    cReplay climb;
    climb.seeds = {1000, 1001}, climb.rulesVersion = 1;
    const cReplayShelf shelf(table);
    for (unsigned score = 1; score <= 11; ++score) {
        const cScoreEntry entry{"P      ", score * 10};
        ASSERT_TRUE(table.fileScore(entry));
        climb.score = entry.score;
        ASSERT_TRUE(shelf.keep(entry, climb));
    }
    EXPECT_EQ(shelf.pathFor(table.entries[0]), dir + "/replays/P-110.zrp");
    EXPECT_EQ(shelf.pathFor(cScoreEntry{"p", 1}), "");
    EXPECT_FALSE(std::ifstream(dir + "/replays/P-10.zrp")) << "the eleventh score left the table";
    EXPECT_TRUE(std::ifstream(dir + "/replays/P-20.zrp"));
    testkit::writeFile(dir + "/replays/P-110.zrp", "damaged");
    cReplay best;
    ASSERT_TRUE(shelf.best(best));
    EXPECT_EQ(best.name + " " + std::to_string(best.score), "P 100");
}

// Thirty seconds of a still pointer on the main menu, by the clock, bring
// the shipped climb on, played at its pace, with the game's screens and its
// caption; a click leads back.
TEST(Attract, TheMenuLeftAloneShowsAClimbUntilAClick) {
    testkit::openWindow();
    struct : testkit::FakePlatform {
        Uint32 getTicks() override { return ms; }
        Uint32 ms = 5000;
    } pointer;
    setPlatform(&pointer);
    cApplication& app = testkit::app();
    cHighScoreTable table;
    cMenuState menu;
    cWatchState watch(&table);
    menu.load(), watch.load();
    app.requestedState = kMenuState;
    menu.activate(true);
    for (int frame = 1; frame < 1998; ++frame) {
        if (frame == 500) pointer.x = 1;  // a move starts the wait afresh
        pointer.ms += frame % 3 ? 0 : 60;  // two of three frames too short for the clock
        menu.update(60.0f);
    }
    EXPECT_EQ(app.requestedState, kMenuState);
    pointer.ms += 60;
    menu.update(60.0f);
    EXPECT_EQ(app.requestedState, kWatchState);
    watch.activate(true);
    ASSERT_TRUE(watch.player());
    for (int frame = 0; frame < 600; ++frame) pointer.ms += 20, watch.update(50.0f);
    EXPECT_NEAR(watch.player()->framesPlayed(), 720, 1);  // twelve seconds of a climb recorded at 60 a second
    const testkit::Frame shown = testkit::drawnFrame(watch);
    watch.mouseDown(1, 500, 400);
    EXPECT_EQ(app.requestedState, kMenuState);
    watch.activate(false);
    setPlatform(nullptr);
    int caption = 0;  // the caption's lit pixels along the bottom
    for (int x = 0; x < 1024; ++x) caption += shown.at(x, 740)[0] > 200;
    EXPECT_GT(caption, 20);
}
