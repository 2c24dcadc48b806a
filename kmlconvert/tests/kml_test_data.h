#pragma once
// The KML files the tests convert (also the fuzz target's seed corpus), and how a test reads
// the parts found in one.

#include "kmlconvert/kml_extract.h"
#include "testsupport/test_paths.h"

#include <filesystem>
#include <string>

namespace sw::test {

inline std::filesystem::path kmlTestFile(const std::string& name) {
    return sourceDir() / "kmlconvert" / "tests" / "data" / name;
}

// The parts of an extraction as "outer:5 inner:4 ...", in order.
inline std::string partsOf(const kml::Extraction& e) {
    static const char* kinds[] = {"point", "line", "outer", "inner", "ring", "track", "other"};
    std::string text;
    for (const auto& p : e.parts) {
        text += (text.empty() ? "" : " ") + std::string(kinds[static_cast<int>(p.kind)]) + ":" +
                std::to_string(p.count);
    }
    return text;
}

} // namespace sw::test
