#include "VerifyWorker.h"

#include <cstdint>
#include <cstdio>

#include "game/Replay.h"
#include "game/ReplayPlayer.h"
#include "media/DataFolder.h"
#include "media/ResFileException.h"
#include "media/TextureManager.h"

namespace {
bool readAll(std::FILE* in, char* into, std::size_t n) { return std::fread(into, 1, n, in) == n; }

std::string play(const std::string& bytes) {
    cReplay replay;
    std::string error;
    if (!cReplay::parse(bytes, replay, error)) return "damaged " + error;
    cReplayPlayer player(replay);
    while (player.step()) {}
    const cReplay* ended = player.ended();
    if (!ended) return "unended";
    return "played " + std::to_string(ended->score) + " " + std::to_string(ended->level) + " " +
           std::to_string(ended->frameCount);
}
}  // namespace

int runVerifyWorker(const std::string& dataFolder) {
    std::string error;
    if (!enterDataFolder(dataFolder, error)) {
        std::fprintf(stderr, "zarvo-server: %s\n", error.c_str());
        return 1;
    }
    cTextureManager::setHeadless(true);
    new cTextureManager();
    unsigned char length[4];
    while (readAll(stdin, reinterpret_cast<char*>(length), 4)) {
        const std::uint32_t n = length[0] | length[1] << 8 | length[2] << 16 | static_cast<std::uint32_t>(length[3]) << 24;
        if (n > cReplay::kMaxBytes) return 1;
        std::string bytes(n, '\0');
        if (!readAll(stdin, &bytes[0], n)) return 1;
        std::string verdict;
        try {
            verdict = play(bytes);
        } catch (cResFileException* e) {
            verdict = std::string("damaged the game's data is incomplete: ") + e->what();
            delete e;
        }
        std::printf("%s\n", verdict.c_str());
        std::fflush(stdout);
    }
    return 0;
}
