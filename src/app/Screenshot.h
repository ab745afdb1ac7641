// Saves what the game's 1024 x 768 window shows, as a binary PPM picture:
// the tools' screenshots.
#pragma once

#include <string>

// False when the file cannot be written.
bool saveScreenshot(const std::string& path);
