// A recorded climb: who climbed it, what it claims to have reached, and,
// frame by frame, what the climb was given (the frame's rate, the pointer it
// read, the keys and clicks it got). Played into a fresh game from the same
// start, it climbs again exactly as it was climbed. docs/replay.md gives the
// file's layout; reading checks every length and value against the file's
// size and the game's limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct cReplayEvent {
    enum Type { Key = 0, Click = 1, FocusLost = 2 };
    int type;
    int code;  // the key's symbol, or the mouse button
    int x, y;  // where a click was made
};

struct cReplayFrame {
    float rate;  // the frames a second the frame was played at
    int pointerX;
    std::vector<cReplayEvent> events;  // given before the frame's update, in order
};

class cReplay {
public:
    static constexpr int kFormatVersion = 1;
    static constexpr std::size_t kMaxBytes = 1 << 20;
    static constexpr int kMaxEvents = 64;        // in one frame
    static constexpr int kMaxCoordinate = 1 << 16;  // of the pointer and clicks, either side of 0
    static constexpr int kMaxKey = 0xFFFF;
    static constexpr int kMaxButton = 255;
    static constexpr int kMaxNameLength = 7;

    std::string name;  // as filed: 1 to 7 letters A to Z; empty when nobody filed it
    unsigned score = 0;
    int level = 1;  // the level reached
    // The calendar second each level's bricks were laid from, one per level,
    // and then the second the round after the climb's end was laid from (its
    // bricks show on the climb's last screen).
    std::vector<std::int64_t> seeds;
    // The figure had already come to rest on the floor when the climb began
    // (the round stood still behind a box first).
    bool settled = false;
    int rulesVersion = 0;
    std::int64_t frameCount = 0;

    // Appends a frame. False (and nothing appended) when it lies outside the
    // format's limits; a climb that met one is not kept.
    bool addFrame(const cReplayFrame& frame);
    // The whole file.
    std::string bytes() const;
    // Reads a file. False, with a one-line reason, when it is damaged, cut
    // short, larger than kMaxBytes or outside the game's limits.
    static bool parse(const std::string& bytes, cReplay& out, std::string& error);
    // Reads and parses a file, reading no further than a replay may be long.
    static bool load(const std::string& path, cReplay& out, std::string& error);

    // Gives the frames back in order.
    class Reader {
    public:
        explicit Reader(const cReplay& replay);
        bool next(cReplayFrame& frame);

    private:
        const cReplay& replay;
        std::size_t offset = 0;
        std::int64_t read = 0;
        int pointerX = 0;
        float recent[3] = {0, 0, 0};
    };

private:
    friend class Reader;
    std::string frames;  // encoded
    int lastPointerX = 0;
    float recent[3] = {0, 0, 0};  // the last distinct rates, newest first
};
