#pragma once
// Finding the platform's own system-information viewer for the About window. There is no
// registry here; the viewer is any of the known tools found on the search path.

#include <string>
#include <vector>

namespace sw {

inline constexpr const char* kSystemInfoUnavailable =
    "System Information Is Unavailable At This Time";

// The tools tried, in order of preference.
const std::vector<std::string>& systemInfoCandidates();

// The full path of the first candidate that is an executable file in one of the folders of
// `searchPath` (a PATH-style list separated by ':'), or empty when there is none.
std::string findSystemInfoTool(const std::string& searchPath,
                               const std::vector<std::string>& candidates = systemInfoCandidates());

} // namespace sw
