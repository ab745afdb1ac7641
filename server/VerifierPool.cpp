#include "VerifierPool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

extern char** environ;

cVerifierPool::cVerifierPool(const std::string& program, const std::string& dataFolder, int count, int queueLimit)
    : program(program), dataFolder(dataFolder), workers(static_cast<std::size_t>(count)), queueLimit(queueLimit) {
    for (std::size_t i = 0; i < workers.size(); ++i) {
        start(workers[i]);
        idle.push_back(static_cast<int>(i));
    }
}

cVerifierPool::~cVerifierPool() {
    for (Worker& w : workers) stop(w);
}

void cVerifierPool::start(Worker& worker) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for a worker");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("--verify"),
                    const_cast<char*>(dataFolder.c_str()), nullptr};
    const int failed = posix_spawn(&worker.pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (failed) throw std::runtime_error("a verifying worker cannot be started");
    worker.input = in[1];
    worker.output = out[0];
}

void cVerifierPool::stop(Worker& worker) {
    if (worker.pid < 0) return;
    close(worker.input);  // the worker ends at the end of its input ...
    close(worker.output);
    kill(worker.pid, SIGKILL);  // ... or now, when it is stuck
    waitpid(worker.pid, nullptr, 0);
    worker = Worker();
}

bool cVerifierPool::exchange(Worker& worker, const std::string& replay, std::string& line) {
    const std::uint32_t n = static_cast<std::uint32_t>(replay.size());
    const std::string message = std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + replay;
    for (std::size_t sent = 0; sent < message.size();) {
        const ssize_t k = write(worker.input, message.data() + sent, message.size() - sent);
        if (k <= 0) return false;
        sent += static_cast<std::size_t>(k);
    }
    char c;
    for (pollfd p = {worker.output, POLLIN, 0}; poll(&p, 1, kTimeoutMs) == 1 && read(worker.output, &c, 1) == 1;) {
        if (c == '\n') return true;
        line += c;
    }
    return false;
}

cVerifierPool::Verdict cVerifierPool::verify(const std::string& replay) {
    Verdict verdict;
    int chosen;
    {
        std::unique_lock<std::mutex> hold(lock);
        if (idle.empty() && queued >= queueLimit) {
            verdict.kind = Verdict::Busy;
            return verdict;
        }
        ++queued;
        freed.wait(hold, [this] { return !idle.empty(); });
        --queued;
        chosen = idle.back();
        idle.pop_back();
    }
    Worker& worker = workers[static_cast<std::size_t>(chosen)];
    std::string line;
    if (!exchange(worker, replay, line)) {
        stop(worker);
        start(worker);
        verdict.reason = "the climb could not be played again in time";
    } else if (line.rfind("played ", 0) == 0) {
        long long score = 0, frames = 0;
        int level = 0;
        if (std::sscanf(line.c_str(), "played %lld %d %lld", &score, &level, &frames) == 3)
            verdict = Verdict{Verdict::Played, static_cast<unsigned>(score), level, frames, ""};
    } else if (line == "unended") {
        verdict.kind = Verdict::Unended;
    } else if (line.rfind("damaged ", 0) == 0) {
        verdict.kind = Verdict::Damaged;
        verdict.reason = line.substr(8);
    }
    std::lock_guard<std::mutex> hold(lock);
    idle.push_back(chosen);
    freed.notify_one();
    return verdict;
}

int cVerifierPool::waiting() const {
    std::lock_guard<std::mutex> hold(lock);
    return queued;
}
