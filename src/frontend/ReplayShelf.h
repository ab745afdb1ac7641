// The replays of the high-score table's entries: one file per entry in
// "replays/" beside the table's file, named by the entry's name and score, so
// that score.txt keeps its format. An entry without a file has no replay.
#pragma once

#include <string>

class cHighScoreTable;
class cReplay;
struct cScoreEntry;

class cReplayShelf {
public:
    explicit cReplayShelf(const cHighScoreTable& table);

    // Where an entry's replay is kept; "" for a name the game cannot file.
    std::string pathFor(const cScoreEntry& entry) const;
    // Keeps the climb of an entry just filed, under the entry's name, then
    // removes the replays of the entries that have left the table. False
    // when the file cannot be written.
    bool keep(const cScoreEntry& entry, const cReplay& climb) const;
    // The replay of the best entry that has a readable one.
    bool best(cReplay& out) const;

private:
    void removeLeftEntries() const;

    const cHighScoreTable& table;
    std::string folder;
};
