#include "shell/system_info.h"

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace sw {

const std::vector<std::string>& systemInfoCandidates() {
    static const std::vector<std::string> tools = {"hardinfo2", "hardinfo", "kinfocenter",
                                                   "gnome-system-monitor"};
    return tools;
}

std::string findSystemInfoTool(const std::string& searchPath,
                               const std::vector<std::string>& candidates) {
    std::vector<std::string> folders;
    std::stringstream stream(searchPath);
    for (std::string folder; std::getline(stream, folder, ':');) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    for (const auto& tool : candidates) {
        for (const auto& folder : folders) {
            const std::filesystem::path path = std::filesystem::path(folder) / tool;
            std::error_code error;
            if (std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0) {
                return path.string();
            }
        }
    }
    return {};
}

} // namespace sw
