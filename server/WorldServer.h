// The world table over HTTP (docs/server.md): the browser's build as files,
// and the table's API: climbs sent to it count only once the server has
// played them again to their score; the table; a climb's replay; health and
// metrics.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "Metrics.h"
#include "RateLimiter.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib
class cClimbStore;
class cVerifierPool;

class cWorldServer {
public:
    static constexpr std::size_t kMaxBody = 256 * 1024;
    static constexpr int kTimeoutSeconds = 5;  // for each read or write of a request
    static constexpr int kDefaultRows = 20, kMaxRows = 100;

    struct Settings {
        std::string www;     // the browser's build, served as files; none when empty
        int perMinute = 10;  // climbs one address may send
        int threads = 16;    // requests served at once
    };

    cWorldServer(cClimbStore& store, cVerifierPool& pool, const Settings& settings);
    ~cWorldServer();

    // The port bound (any free one for port 0), or -1 when the address cannot be had.
    int bind(const std::string& host, int port);
    // Serves until stop(); what is in flight is answered first.
    bool listen();
    void stop();

private:
    void postClimb(const httplib::Request& request, httplib::Response& response);
    void getTable(const httplib::Request& request, httplib::Response& response);
    void getReplay(const httplib::Request& request, httplib::Response& response);
    // Verifies and files a parsed climb: the answer's status, and its body.
    int verifyAndFile(const std::string& bytes, std::string& body);

    cClimbStore& store;
    cVerifierPool& pool;
    std::unique_ptr<httplib::Server> http;
    cMetrics metrics;
    cRateLimiter limiter;
};
