#include "testsupport/test_paths.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace sw::test {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "siteward-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path runtimeDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::filesystem::path sourceDir() {
    if (const char* dir = std::getenv("SW_SOURCE_DIR")) {
        return dir;
    }
    return std::filesystem::current_path();
}

std::filesystem::path kmlSchema() {
    return sourceDir() / "testsupport" / "schemas" / "ogckml22.xsd";
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace sw::test
