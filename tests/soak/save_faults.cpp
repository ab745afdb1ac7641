// Fault injection on saving the high-score table: the file calls of the save
// are linked through --wrap and made to fail at each step (opening the
// temporary file, part-way through writing, flushing, syncing, closing,
// renaming), then a real full disk (a file-size limit) and, when the system
// allows a read-only bind mount, a read-only folder.  After every fault the
// file on disk must be the old table or the new one, whole, and read back as
// a sorted table.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/HighScoreTable.h"

namespace {
enum Fault { None, OpenTemp, MidWrite, Flush, Sync, Close, Rename };
Fault g_fault = None;
int g_writes = 0;
}  // namespace

extern "C" {
FILE* __real_fopen(const char*, const char*);
int __real_fprintf(FILE*, const char*, ...);
int __real_fflush(FILE*);
int __real_fsync(int);
int __real_fclose(FILE*);
int __real_rename(const char*, const char*);

FILE* __wrap_fopen(const char* path, const char* mode) {
    if (g_fault == OpenTemp && mode[0] == 'w') return errno = ENOSPC, nullptr;
    return __real_fopen(path, mode);
}
int __wrap_fprintf(FILE* f, const char* format, ...) {
    if (g_fault == MidWrite && ++g_writes == 3) {
        __real_fflush(f);  // the first lines really reach the temporary file
        return errno = ENOSPC, -1;
    }
    va_list args;
    va_start(args, format);
    const int n = std::vfprintf(f, format, args);
    va_end(args);
    return n;
}
int __wrap_fflush(FILE* f) { return g_fault == Flush ? (errno = ENOSPC, EOF) : __real_fflush(f); }
int __wrap_fsync(int fd) { return g_fault == Sync ? (errno = EIO, -1) : __real_fsync(fd); }
int __wrap_fclose(FILE* f) {
    const int r = __real_fclose(f);
    return g_fault == Close ? (errno = EIO, EOF) : r;
}
int __wrap_rename(const char* a, const char* b) { return g_fault == Rename ? (errno = EXDEV, -1) : __real_rename(a, b); }
}

namespace {

const char* const kOld = "ALPHA 900\nBRAVO 800\nCHARLIE 700\nDELTA 600\nECHO 500\n";
std::string g_dir;
int g_failures = 0;
// When set, the file-size limit in bytes during the save alone (a full disk).
rlim_t g_sizeLimit = 0;

std::string slurp(const std::string& path) {
    std::string s;
    if (FILE* f = __real_fopen(path.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

void put(const std::string& path, const char* text) {
    FILE* f = __real_fopen(path.c_str(), "wb");
    std::fputs(text, f);
    __real_fclose(f);
}

bool sorted(const std::string& path) {
    cHighScoreTable t;
    if (!t.loadFromFile(path.c_str())) return false;
    for (int i = 1; i < cHighScoreTable::size; ++i)
        if (t.entries[i].name[0] && t.entries[i - 1].score < t.entries[i].score) return false;
    return true;
}

// One save under a fault; returns what the save reported.
void trial(const char* name, Fault fault, const std::string& dir, bool expectSaved) {
    const std::string file = dir + "/score.txt";
    put(file, kOld);
    cHighScoreTable table;
    table.loadFromFile(file.c_str());
    cScoreEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.name, "NEW    ", 8);
    entry.score = 750;
    table.addScore(entry);
    const std::string expectNew = "ALPHA 900\nBRAVO 800\nNEW     750\nCHARLIE 700\nDELTA 600\nECHO 500\n";
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    if (g_sizeLimit) {
        rlimit small{g_sizeLimit, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    g_fault = fault;
    g_writes = 0;
    const bool saved = table.saveToFile();
    g_fault = None;
    setrlimit(RLIMIT_FSIZE, &old);
    const std::string now = slurp(file);
    const bool whole = now == kOld || now == expectNew;
    const bool right = saved ? now == expectNew : now == kOld;
    const bool leftover = access((file + ".tmp").c_str(), F_OK) == 0;
    const bool ok = whole && right && sorted(file) && saved == expectSaved && !leftover;
    std::printf("save fault %-22s save %-8s file holds the %s table%s  %s\n", name, saved ? "reported" : "failed",
                now == kOld ? "old" : now == expectNew ? "new" : "BROKEN", leftover ? ", temporary file left" : "",
                ok ? "ok" : "FAIL");
    if (!ok) ++g_failures;
    std::remove((file + ".tmp").c_str());
}

}  // namespace

int main() {
    char dirTemplate[] = "/tmp/zarvo-faults-XXXXXX";
    if (!mkdtemp(dirTemplate)) return 2;
    g_dir = dirTemplate;
    trial("none", None, g_dir, true);
    trial("open temporary file", OpenTemp, g_dir, false);
    trial("mid-write", MidWrite, g_dir, false);
    trial("flush", Flush, g_dir, false);
    trial("fsync", Sync, g_dir, false);
    trial("close", Close, g_dir, false);
    trial("rename", Rename, g_dir, false);

    // A full disk for real: writes beyond 32 bytes fail with EFBIG (the new table is 63).
    std::signal(SIGXFSZ, SIG_IGN);
    g_sizeLimit = 32;
    trial("full disk (size limit)", None, g_dir, false);
    g_sizeLimit = 0;

    // A read-only folder: a read-only bind mount, since permissions do not stop root.
    const std::string ro = g_dir + "/ro";
    mkdir(ro.c_str(), 0755);
    put(ro + "/score.txt", kOld);
    if (geteuid() != 0) chmod(ro.c_str(), 0555);
    bool readOnly = access((ro + "/x").c_str(), F_OK) != 0 && geteuid() != 0;
    if (geteuid() == 0 && mount(ro.c_str(), ro.c_str(), nullptr, MS_BIND, nullptr) == 0) {
        readOnly = mount(nullptr, ro.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    if (readOnly) {
        cHighScoreTable table;
        table.loadFromFile((ro + "/score.txt").c_str());
        table.insertAt(0, "NEW", 1000);
        const bool saved = table.saveToFile();
        const bool ok = !saved && slurp(ro + "/score.txt") == kOld;
        std::printf("save fault %-22s save %-8s file holds the %s table  %s\n", "read-only folder",
                    saved ? "reported" : "failed", slurp(ro + "/score.txt") == kOld ? "old" : "BROKEN",
                    ok ? "ok" : "FAIL");
        if (!ok) ++g_failures;
    } else {
        std::printf("save fault %-22s skipped (no read-only mount here)\n", "read-only folder");
    }
    if (geteuid() == 0) umount(ro.c_str());
    chmod(ro.c_str(), 0755);
    std::string cleanup = "rm -rf '" + g_dir + "'";
    if (std::system(cleanup.c_str()) != 0) std::printf("could not remove %s\n", g_dir.c_str());
    std::printf("save faults: %d failed\n", g_failures);
    return g_failures ? 1 : 0;
}
