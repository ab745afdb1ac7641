// Feeds arbitrary bytes to the score-file reader as the contents of score.txt and
// checks what the table holds afterwards; then saves it and reads it back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frontend/HighScoreTable.h"

namespace {

char g_dir[64];
char g_file[96];

void fail(const char* what) {
    std::fprintf(stderr, "highscore_fuzz: %s\n", what);
    std::abort();
}

// Names read from a file never hold blanks; names filed by the name box may end in spaces.
void checkTable(const cHighScoreTable& table, bool fromFile = true) {
    bool seenEmpty = false;
    for (int i = 0; i < cHighScoreTable::size; ++i) {
        const cScoreEntry& e = table.entries[i];
        const void* nul = std::memchr(e.name, '\0', sizeof e.name);
        if (!nul) fail("name without a terminating NUL");
        if (std::strlen(e.name) > 7) fail("name longer than 7 characters");
        const bool empty = e.name[0] == '\0';
        if (empty) {
            seenEmpty = true;
            if (e.score != 0) fail("empty entry with a score");
        } else if (fromFile) {
            for (const char* c = e.name; *c; ++c)
                if (*c == ' ' || *c == '\n' || *c == '\t' || *c == '\r' || *c == '\v' || *c == '\f')
                    fail("blank inside a name");
        }
        if (!empty && seenEmpty) fail("named entry after an empty one");
        if (i > 0 && !empty && table.entries[i - 1].score < e.score) fail("scores not sorted best first");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::snprintf(g_dir, sizeof g_dir, access("/dev/shm", W_OK) == 0 ? "/dev/shm/zarvo-fuzz-XXXXXX" : "/tmp/zarvo-fuzz-XXXXXX");
    if (!mkdtemp(g_dir)) fail("mkdtemp");
    std::snprintf(g_file, sizeof g_file, "%s/score.txt", g_dir);
    std::atexit([] {
        std::remove(g_file);
        rmdir(g_dir);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* out = std::fopen(g_file, "wb");
    if (!out) fail("cannot write the input file");
    if (size && std::fwrite(data, 1, size, out) != size) fail("short write");
    std::fclose(out);

    cHighScoreTable table;
    if (!table.loadFromFile(g_file)) fail("loadFromFile could not open an existing file");
    checkTable(table);

    // What the game writes it must read back unchanged.
    if (!table.saveToFile()) fail("saveToFile failed");
    cHighScoreTable again;
    if (!again.loadFromFile(g_file)) fail("reload failed");
    checkTable(again);
    for (int i = 0; i < cHighScoreTable::size; ++i) {
        if (std::strcmp(table.entries[i].name, again.entries[i].name) != 0) fail("name changed by save and load");
        if (table.entries[i].score != again.entries[i].score) fail("score changed by save and load");
    }

    // Filing a score keeps the table ordered.
    cScoreEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.name, "ABC    ", 8);
    entry.score = size ? data[0] * 1000u + static_cast<unsigned>(size) : 1u;
    table.addScore(entry);
    checkTable(table, false);
    return 0;
}
