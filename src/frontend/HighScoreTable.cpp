#include "frontend/HighScoreTable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>


namespace {

const int kNameChars = 7;

bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Skips blanks; returns the first other byte, or EOF.
int skipBlanks(std::FILE* file) {
    int c = std::getc(file);
    while (c != EOF && isBlank(c)) c = std::getc(file);
    return c;
}

// Reads one blank-delimited word like "%s", keeping its first seven bytes and dropping
// the rest of an overlong word. At the end of the file nothing is stored.
bool readName(std::FILE* file, char (&name)[8]) {
    int c = skipBlanks(file);
    if (c == EOF) return false;
    int n = 0;
    while (c != EOF && !isBlank(c)) {
        if (c != '\0' && n < kNameChars) name[n++] = static_cast<char>(c);
        c = std::getc(file);
    }
    if (c != EOF) std::ungetc(c, file);
    name[n] = '\0';
    return true;
}

// Reads an unsigned decimal number like "%u" (saturating instead of overflowing).
// A word that does not start with a digit is left for the next read.
bool readScore(std::FILE* file, unsigned int& score) {
    int c = skipBlanks(file);
    if (c == EOF) return false;
    if (!std::isdigit(c)) {
        std::ungetc(c, file);
        return false;
    }
    unsigned long long value = 0;
    while (c != EOF && std::isdigit(c)) {
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > UINT_MAX) value = UINT_MAX;
        c = std::getc(file);
    }
    if (c != EOF) std::ungetc(c, file);
    score = static_cast<unsigned int>(value);
    return true;
}

bool isEmpty(const cScoreEntry& entry) { return entry.name[0] == '\0'; }

// Best first, equal scores in file order, entries without a name last.
void sortEntries(cScoreEntry (&entries)[cHighScoreTable::size]) {
    for (cScoreEntry& entry : entries)
        if (isEmpty(entry)) entry.score = 0;
    for (int i = 1; i < cHighScoreTable::size; ++i) {
        cScoreEntry moving = entries[i];
        int j = i;
        while (j > 0 && !isEmpty(moving) &&
               (isEmpty(entries[j - 1]) || entries[j - 1].score < moving.score)) {
            entries[j] = entries[j - 1];
            --j;
        }
        entries[j] = moving;
    }
}

bool writeEntries(std::FILE* file, const cScoreEntry (&entries)[cHighScoreTable::size]) {
    for (const cScoreEntry& entry : entries) {
        if (isEmpty(entry)) continue;
        if (std::fprintf(file, "%s %u\n", entry.name, entry.score) < 0) return false;
    }
    return true;
}

// The file a path finally names: symbolic links are followed (a relative
// target counts from the link's folder), even when the last one dangles.
// False when a link's target is too long to be read whole.
bool linkTarget(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX + 1];
        const ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n < 0) break;
        if (n >= static_cast<ssize_t>(sizeof target)) return false;
        target[n] = '\0';
        const std::string::size_type slash = path.rfind('/');
        if (target[0] == '/' || slash == std::string::npos)
            path = target;
        else
            path = path.substr(0, slash + 1) + target;
    }
    return true;
}

// What fopen gives a file it creates: read and write for all, less the umask.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

cHighScoreTable::cHighScoreTable() {
    path[0] = '\0';
    std::memset(entries, 0, sizeof entries);
}

bool cHighScoreTable::loadFromFile(const char* fileName) {
    std::snprintf(path, sizeof path, "%s", fileName);
    return readFile(entries);
}

bool cHighScoreTable::readFile(cScoreEntry (&into)[size]) const {
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    for (cScoreEntry& entry : into) {
        if (readName(file, entry.name)) readScore(file, entry.score);
    }
    std::fclose(file);
    sortEntries(into);
    return true;
}

// A file that cannot be read now (removed since, say) leaves the table the
// game holds, which the save then writes anew.
bool cHighScoreTable::fileScore(const cScoreEntry& entry) {
    cScoreEntry onDisk[size] = {};
    if (readFile(onDisk)) std::memcpy(entries, onDisk, sizeof entries);
    addScore(entry);
    return saveToFile();
}

// Writes a temporary file beside the table's file and renames it over the old one,
// so that a failed save leaves the previous file whole; its name is this save's
// own, so two copies of the game saving at once never write into one file.
// A score.txt that is a symbolic link keeps being one: the file it points to is replaced, and the
// new file keeps the old one's permissions.  A file the player may not write
// (made read-only to keep a table as it is) is not replaced.
bool cHighScoreTable::saveToFile() {
    if (path[0] == '\0') return false;
    std::string target = path;
    if (!linkTarget(target)) return false;
    if (access(target.c_str(), W_OK) != 0 && errno != ENOENT) return false;
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(&temp[0]);
    if (fd < 0) return false;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(temp.c_str());
        return false;
    }
    bool ok = writeEntries(file, entries);
    // The new file gets the old one's mode, or a new file's usual one.
    // File systems without modes (FAT, some network shares) refuse this; the
    // scores matter more than their mode.
    struct stat old;
    (void)fchmod(fd, stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : newFileMode());
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

void cHighScoreTable::addScore(const cScoreEntry& entry) {
    const unsigned int s = entry.score;
    int rank = 0;
    while (rank < size && entries[rank].score >= s) ++rank;
    if (rank == size) return;
    insertAt(rank, entry.name, s);
}

void cHighScoreTable::insertAt(int rank, const char* name, unsigned int score) {
    if (rank < 0 || rank >= size) return;
    for (int i = size - 2; i >= rank; --i) entries[i + 1] = entries[i];
    int n = 0;
    for (; n < kNameChars && name[n] != '\0'; ++n) entries[rank].name[n] = name[n];
    entries[rank].name[n] = '\0';
    entries[rank].score = score;
}
