#pragma once
// Independent checks of a KML file: the OGC KML 2.2 schema (xmllint) and GDAL's two KML
// readers (ogrinfo), each run as its own program so the test does not share our code's view
// of the file.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sw::test {

struct ToolResult {
    int exitCode = -1;  // -1: the program could not be started or did not finish
    std::string output; // standard output and error, merged
};
ToolResult runTool(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& standardInput = {});

// Empty when the file is well-formed and valid against the OGC KML 2.2 schema; otherwise
// xmllint's report.
std::string kmlSchemaErrors(const std::filesystem::path& file);

struct KmlFeature {
    std::string name;
    std::string description;
    std::optional<double> longitude; // set for point features
    std::optional<double> latitude;
};

// The features GDAL reads from the file with one driver ("KML" or "LIBKML").
std::vector<KmlFeature> readKmlWithGdal(const std::filesystem::path& file,
                                        const std::string& driver);

// The point feature of that name, if GDAL found exactly one.
std::optional<KmlFeature> findPoint(const std::vector<KmlFeature>& features,
                                    const std::string& name);

} // namespace sw::test
