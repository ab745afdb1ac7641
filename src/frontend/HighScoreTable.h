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

    char path[260];
    cScoreEntry entries[size];
};
