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

std::vector<std::filesystem::path> requiredDataFiles(int year) {
    return {"templates/kml_template3.txt",
            "templates/kml_template3ir.txt",
            "templates/kml_template3irwv.txt",
            "icons",
            "iconpath.txt",
            "states.txt",
            std::to_string(year) + "_hurricanes.txt",
            "qv_albers.prj",
            "WGS1984.prj",
            "databases/zorn_trs.mdb",
            "databases/zipcode2.mdb"};
}

std::string systemReport(const SystemFacts& facts) {
    std::string report = "Siteward version " + facts.programVersion + "\n";
    report += "Qt version " + facts.toolkitVersion + "\n";
    report += "Operating system: " + facts.operatingSystem + " (" + facts.kernel + ")\n";
    report += "Data folder: " + facts.dataFolder.string() + "\n";
    int missing = 0;
    std::string lines;
    for (const auto& file : requiredDataFiles(facts.year)) {
        std::error_code error;
        const auto status = std::filesystem::status(facts.dataFolder / file, error);
        // A folder where a file belongs (or the reverse) is as good as missing.
        const bool found = file.has_extension() ? std::filesystem::is_regular_file(status)
                                                : std::filesystem::is_directory(status);
        missing += found ? 0 : 1;
        lines += file.generic_string() + (found ? ": found\n" : ": MISSING\n");
    }
    report += missing == 0 ? "Data files: all found\n"
                           : "Data files: " + std::to_string(missing) + " missing\n";
    return report + lines;
}

} // namespace sw
