// The high-score table: ranking, the layout of score.txt, hostile files, and
// saves that never leave a half-written file behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "TestKit.h"
#include "frontend/HighScoreTable.h"

// While set, the game's saves meet a file system without modes (FAT, some network shares).
static bool g_noModes = false;
extern "C" int fchmod(int fd, mode_t mode) {
    if (g_noModes) return errno = EPERM, -1;
    return static_cast<int>(syscall(SYS_fchmod, fd, mode));
}

// TEN equals the tenth and finds no place; TIE equals rank 3 and goes below it,
// with the trailing spaces the name box files; LOW beats only the tenth and takes
// its place; BIG shows the scores are unsigned.
TEST(HighScoreTable, EqualScoresGoBelowAndTheTenthIsLost) {
    const std::string path = testkit::tempDir() + "/score.txt";
    cHighScoreTable t;
    EXPECT_FALSE(t.loadFromFile(path.c_str()));  // the first save makes the file
    for (int i = 0; i < 10; ++i) t.insertAt(i, std::string(1, char('A' + i)).c_str(), 100 - 10 * i);
    for (const cScoreEntry& e : {cScoreEntry{"TEN", 10}, {"TIE    ", 70}, {"LOW", 21}, {"BIG", 3000000000u}}) t.addScore(e);
    ASSERT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(path), "BIG 3000000000\nA 100\nB 90\nC 80\nD 70\nTIE     70\nE 60\nF 50\nG 40\nH 30\n");
}

// Ten word-and-number reads, whatever the lines: a number too large is the
// largest score, a word where a number belongs is the next name, NUL bytes
// are dropped and a name of nothing else is no entry. That no file at all can
// overrun the fields or stop the game is the fuzzer's part (fuzz/).
TEST(ScoreFile, ReadsTenPairsAndSurvivesHostileFiles) {
    const struct { std::string bytes; const char* saved; } files[] = {
        {"ABC     1234\nQ 7\n", "ABC 1234\nQ 7\n"}, {"A 9\r\nB 8\r\n", "A 9\nB 8\n"}, {"AB 5\nCD 3", "AB 5\nCD 3\n"},
        {"A 9 B 8 C 7 D 6 E 5 F 4 G 3 H 2 I 1 J 1 K 1", "A 9\nB 8\nC 7\nD 6\nE 5\nF 4\nG 3\nH 2\nI 1\nJ 1\n"},
        {"AVERYLONGNAMEINDEED 500\nB 400\n", "AVERYLO 500\nB 400\n"}, {std::string(300000, '\n'), ""},
        {"LOW 1\nHIGH 999\n", "HIGH 999\nLOW 1\n"}, {"N 99999999999999999999\n", "N 4294967295\n"},
        {"X notanumber\nY 30\n", "Y 30\nX 0\nnotanum 0\n"},
        {std::string("\x01\x02\xff\x00\x7f 12\n\x00\x00\x00 3 \xfe\xfe 9\n", 20), "\x01\x02\xff\x7f 12\n\xfe\xfe 9\n"}};
    for (const auto& f : files) {
        const std::string path = testkit::tempDir() + "/score.txt";
        testkit::writeFile(path, f.bytes);
        cHighScoreTable t;
        EXPECT_TRUE(t.loadFromFile(path.c_str()) && t.saveToFile());
        EXPECT_EQ(f.saved, testkit::readFile(path)) << f.bytes;
    }
}

