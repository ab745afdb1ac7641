#include "game/Replay.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "game/Climb.h"

namespace {

const char kMagic[4] = {'Z', 'R', 'P', 'L'};
// A frame's tag: bit 0 says events follow, bits 1-2 pick the rate (one of the
// last three distinct rates, or kNewRate: its 32 bits follow), and the bits
// above hold the change of the pointer's x.
const int kNewRate = 3;

std::uint64_t zigzag(std::int64_t v) { return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63); }
std::int64_t unzigzag(std::uint64_t v) { return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1); }

void putVarint(std::string& out, std::uint64_t v) {
    while (v >= 0x80) {
        out += static_cast<char>((v & 0x7F) | 0x80);
        v >>= 7;
    }
    out += static_cast<char>(v);
}

std::uint32_t bitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

bool validRate(float rate) { return rate > 0.0f; }  // also +inf (a frame of 0 ms); never NaN
bool validCoordinate(std::int64_t v) { return v >= -cReplay::kMaxCoordinate && v <= cReplay::kMaxCoordinate; }

// Reads the file's bytes front to back; the first failure is kept as the reason.
class Cursor {
public:
    Cursor(const std::string& bytes, std::size_t offset) : bytes(bytes), offset(offset) {}
    std::size_t left() const { return bytes.size() - offset; }
    std::size_t at() const { return offset; }
    bool fail(const std::string& why) {
        if (error.empty()) error = why + " (at byte " + std::to_string(offset) + ")";
        return false;
    }
    bool byte(unsigned& out) {
        if (!left()) return fail("the file ends too early");
        out = static_cast<unsigned char>(bytes[offset++]);
        return true;
    }
    bool text(std::size_t length, std::string& out) {
        if (left() < length) return fail("the file ends too early");
        out = bytes.substr(offset, length);
        offset += length;
        return true;
    }
    bool varint(std::uint64_t& out, std::uint64_t max, const char* what) {
        out = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            unsigned b = 0;
            if (!byte(b)) return false;
            out |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return out <= max || fail(std::string(what) + " is out of range");
        }
        return fail(std::string(what) + " is not a number");
    }
    bool signedVarint(std::int64_t& out, const char* what) {
        std::uint64_t raw = 0;
        if (!varint(raw, UINT64_MAX, what)) return false;
        out = unzigzag(raw);
        return true;
    }
    std::string error;

private:
    const std::string& bytes;
    std::size_t offset;
};

// The coding of rates, shared by writing and reading: each frame names one of
// the last three distinct rates, or brings a new one.
int rateSlot(const float (&recent)[3], float rate) {
    for (int i = 0; i < 3; ++i)
        if (bitsOf(recent[i]) == bitsOf(rate)) return i;
    return kNewRate;
}
void useRate(float (&recent)[3], int slot, float rate) {
    for (int i = slot == kNewRate ? 2 : slot; i > 0; --i) recent[i] = recent[i - 1];
    recent[0] = rate;
}

bool readEvent(Cursor& in, cReplayEvent& event) {
    std::uint64_t type = 0, code = 0;
    std::int64_t x = 0, y = 0;
    if (!in.varint(type, cReplayEvent::FocusLost, "an event's type")) return false;
    event = cReplayEvent{static_cast<int>(type), 0, 0, 0};
    if (type == cReplayEvent::Key) {
        if (!in.varint(code, cReplay::kMaxKey, "a key")) return false;
    } else if (type == cReplayEvent::Click) {
        if (!in.varint(code, cReplay::kMaxButton, "a button") || !in.signedVarint(x, "a click") || !in.signedVarint(y, "a click"))
            return false;
        if (!validCoordinate(x) || !validCoordinate(y)) return in.fail("a click lies outside any window");
    } else {
        return true;
    }
    event.code = static_cast<int>(code);
    event.x = static_cast<int>(x);
    event.y = static_cast<int>(y);
    return true;
}

bool readFrame(Cursor& in, int& pointerX, float (&recent)[3], cReplayFrame& frame) {
    std::uint64_t tag = 0;
    if (!in.varint(tag, UINT64_MAX, "a frame")) return false;
    const int slot = static_cast<int>(tag >> 1 & 3);
    float rate = recent[slot == kNewRate ? 0 : slot];
    if (slot == kNewRate) {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned b = 0;
            if (!in.byte(b)) return false;
            bits |= static_cast<std::uint32_t>(b) << (8 * i);
        }
        std::memcpy(&rate, &bits, sizeof rate);
    }
    if (!validRate(rate)) return in.fail("a frame has no valid rate");
    useRate(recent, slot, rate);
    const std::int64_t x = pointerX + unzigzag(tag >> 3);
    if (!validCoordinate(x)) return in.fail("the pointer lies outside any window");
    pointerX = static_cast<int>(x);
    frame.rate = rate;
    frame.pointerX = pointerX;
    frame.events.clear();
    if (!(tag & 1)) return true;
    std::uint64_t count = 0;
    if (!in.varint(count, cReplay::kMaxEvents, "a frame's event count")) return false;
    if (count == 0) return in.fail("a frame's events are missing");
    frame.events.resize(count);
    for (cReplayEvent& event : frame.events)
        if (!readEvent(in, event)) return false;
    return true;
}

}  // namespace

