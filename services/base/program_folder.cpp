#include "services/base/program_folder.h"

namespace sw {
namespace {
std::filesystem::path& folderStore() {
    static std::filesystem::path folder = std::filesystem::current_path();
    return folder;
}
} // namespace

const std::filesystem::path& programFolder() {
    return folderStore();
}

void setProgramFolder(const std::filesystem::path& folder) {
    folderStore() = folder;
}

} // namespace sw
