#include "RateLimiter.h"

bool cRateLimiter::allow(const std::string& address) {
    const Clock::time_point now = Clock::now(), minuteAgo = now - std::chrono::minutes(1);
    std::lock_guard<std::mutex> hold(lock);
    // Forget whatever is older than a minute, for every address.
    for (auto it = recent.begin(); it != recent.end();) {
        while (!it->second.empty() && it->second.front() < minuteAgo) it->second.pop_front();
        it = it->second.empty() ? recent.erase(it) : ++it;
    }
    std::deque<Clock::time_point>& times = recent[address];
    if (static_cast<int>(times.size()) >= perMinute) return false;
    times.push_back(now);
    return true;
}
