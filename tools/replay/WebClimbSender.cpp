#include "ClimbSender.h"

bool sendClimb(const std::string&, const std::string&, std::string& message) {
    message = "sending a climb needs the desktop build of zarvo-replay";
    return false;
}
