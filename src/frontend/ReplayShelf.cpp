#include "frontend/ReplayShelf.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "frontend/HighScoreTable.h"
#include "game/Replay.h"

namespace fs = std::filesystem;

namespace {
const char* const kExtension = ".zrp";

// The entry's name without the table's padding, when it is all letters.
std::string filedName(const cScoreEntry& entry) {
    std::string name(entry.name, strnlen(entry.name, sizeof entry.name));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty() || name.size() > cReplay::kMaxNameLength) return "";
    for (char c : name)
        if (c < 'A' || c > 'Z') return "";
    return name;
}
}  // namespace

cReplayShelf::cReplayShelf(const cHighScoreTable& table)
    : table(table), folder((fs::path(table.path).parent_path() / "replays").string()) {}

std::string cReplayShelf::pathFor(const cScoreEntry& entry) const {
    const std::string name = filedName(entry);
    if (name.empty()) return "";
    return (fs::path(folder) / (name + "-" + std::to_string(entry.score) + kExtension)).string();
}

bool cReplayShelf::keep(const cScoreEntry& entry, const cReplay& climb) const {
    const std::string path = pathFor(entry);
    if (path.empty()) return false;
    cReplay named = climb;
    named.name = filedName(entry);
    std::error_code error;
    fs::create_directories(folder, error);
    // Written aside and moved into place, so that a replay is whole or absent.
    const std::string part = path + ".part";
    std::FILE* out = std::fopen(part.c_str(), "wb");
    if (!out) return false;
    const std::string bytes = named.bytes();
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) return fs::remove(part, error), false;
    fs::rename(part, path, error);
    removeLeftEntries();
    return !error;
}

void cReplayShelf::removeLeftEntries() const {
    std::set<std::string> kept;
    for (const cScoreEntry& entry : table.entries) kept.insert(pathFor(entry));
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path file = it->path();
        if (file.extension() == kExtension && !kept.count(file.string())) fs::remove(file, error);
    }
}

bool cReplayShelf::best(cReplay& out) const {
    for (const cScoreEntry& entry : table.entries) {  // best first
        const std::string path = pathFor(entry);
        std::string error;
        if (!path.empty() && cReplay::load(path, out, error) && out.score == entry.score) return true;
    }
    return false;
}
