#include <httplib.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "ClimbSender.h"

bool sendClimb(const std::string& url, const std::string& replay, std::string& message) {
    // scheme://host[:port], then the folder the table is served from
    std::smatch parts;
    if (!std::regex_match(url, parts, std::regex(R"((https?://[^/]+)(/.*)?)"))) {
        message = "a world table's address starts with http:// or https://";
        return false;
    }
    std::string folder = parts[2].matched ? parts[2].str() : "/";
    if (folder.back() != '/') folder += '/';
    httplib::Client client(parts[1].str());
    client.set_connection_timeout(10);
    client.set_read_timeout(60);
    const httplib::Result answer = client.Post(folder + "api/climbs", replay, "application/octet-stream");
    if (!answer) {
        message = "cannot reach the server (" + httplib::to_string(answer.error()) + ")";
        return false;
    }
    const nlohmann::json body = nlohmann::json::parse(answer->body, nullptr, false);
    if (answer->status == 201 && body.contains("rank")) {
        message = "filed as climb " + body.value("id", nlohmann::json()).dump() + ", rank " + body["rank"].dump() +
                  " of the world table";
        return true;
    }
    message = body.is_object() && body.contains("error") && body["error"].is_string()
                  ? body["error"].get<std::string>()
              : answer->status == 404 ? "there is no world table at this address"
                                      : "the server answered " + std::to_string(answer->status);
    return false;
}
