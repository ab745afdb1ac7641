#include "DataFolder.h"

#include <filesystem>
#include <system_error>

bool enterDataFolder(const std::string& folder, std::string& error) {
    std::filesystem::path data = std::filesystem::absolute(folder).lexically_normal();
    if (data.filename().empty()) data = data.parent_path();  // written with a closing slash
    std::error_code failed;
    if (data.filename() != "data" || !std::filesystem::is_directory(data, failed)) {
        error = "the game's data must be a folder named data: " + folder;
        return false;
    }
    std::filesystem::current_path(data.parent_path(), failed);
    if (failed) error = "cannot enter " + data.parent_path().string() + ": " + failed.message();
    return !failed;
}
