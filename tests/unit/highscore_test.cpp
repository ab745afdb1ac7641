// The high-score table: ranking, the score file's layout, hostile files, and a save that never
// leaves a half-written file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "TestKit.h"
#include "frontend/HighScoreTable.h"

namespace {

cScoreEntry entry(const char* name, unsigned int score) {
    cScoreEntry e{};
    std::snprintf(e.name, sizeof e.name, "%s", name);
    e.score = score;
    return e;
}

std::string fileWith(const std::string& bytes) {
    const std::string path = testkit::tempDir() + "/score.txt";
    testkit::writeFile(path, bytes);
    return path;
}

// The filled entries in rank order as "NAME score, NAME score".
std::string ranked(const cHighScoreTable& t) {
    std::string out;
    for (const cScoreEntry& e : t.entries)
        if (e.name[0]) out += (out.empty() ? "" : ", ") + std::string(e.name) + " " + std::to_string(e.score);
    return out;
}

void expectOrdered(const cHighScoreTable& t) {
    bool emptySeen = false;
    for (int i = 0; i < cHighScoreTable::size; ++i) {
        const cScoreEntry& e = t.entries[i];
        ASSERT_LT(std::strlen(e.name), 8u);
        if (e.name[0] == '\0') {
            emptySeen = true;
            EXPECT_EQ(e.score, 0u);
            continue;
        }
        EXPECT_FALSE(emptySeen) << "named entry after an empty one at " << i;
        if (i > 0 && t.entries[i - 1].name[0]) {
            EXPECT_GE(t.entries[i - 1].score, e.score);
        }
    }
}

TEST(HighScoreRanking, EmptyTableTakesAnyPositiveScoreAtTheTop) {
    cHighScoreTable t;
    t.addScore(entry("A", 1));
    t.addScore(entry("Z", 0));
    EXPECT_EQ("A 1", ranked(t));
}

TEST(HighScoreRanking, TiesGoBelowAndTheTenthIsLost) {
    cHighScoreTable t;
    for (int i = 0; i < 10; ++i) t.insertAt(i, ("N" + std::to_string(i)).c_str(), 100 - 10 * i);
    const std::string full = ranked(t);
    t.addScore(entry("TEN", 10));  // equal to the tenth: no change
    EXPECT_EQ(full, ranked(t));
    t.addScore(entry("TIE", 70));  // equal to rank 3: goes to rank 4
    t.addScore(entry("LOW", 21));  // beats only the tenth: overwritten in place
    EXPECT_EQ("N0 100, N1 90, N2 80, N3 70, TIE 70, N4 60, N5 50, N6 40, N7 30, LOW 21", ranked(t));
}

TEST(ScoreFile, SavedLinesAndTrailingSpaces) {
    const std::string path = fileWith("");
    cHighScoreTable t;
    ASSERT_TRUE(t.loadFromFile(path.c_str()));
    EXPECT_STREQ(t.path, path.c_str());
    t.addScore(entry("ABC    ", 1234));
    t.addScore(entry("XY", 0));
    t.addScore(entry("Q", 7));
    ASSERT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(path), "ABC     1234\nQ 7\n");
    EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0);

    cHighScoreTable back;
    back.loadFromFile(path.c_str());
    EXPECT_EQ("ABC 1234, Q 7", ranked(back));
    back.saveToFile();
    EXPECT_EQ(testkit::readFile(path), "ABC 1234\nQ 7\n");
}

TEST(ScoreFile, EmptyTableWritesEmptyFileAndMissingFileIsFalse) {
    const std::string dir = testkit::tempDir();
    cHighScoreTable t;
    EXPECT_FALSE(t.loadFromFile((dir + "/none.txt").c_str()));
    EXPECT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(dir + "/none.txt"), "");
}

TEST(ScoreFile, WindowsLineEndsAndOverlongFiles) {
    std::string crlf, many;
    for (int i = 0; i < 12; ++i) {
        crlf += "P" + std::to_string(i) + " " + std::to_string(100 - i) + "\r\n";
        many += "P" + std::to_string(i) + " " + std::to_string(100 - i) + "\n";
    }
    cHighScoreTable a, b;
    a.loadFromFile(fileWith(crlf).c_str());
    const std::string path = fileWith(many);
    b.loadFromFile(path.c_str());
    EXPECT_EQ(ranked(a), ranked(b));
    EXPECT_STREQ(b.entries[9].name, "P9");
    b.saveToFile();
    EXPECT_EQ(testkit::readFile(path), many.substr(0, many.find("P10")));
}

