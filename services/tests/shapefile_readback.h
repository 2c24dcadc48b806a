#pragma once
// Reads a shapefile back through GDAL and a byte-level parser (shapefile_dump.py), so tests
// compare what we wrote with what an independent reader sees.

#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>
#include <string>

namespace sw::test {

struct ReadBack {
    bool ok = false;
    std::string output; // the reader's whole output when it failed
    QJsonObject raw;    // the files parsed byte by byte, with "problems"
    QJsonObject gdal;   // GDAL's view, with "messages"
};

ReadBack readShapefile(const std::filesystem::path& shp);

// Everything wrong with a read-back (reader failure, format or consistency problems, GDAL
// warnings) as one text; empty when all is well.
std::string problemsOf(const ReadBack& back);

} // namespace sw::test
