// Reads arbitrary bytes as a replay. Whatever the reader accepts, it gives
// back frame by frame, the writer takes again, and the file written anew reads
// back and is written again byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/Replay.h"

namespace {
void fail(const char* what) {
    std::fprintf(stderr, "replay_fuzz: %s\n", what);
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cReplay replay;
    std::string error;
    if (!cReplay::parse(std::string(reinterpret_cast<const char*>(data), size), replay, error)) {
        if (error.empty()) fail("a refusal without a reason");
        return 0;
    }
    cReplay copy;
    copy.name = replay.name, copy.score = replay.score, copy.level = replay.level, copy.seeds = replay.seeds;
    copy.settled = replay.settled, copy.rulesVersion = replay.rulesVersion;
    cReplay::Reader reader(replay);
    cReplayFrame frame;
    std::int64_t frames = 0;
    for (; reader.next(frame); ++frames)
        if (!copy.addFrame(frame)) fail("a frame read is refused by the writer");
    if (frames != replay.frameCount) fail("the reader gives another number of frames");
    cReplay again;
    if (!cReplay::parse(copy.bytes(), again, error)) fail(("the file written anew is refused: " + error).c_str());
    if (again.bytes() != copy.bytes() || again.name != replay.name || again.seeds != replay.seeds) fail("the file changes");
    return 0;
}
