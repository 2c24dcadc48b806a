#pragma once
// Independent checks of a KML file: the OGC KML 2.2 schema (xmllint) and GDAL's two KML
// readers (ogrinfo), each run as its own program so the test does not share our view of the
// file.

#include <filesystem>
#include <string>

namespace sw::test {

// Empty when the file is well-formed and valid against the OGC KML 2.2 schema; otherwise
// xmllint's report.
std::string kmlSchemaErrors(const std::filesystem::path& file);

// The features as GDAL reads them with one driver ("KML" or "LIBKML"), in ogrinfo's listing:
// "  Name (String) = ...", "  [Dd]escription (String) = ...", "  POINT Z (lon lat 0)".
std::string gdalFeatures(const std::filesystem::path& file, const std::string& driver);

} // namespace sw::test
