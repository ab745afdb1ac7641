#include "Metrics.h"

#include <sstream>

namespace {
const double kBounds[] = {0.001, 0.0025, 0.005, 0.01, 0.02, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5};
const std::size_t kBucketCount = sizeof kBounds / sizeof kBounds[0];
}  // namespace

void cMetrics::request(const std::string& route, int status, double seconds) {
    std::lock_guard<std::mutex> hold(lock);
    ++requests[{route, status}];
    Latency& l = latencies[route];
    l.buckets.resize(kBucketCount);
    for (std::size_t i = 0; i < kBucketCount; ++i)
        if (seconds <= kBounds[i]) ++l.buckets[i];
    l.sum += seconds;
    ++l.count;
}

void cMetrics::verification(const std::string& result) {
    std::lock_guard<std::mutex> hold(lock);
    ++verifications[result];
}

std::string cMetrics::text(int queueLength) const {
    std::lock_guard<std::mutex> hold(lock);
    std::ostringstream out;
    out << "# HELP zarvo_requests_total Requests answered, by route and status.\n"
           "# TYPE zarvo_requests_total counter\n";
    for (const auto& r : requests)
        out << "zarvo_requests_total{route=\"" << r.first.first << "\",status=\"" << r.first.second << "\"} " << r.second
            << "\n";
    out << "# HELP zarvo_request_seconds How long requests took to answer, by route.\n"
           "# TYPE zarvo_request_seconds histogram\n";
    for (const auto& l : latencies) {
        for (std::size_t i = 0; i < kBucketCount; ++i)
            out << "zarvo_request_seconds_bucket{route=\"" << l.first << "\",le=\"" << kBounds[i] << "\"} "
                << l.second.buckets[i] << "\n";
        out << "zarvo_request_seconds_bucket{route=\"" << l.first << "\",le=\"+Inf\"} " << l.second.count << "\n"
            << "zarvo_request_seconds_sum{route=\"" << l.first << "\"} " << l.second.sum << "\n"
            << "zarvo_request_seconds_count{route=\"" << l.first << "\"} " << l.second.count << "\n";
    }
    out << "# HELP zarvo_verifications_total Climbs played again, by what came of it.\n"
           "# TYPE zarvo_verifications_total counter\n";
    for (const auto& v : verifications) out << "zarvo_verifications_total{result=\"" << v.first << "\"} " << v.second << "\n";
    out << "# HELP zarvo_verification_queue Climbs waiting for a verifying worker.\n"
           "# TYPE zarvo_verification_queue gauge\n"
           "zarvo_verification_queue " << queueLength << "\n";
    return out.str();
}
