// Verification's bounded pool: worker processes (VerifyWorker.h), one per
// core by default, and a queue of at most so many climbs waiting for one.
// A worker that dies or takes too long is replaced.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class cVerifierPool {
public:
    struct Verdict {
        enum Kind { Played, Unended, Damaged, Busy, Failed } kind = Failed;
        unsigned score = 0;
        int level = 0;
        std::int64_t frames = 0;
        std::string reason;
    };
    // The longest a worker may take over one climb.
    static constexpr int kTimeoutMs = 30000;

    cVerifierPool(const std::string& program, const std::string& dataFolder, int workers, int queueLimit);
    ~cVerifierPool();
    cVerifierPool(const cVerifierPool&) = delete;
    cVerifierPool& operator=(const cVerifierPool&) = delete;

    // Plays the replay again in a worker; Busy, at once, when the queue is full.
    Verdict verify(const std::string& replay);
    // Climbs waiting for a worker now.
    int waiting() const;

private:
    struct Worker {
        pid_t pid = -1;
        int input = -1;   // the worker's standard input
        int output = -1;  // its standard output
    };
    void start(Worker& worker);
    void stop(Worker& worker);
    bool exchange(Worker& worker, const std::string& replay, std::string& line);

    std::string program, dataFolder;
    std::vector<Worker> workers;
    std::vector<int> idle;  // indexes into workers
    int queueLimit;
    int queued = 0;
    mutable std::mutex lock;
    std::condition_variable freed;
};
