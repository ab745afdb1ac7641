#include "WorldServer.h"

#include <httplib.h>
#include <openssl/evp.h>

#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>

#include "ClimbStore.h"
#include "VerifierPool.h"
#include "game/Climb.h"
#include "game/Replay.h"

using nlohmann::json;

namespace {
// The climb's digest, which tells a climb sent before: SHA-256 of its replay
// as the game writes it (no other spelling of the same climb passes), without
// its name (nor does the same climb under another name).
std::string digestOf(cReplay replay) {
    replay.name.clear();
    const std::string bytes = replay.bytes();
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), sum, &length, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) text += {hex[sum[i] >> 4], hex[sum[i] & 15]};
    return text;
}

std::string isoDate(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc;
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// Why a climb played again is not taken, or "" when it reached just what it claims.
std::string refusalOf(const cVerifierPool::Verdict& v, const cReplay& claim) {
    if (v.kind == cVerifierPool::Verdict::Unended) return "the climb does not end where its file ends";
    if (v.kind != cVerifierPool::Verdict::Played) return v.reason.empty() ? "the climb could not be played again" : v.reason;
    if (v.frames == claim.frameCount && v.score == claim.score && v.level == claim.level) return "";
    return "the climb reaches score " + std::to_string(v.score) + " on level " + std::to_string(v.level) +
           (v.frames == claim.frameCount ? "" : " after " + std::to_string(v.frames) + " frames") + ", not the score " +
           std::to_string(claim.score) + " on level " + std::to_string(claim.level) + " it claims";
}

std::string error(const std::string& reason) { return json{{"error", reason}}.dump(); }

// The route a request took, as the metrics name it.
std::string routeOf(const httplib::Request& request) {
    const std::string& p = request.path;
    if (p == "/api/climbs" || p == "/api/table" || p == "/healthz" || p == "/metrics") return p;
    if (p.rfind("/api/climbs/", 0) == 0) return "/api/climbs/{id}/replay";
    return p.rfind("/api/", 0) == 0 ? "/api/other" : "files";
}

thread_local std::chrono::steady_clock::time_point g_started;
}  // namespace

cWorldServer::cWorldServer(cClimbStore& store, cVerifierPool& pool, const Settings& settings)
    : store(store), pool(pool), http(new httplib::Server()), limiter(settings.perMinute) {
    const int threads = settings.threads;
    http->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
    http->set_payload_max_length(kMaxBody);
    http->set_read_timeout(kTimeoutSeconds, 0);
    http->set_write_timeout(kTimeoutSeconds, 0);
    http->set_keep_alive_timeout(kTimeoutSeconds);
    // An answer goes out at once: held back for the client's acknowledgement
    // (Nagle's rule), a small answer waited 40 ms on a kept-alive connection.
    http->set_tcp_nodelay(true);
    if (!settings.www.empty() && !http->set_mount_point("/", settings.www))
        std::fprintf(stderr, "zarvo-server: no browser build in %s; serving the API only\n", settings.www.c_str());
    http->set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        g_started = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    http->set_post_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - g_started;
        metrics.request(routeOf(request), response.status, took.count());
    });
    http->Post("/api/climbs", [this](const httplib::Request& q, httplib::Response& r) { postClimb(q, r); });
    http->Get("/api/table", [this](const httplib::Request& q, httplib::Response& r) { getTable(q, r); });
    http->Get(R"(/api/climbs/(\d{1,18})/replay)", [this](const httplib::Request& q, httplib::Response& r) { getReplay(q, r); });
    http->Get("/healthz", [this](const httplib::Request&, httplib::Response& r) {
        const bool up = this->store.healthy();
        r.status = up ? 200 : 503;
        r.set_content(up ? "ok\n" : "the database does not answer\n", "text/plain");
    });
    http->Get("/metrics", [this](const httplib::Request&, httplib::Response& r) {
        r.set_content(metrics.text(this->pool.waiting()), "text/plain; version=0.0.4");
    });
}

cWorldServer::~cWorldServer() = default;

int cWorldServer::bind(const std::string& host, int port) {
    if (port == 0) return http->bind_to_any_port(host.c_str());
    return http->bind_to_port(host.c_str(), port) ? port : -1;
}

