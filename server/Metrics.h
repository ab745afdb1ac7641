// What the server has done, for GET /metrics in Prometheus's text format:
// requests by route and status with their latency, and verifications by
// result. Safe to use from every request's thread.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class cMetrics {
public:
    void request(const std::string& route, int status, double seconds);
    void verification(const std::string& result);
    // The text of all of them, with the verification queue's length now.
    std::string text(int queueLength) const;

private:
    struct Latency {
        std::vector<long> buckets;  // one per kBounds entry, cumulative when written
        double sum = 0;
        long count = 0;
    };
    mutable std::mutex lock;
    std::map<std::pair<std::string, int>, long> requests;
    std::map<std::string, Latency> latencies;
    std::map<std::string, long> verifications;
};
