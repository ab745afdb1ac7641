// One line of the high-score table: a name of at most 7 characters and a score.
#pragma once

struct cScoreEntry {
    char name[8];
    unsigned int score;
};
