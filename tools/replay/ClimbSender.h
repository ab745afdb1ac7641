// Sends a filed climb's replay to a world table's server (docs/server.md), as
// `zarvo-replay --send URL FILE` does for a desktop player. Only the desktop
// build speaks HTTP; under node the tool says so.
#pragma once

#include <string>

// POSTs the replay to URL's api/climbs. True when the server filed it; the
// message is its rank then, or else the server's reason in its own words.
bool sendClimb(const std::string& url, const std::string& replay, std::string& message);
