// A verifying worker: the server's own program started as
// `zarvo-server --verify DATA`. It reads replays from its input, plays each
// again with the game's own code, and writes what each reached. The game keeps
// state of its own, so a process plays one climb at a time.
// In: a 4-byte little-endian length, then that many bytes of replay.
// Out: one line: "played SCORE LEVEL FRAMES", "unended", or "damaged REASON".
#pragma once

#include <string>

// Plays replays until its input ends; the game's data folder is DATA.
int runVerifyWorker(const std::string& dataFolder);
