// The game names its pictures and sounds data/..., from its working
// directory. A program started elsewhere (the installed replay tool, the
// server's verifying workers) first moves to the folder that holds data.
#pragma once

#include <string>

// Makes the folder holding FOLDER, which must be named data, the working
// directory. False, with the reason, when it cannot.
bool enterDataFolder(const std::string& folder, std::string& error);
