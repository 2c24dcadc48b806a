#include "testsupport/kml_checks.h"

#include "testsupport/run_process.h"
#include "testsupport/test_paths.h"

namespace sw::test {

std::string kmlSchemaErrors(const std::filesystem::path& file) {
    ProcessResult result = runProcess(
        "xmllint", {"--noout", "--nonet", "--schema", kmlSchema().string(), file.string()});
    return result.exitCode == 0 ? std::string() : result.output;
}

std::string gdalFeatures(const std::filesystem::path& file, const std::string& driver) {
    // A driver is picked by skipping the other, which would otherwise claim the file first.
    const std::string other = driver == "KML" ? "LIBKML" : "KML";
    return runProcess("ogrinfo",
                      {"--config", "GDAL_SKIP", other, "-ro", "-al", "-q", file.string()})
        .output;
}

} // namespace sw::test
