#pragma once
// Paths that tests need: a private temporary folder, the program's folder (where the build
// copies the installed data), the source tree and the KML schema kept in it.

#include <filesystem>
#include <string>

namespace sw::test {

// A fresh, empty folder removed again when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The folder of the running test program (the build's runtime folder with the data in it).
std::filesystem::path runtimeDir();
// The repository's root.
std::filesystem::path sourceDir();
// The OGC KML 2.2 schema kept in the repository (testsupport/schemas), for xmllint --schema.
std::filesystem::path kmlSchema();

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace sw::test
