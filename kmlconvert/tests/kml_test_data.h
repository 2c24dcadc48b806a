#pragma once
// The KML files the tests convert (also the fuzz target's seed corpus).

#include "testsupport/test_paths.h"

#include <filesystem>
#include <string>

namespace sw::test {

inline std::filesystem::path kmlTestFile(const std::string& name) {
    return sourceDir() / "kmlconvert" / "tests" / "data" / name;
}

} // namespace sw::test
