#pragma once
// The program's folder: the executable's own folder, where the installed data lies
// (templates, icons, databases, projection files, lists). Set once at start-up; tests set it
// to the build's runtime folder or to a folder of their own.

#include <filesystem>

namespace sw {

const std::filesystem::path& programFolder();
void setProgramFolder(const std::filesystem::path& folder);

} // namespace sw