// No file can be opened, the folder is read-only (which stops only
// unprivileged users), the disk fills up, the folder is missing.
TEST(ScoreFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string dir = testkit::tempDir(), path = dir + "/score.txt";
    testkit::writeFile(path, "OLD 10\n");
    cHighScoreTable t;
    t.loadFromFile(path.c_str()), t.addScore({"NEW", 20});
    rlimit room, files;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &room) | getrlimit(RLIMIT_NOFILE, &files), 0);
    const rlimit full = {8, room.rlim_max}, none = {0, files.rlim_max};  // a file may not grow past 8 bytes
    signal(SIGXFSZ, SIG_IGN);
    for (int obstacle = 0; obstacle < 3; ++obstacle) {
        if (obstacle == 1 && geteuid() == 0) continue;
        obstacle == 0 ? setrlimit(RLIMIT_NOFILE, &none) : obstacle == 1 ? chmod(dir.c_str(), 0500) : setrlimit(RLIMIT_FSIZE, &full);
        const bool saved = t.saveToFile();
        setrlimit(RLIMIT_FSIZE, &room), setrlimit(RLIMIT_NOFILE, &files), chmod(dir.c_str(), 0700);
        EXPECT_FALSE(saved) << obstacle;
        EXPECT_EQ(testkit::readFile(path), "OLD 10\n") << obstacle;
        EXPECT_EQ(0, std::system(("test \"$(ls " + dir + ")\" = score.txt").c_str())) << "no temporary file left";
    }
    EXPECT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(path), "NEW 20\nOLD 10\n");
    EXPECT_FALSE(t.loadFromFile((dir + "/missing/score.txt").c_str()) || t.saveToFile());
}

// A player who made score.txt read-only keeps the table as it is. Root may
// write anything, so the save runs in a child that is nobody.
TEST(ScoreFile, ReadOnlyTableIsNotReplaced) {
    const std::string dir = testkit::tempDir(), path = dir + "/score.txt";
    testkit::writeFile(path, "OLD 10\n");
    ASSERT_TRUE(chmod(path.c_str(), 0444) == 0 && chmod(dir.c_str(), 0777) == 0);  // the folder lets anyone rename
    cHighScoreTable t;
    t.loadFromFile(path.c_str()), t.addScore({"NEW", 20});
    const pid_t child = fork();
    if (child == 0) _exit(geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0) ? 2 : t.saveToFile());
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0) << "1: saved anyway, 2: could not become nobody";
    EXPECT_EQ(testkit::readFile(path), "OLD 10\n");
}

// A player who keeps score.txt elsewhere through a link, or guards its
// permissions, finds both as they were after a save; where modes cannot be
// kept, the scores are saved all the same.
TEST(ScoreFile, SaveKeepsTheLinkAndTheFileMode) {
    const std::string dir = testkit::tempDir(), kept = dir + "/kept/table";
    ASSERT_EQ(0, std::system(("cd " + dir + " && mkdir kept && echo OLD 10 >kept/table && chmod 640 kept/table"
                              " && ln -s kept/table score.txt && ln -s score.txt link-to-link").c_str()));
    cHighScoreTable t;
    t.loadFromFile((dir + "/link-to-link").c_str()), t.addScore({"NEW", 20});
    ASSERT_TRUE(t.saveToFile());
    EXPECT_EQ(testkit::readFile(kept), "NEW 20\nOLD 10\n");
    EXPECT_EQ(0, std::system(("cd " + dir + " && test \"$(readlink score.txt)\" = kept/table"
                              " && test $(stat -c %a kept/table) = 640 && test \"$(ls kept)\" = table").c_str()));
    g_noModes = true, t.addScore({"FAT", 30});  // the mode cannot be kept there, but the scores are
    EXPECT_TRUE(t.saveToFile());
    g_noModes = false;
    EXPECT_EQ(testkit::readFile(kept), "FAT 30\nNEW 20\nOLD 10\n");
}

// Two copies of the game on one score.txt: each files its score into the table as the file holds it
// by then, so neither erases the other's, and each shows the merged table.
TEST(ScoreFile, TwoCopiesOfTheGameKeepEachOthersScores) {
    const std::string path = testkit::tempDir() + "/score.txt";
    testkit::writeFile(path, "OLD 100\n");
    cHighScoreTable first, second;
    first.loadFromFile(path.c_str()), second.loadFromFile(path.c_str());
    ASSERT_TRUE(first.fileScore({"ANNA   ", 500}) && second.fileScore({"BOB    ", 300}));
    EXPECT_EQ(testkit::readFile(path), "ANNA 500\nBOB     300\nOLD 100\n");
    EXPECT_EQ(std::string(second.entries[0].name) + " " + second.entries[2].name, "ANNA OLD");
}
