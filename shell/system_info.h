#pragma once
// What About's "System Info..." tells: the facts a help desk asks for (program and toolkit
// versions, operating system, where the data is and whether each data file is there), and the
// platform's own system-information viewer, started as well when one is installed. There is
// no registry here; the viewer is any of the known tools found on the search path.

#include <filesystem>
#include <string>
#include <vector>

namespace sw {

// The tools tried, in order of preference.
const std::vector<std::string>& systemInfoCandidates();

// The full path of the first candidate that is an executable file in one of the folders of
// `searchPath` (a PATH-style list separated by ':'), or empty when there is none.
std::string findSystemInfoTool(const std::string& searchPath,
                               const std::vector<std::string>& candidates = systemInfoCandidates());

// The installed data the program reads, relative to the data folder ("icons" is a folder);
// the storm-name list is the one of `year`, the only one the program looks for.
std::vector<std::filesystem::path> requiredDataFiles(int year);

struct SystemFacts {
    std::string programVersion;  // "4.9"
    std::string toolkitVersion;  // the Qt version the program runs with
    std::string operatingSystem; // its name and version as the system gives them
    std::string kernel;          // kernel type and version
    std::filesystem::path dataFolder;
    int year = 0;
};

// The report, one fact a line, then one line per data file saying whether it was found.
std::string systemReport(const SystemFacts& facts);

} // namespace sw