bool cWorldServer::listen() { return http->listen_after_bind(); }

void cWorldServer::stop() { http->stop(); }

void cWorldServer::postClimb(const httplib::Request& request, httplib::Response& response) {
    std::string body;
    if (request.get_header_value("Content-Type").rfind("application/octet-stream", 0) != 0) {
        response.status = 415;
        body = error("a climb is sent as its replay file, of type application/octet-stream");
    } else if (!limiter.allow(request.remote_addr)) {
        response.status = 429;
        response.set_header("Retry-After", "60");
        body = error("too many climbs from one address; try again in a minute");
    } else {
        response.status = verifyAndFile(request.body, body);
        if (response.status == 503) response.set_header("Retry-After", "5");
    }
    response.set_content(body, "application/json");
}

int cWorldServer::verifyAndFile(const std::string& bytes, std::string& body) {
    cReplay replay;
    std::string reason;
    if (!cReplay::parse(bytes, replay, reason)) return body = error("the replay is damaged: " + reason), 400;
    if (replay.name.empty()) return body = error("the climb was not filed with a name"), 422;
    if (replay.rulesVersion != climb::kRulesVersion)
        return body = error("the climb was recorded by other rules (version " + std::to_string(replay.rulesVersion) +
                            "; this server plays version " + std::to_string(climb::kRulesVersion) + ")"),
               422;
    const std::string canonical = replay.bytes(), digest = digestOf(replay);
    if (store.has(digest)) return body = error("this climb was sent before"), 409;
    const cVerifierPool::Verdict v = pool.verify(canonical);
    if (v.kind == cVerifierPool::Verdict::Busy) {
        metrics.verification("busy");
        return body = error("the server is busy playing other climbs; try again in a moment"), 503;
    }
    reason = refusalOf(v, replay);
    if (!reason.empty()) {
        metrics.verification("refused");
        return body = error(reason), 422;
    }
    cWorldClimb climb;
    climb.name = replay.name, climb.score = replay.score, climb.level = replay.level;
    climb.date = static_cast<std::int64_t>(std::time(nullptr));
    if (!store.add(climb, digest, canonical)) return body = error("this climb was sent before"), 409;
    metrics.verification("accepted");
    body = json{{"id", climb.id}, {"rank", store.rankOf(climb.name, climb.score)}, {"name", climb.name},
                {"score", climb.score}, {"level", climb.level}}
               .dump();
    return 201;
}

void cWorldServer::getTable(const httplib::Request& request, httplib::Response& response) {
    const std::string period = request.has_param("period") ? request.get_param_value("period") : "all";
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    std::int64_t since = -1;
    if (period == "all") since = 0;
    if (period == "month") since = now - 30 * 86400;
    if (period == "week") since = now - 7 * 86400;
    int limit = kDefaultRows;
    const std::string asked = request.has_param("limit") ? request.get_param_value("limit") : "";
    if (!asked.empty()) limit = asked.size() <= 3 && asked.find_first_not_of("0123456789") == std::string::npos ? std::stoi(asked) : 0;
    if (since < 0 || limit < 1 || limit > kMaxRows) {
        response.status = 400;
        response.set_content(error("the table is asked for as ?period=all|month|week&limit=1.." + std::to_string(kMaxRows)),
                             "application/json");
        return;
    }
    json rows = json::array();
    int rank = 0;
    for (const cWorldClimb& c : store.best(since, limit))
        rows.push_back({{"rank", ++rank}, {"id", c.id}, {"name", c.name}, {"score", c.score}, {"level", c.level},
                        {"date", isoDate(c.date)}});
    response.set_content(json{{"period", period}, {"climbs", rows}}.dump(), "application/json");
}

void cWorldServer::getReplay(const httplib::Request& request, httplib::Response& response) {
    std::string bytes;
    if (!store.replay(std::stoll(request.matches[1].str()), bytes)) {
        response.status = 404;
        response.set_content(error("there is no such climb"), "application/json");
        return;
    }
    response.set_content(bytes, "application/octet-stream");
}
