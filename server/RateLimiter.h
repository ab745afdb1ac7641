// At most so many climbs a minute from one address. The addresses are kept
// in memory only, for the minute that counts, and never written anywhere.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>

class cRateLimiter {
public:
    explicit cRateLimiter(int perMinute) : perMinute(perMinute) {}
    // Whether one more climb from this address is allowed now (and counts it).
    bool allow(const std::string& address);

private:
    using Clock = std::chrono::steady_clock;
    int perMinute;
    std::mutex lock;
    std::map<std::string, std::deque<Clock::time_point>> recent;
};