TEST(ScoreFile, ShortFileWithoutFinalNewline) {
    cHighScoreTable t;
    t.loadFromFile(fileWith("AB 5\nCD 3").c_str());
    EXPECT_EQ("AB 5, CD 3", ranked(t));
}

TEST(ScoreFile, MalformedContentStaysInsideTheFields) {
    const char rawBytes[] = "\x01\x02\xff\x00\x7f 12\n\x00\x00\x00 3 \xfe\xfe 9\n";
    const std::string binary(rawBytes, sizeof rawBytes - 1);
    const std::string cases[] = {
        "AVERYLONGNAMEINDEED 500\nB 400\n",
        "X notanumber\nY 30\n",
        binary,
        "LOW 1\nHIGH 999\nMID 50\n",
        "N 99999999999999999999\n",
        "-5 -5 +3 +3\n",
        std::string(1 << 20, 'A') + " 7\nB 6\n",
        std::string(300000, '\n'),
        "ONLYNAME",
    };
    for (const std::string& bytes : cases) {
        cHighScoreTable t;
        EXPECT_TRUE(t.loadFromFile(fileWith(bytes).c_str()));
        expectOrdered(t);
    }
    cHighScoreTable t, sorted;
    t.loadFromFile(fileWith(cases[0]).c_str());
    EXPECT_EQ("AVERYLO 500, B 400", ranked(t));
    sorted.loadFromFile(fileWith(cases[3]).c_str());
    EXPECT_EQ("HIGH 999, MID 50, LOW 1", ranked(sorted));

    cHighScoreTable huge;
    huge.loadFromFile(fileWith(cases[4]).c_str());
    EXPECT_STREQ(huge.entries[0].name, "N");
    EXPECT_GT(huge.entries[0].score, 0u);
}

TEST(ScoreFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string dir = testkit::tempDir();
    const std::string path = dir + "/score.txt";
    testkit::writeFile(path, "OLD 10\n");
    cHighScoreTable t;
    t.loadFromFile(path.c_str());
    t.addScore(entry("NEW", 20));

    ASSERT_EQ(mkdir((path + ".tmp").c_str(), 0700), 0);  // the temporary file cannot be made
    EXPECT_FALSE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(path), "OLD 10\n");
    rmdir((path + ".tmp").c_str());

    if (geteuid() != 0) {  // a read-only directory stops only unprivileged users
        chmod(dir.c_str(), 0500);
        EXPECT_FALSE(t.saveToFile());
        EXPECT_EQ(testkit::readFile(path), "OLD 10\n");
        chmod(dir.c_str(), 0700);
    }
    EXPECT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(path), "NEW 20\nOLD 10\n");

    cHighScoreTable nowhere;
    nowhere.loadFromFile((dir + "/missing/score.txt").c_str());
    EXPECT_FALSE(nowhere.saveToFile());
}

// A player who keeps score.txt elsewhere through a link, or guards its
// permissions, finds both as they were after a save.
TEST(ScoreFile, SaveKeepsTheLinkAndTheFileMode) {
    const std::string dir = testkit::tempDir();
    ASSERT_EQ(mkdir((dir + "/kept").c_str(), 0700), 0);
    testkit::writeFile(dir + "/kept/table", "OLD 10\n");
    ASSERT_EQ(chmod((dir + "/kept/table").c_str(), 0640), 0);
    ASSERT_EQ(symlink("kept/table", (dir + "/score.txt").c_str()), 0);
    ASSERT_EQ(symlink("score.txt", (dir + "/link-to-link").c_str()), 0);
    cHighScoreTable t;
    t.loadFromFile((dir + "/link-to-link").c_str());
    t.addScore(entry("NEW", 20));
    ASSERT_TRUE(t.saveToFile());

    char target[64] = {};
    ASSERT_GT(readlink((dir + "/score.txt").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "kept/table");
    EXPECT_EQ(testkit::readFile(dir + "/kept/table"), "NEW 20\nOLD 10\n");
    struct stat st;
    ASSERT_EQ(stat((dir + "/kept/table").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_NE(access((dir + "/kept/table.tmp").c_str(), F_OK), 0);
}

}  // namespace