bool cReplay::addFrame(const cReplayFrame& frame) {
    if (!validRate(frame.rate) || !validCoordinate(frame.pointerX) || frame.events.size() > kMaxEvents) return false;
    for (const cReplayEvent& e : frame.events) {
        const bool fits = e.type == cReplayEvent::FocusLost ||
                          (e.type == cReplayEvent::Key && e.code >= 0 && e.code <= kMaxKey) ||
                          (e.type == cReplayEvent::Click && e.code >= 0 && e.code <= kMaxButton && validCoordinate(e.x) &&
                           validCoordinate(e.y));
        if (!fits) return false;
    }
    const int slot = rateSlot(recent, frame.rate);
    putVarint(frames, zigzag(frame.pointerX - lastPointerX) << 3 | static_cast<std::uint64_t>(slot) << 1 |
                          (frame.events.empty() ? 0 : 1));
    if (slot == kNewRate)
        for (int i = 0; i < 4; ++i) frames += static_cast<char>(bitsOf(frame.rate) >> (8 * i) & 0xFF);
    useRate(recent, slot, frame.rate);
    lastPointerX = frame.pointerX;
    if (!frame.events.empty()) {
        putVarint(frames, frame.events.size());
        for (const cReplayEvent& e : frame.events) {
            putVarint(frames, static_cast<std::uint64_t>(e.type));
            if (e.type == cReplayEvent::FocusLost) continue;
            putVarint(frames, static_cast<std::uint64_t>(e.code));
            if (e.type == cReplayEvent::Key) continue;
            putVarint(frames, zigzag(e.x));
            putVarint(frames, zigzag(e.y));
        }
    }
    ++frameCount;
    return true;
}

std::string cReplay::bytes() const {
    std::string out(kMagic, sizeof kMagic);
    putVarint(out, kFormatVersion);
    putVarint(out, static_cast<std::uint64_t>(rulesVersion));
    out += static_cast<char>(name.size());
    out += name;
    putVarint(out, score);
    putVarint(out, static_cast<std::uint64_t>(level));
    std::int64_t previous = 0;
    for (std::int64_t seed : seeds) {
        putVarint(out, zigzag(static_cast<std::int64_t>(static_cast<std::uint64_t>(seed) - static_cast<std::uint64_t>(previous))));
        previous = seed;
    }
    out += static_cast<char>(settled ? 1 : 0);
    putVarint(out, static_cast<std::uint64_t>(frameCount));
    return out + frames;
}

bool cReplay::parse(const std::string& bytes, cReplay& out, std::string& error) {
    out = cReplay();
    if (bytes.size() > kMaxBytes) return error = "the file is larger than " + std::to_string(kMaxBytes) + " bytes", false;
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic))
        return error = "this is not a replay", false;
    Cursor in(bytes, sizeof kMagic);
    std::uint64_t version = 0, rules = 0, score = 0, level = 0, frameCount = 0;
    unsigned nameLength = 0, settled = 0;
    bool ok = in.varint(version, UINT64_MAX, "the format version") &&
              (version == kFormatVersion || in.fail("the format version " + std::to_string(version) + " is not known")) &&
              in.varint(rules, INT_MAX, "the rules' version") && in.byte(nameLength) &&
              (nameLength <= kMaxNameLength || in.fail("the name is too long")) && in.text(nameLength, out.name);
    for (char c : out.name)
        if (c < 'A' || c > 'Z') ok = in.fail("the name is not letters A to Z");
    ok = ok && in.varint(score, UINT_MAX, "the score") && in.varint(level, climb::kLastLevel, "the level") &&
         (level >= 1 || in.fail("the level is out of range"));
    std::int64_t seed = 0;
    for (std::uint64_t i = 0; ok && i <= level; ++i) {
        std::int64_t delta = 0;
        ok = in.signedVarint(delta, "a level's seed");
        seed = static_cast<std::int64_t>(static_cast<std::uint64_t>(seed) + static_cast<std::uint64_t>(delta));
        out.seeds.push_back(seed);
    }
    ok = ok && in.byte(settled) && (settled <= 1 || in.fail("the start is neither settled nor not")) &&
         in.varint(frameCount, UINT64_MAX, "the frame count") &&
         (frameCount <= in.left() || in.fail("the file is cut short: it cannot hold its " + std::to_string(frameCount) + " frames"));
    if (ok) {
        out.rulesVersion = static_cast<int>(rules);
        out.score = static_cast<unsigned>(score);
        out.level = static_cast<int>(level);
        out.settled = settled == 1;
        out.frameCount = static_cast<std::int64_t>(frameCount);
        out.frames = bytes.substr(in.at());
        // Every frame is read once here, so that playing it can no longer fail.
        int pointerX = 0;
        float recent[3] = {0, 0, 0};
        cReplayFrame frame;
        for (std::uint64_t i = 0; ok && i < frameCount; ++i) ok = readFrame(in, pointerX, recent, frame);
        if (ok && in.left()) ok = in.fail("the file goes on after its last frame");
        out.lastPointerX = pointerX;
        std::memcpy(out.recent, recent, sizeof recent);
    }
    if (!ok) {
        error = in.error;
        out = cReplay();
    }
    return ok;
}

bool cReplay::load(const std::string& path, cReplay& out, std::string& error) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return error = std::strerror(errno), false;
    std::string bytes;
    char chunk[65536];
    std::size_t n;
    while (bytes.size() <= kMaxBytes && (n = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.append(chunk, n);
    const bool failed = std::ferror(in);
    std::fclose(in);
    if (failed) return error = "the file cannot be read", false;
    return parse(bytes, out, error);
}

cReplay::Reader::Reader(const cReplay& replay) : replay(replay) {}

bool cReplay::Reader::next(cReplayFrame& frame) {
    if (read >= replay.frameCount) return false;
    Cursor in(replay.frames, offset);
    if (!readFrame(in, pointerX, recent, frame)) return false;
    offset = in.at();
    ++read;
    return true;
}
