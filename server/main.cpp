// zarvo-server: the world table of climbs (docs/server.md). Started with
// --verify DATA, it is one of its own verifying workers instead.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "ClimbStore.h"
#include "VerifierPool.h"
#include "VerifyWorker.h"
#include "WorldServer.h"

namespace {

struct Options {
    std::string host = "127.0.0.1";
    int port = 8000;
    std::string www = "build-web";
    std::string database;
    std::string data = "data";
    int workers = static_cast<int>(std::thread::hardware_concurrency());
    int perMinute = 10;
};

int usage() {
    std::fprintf(stderr,
                 "usage: zarvo-server [--listen HOST:PORT] [--www DIR] [--database sqlite:PATH | postgresql://...]\n"
                 "                    [--workers N] [--data DIR] [--rate N]\n");
    return 2;
}

bool number(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (a == "--listen") {
            const char* colon = std::strrchr(value, ':');
            if (!colon || !number(colon + 1, 0, 65535, o.port)) return false;
            o.host.assign(value, colon);
        } else if (a == "--www") {
            o.www = value;
        } else if (a == "--database") {
            o.database = value;
        } else if (a == "--data") {
            o.data = value;
        } else if (a == "--workers") {
            if (!number(value, 1, 256, o.workers)) return false;
        } else if (a == "--rate") {
            if (!number(value, 1, 1000000, o.perMinute)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// An SQLite file in the player's data folder, as the game keeps its own.
std::string defaultDatabase() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path folder =
        xdg && *xdg ? std::filesystem::path(xdg) / "zarvo" : std::filesystem::path(home ? home : ".") / ".local/share/zarvo";
    std::filesystem::create_directories(folder);
    return "sqlite:" + (folder / "world.sqlite").string();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "--verify")) return runVerifyWorker(argv[2]);
    Options o;
    if (!parse(argc, argv, o)) return usage();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // SIGTERM and Ctrl+C are taken by one thread of their own, which stops
    // the server; every other thread started from here leaves them to it.
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    signal(SIGPIPE, SIG_IGN);  // a worker that died is noticed by its pipe
    try {
        std::unique_ptr<cClimbStore> store = cClimbStore::open(o.database.empty() ? defaultDatabase() : o.database);
        cVerifierPool pool("/proc/self/exe", o.data, o.workers, 4 * o.workers);
        cWorldServer server(*store, pool, cWorldServer::Settings{o.www, o.perMinute, 4 * o.workers + 8});
        const int port = server.bind(o.host, o.port);
        if (port < 0) throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
        std::printf("zarvo-server: climbs kept in %s\n", store->where().c_str());
        std::printf("zarvo-server: serving http://%s:%d/ with %d verifying workers\n", o.host.c_str(), port, o.workers);
        std::thread stopper([&server, &stopping] {
            int signal = 0;
            sigwait(&stopping, &signal);
            server.stop();
        });
        server.listen();
        pthread_kill(stopper.native_handle(), SIGTERM);  // when listening failed, the stopper waits no more
        stopper.join();
        std::printf("zarvo-server: stopped\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zarvo-server: %s\n", e.what());
        return 1;
    }
    return 0;
}
