// The ten best scores, best first, kept in score.txt between runs.
#pragma once

#include "frontend/ScoreEntry.h"

class cHighScoreTable {
public:
    enum { size = 10 };
    cHighScoreTable();

    bool loadFromFile(const char* path);
    bool saveToFile();
    void addScore(const cScoreEntry& entry);
    void insertAt(int rank, const char* name, unsigned int score);
    // Files a new score into the table as its file holds it now (another copy
    // of the game may have filed scores since this one read it) and saves
    // that; the entries become the merged table.
    bool fileScore(const cScoreEntry& entry);

    char path[260];
    cScoreEntry entries[size];

private:
    // Reads the file at `path` into `into`; false when it cannot be opened.
    bool readFile(cScoreEntry (&into)[size]) const;
};
