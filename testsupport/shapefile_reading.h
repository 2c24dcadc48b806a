#pragma once
// Reads a shapefile back through GDAL and a byte-level parser (read_shapefile.py beside this
// file), so tests compare what we wrote with what independent readers see.

#include <QJsonArray>
#include <QJsonObject>
#include <filesystem>
#include <string>

namespace sw::test {

struct ReadBack {
    bool ok = false;
    std::string output; // what the reader printed when it failed
    QJsonObject raw;    // the files parsed byte by byte, with "problems"
    QJsonObject gdal;   // GDAL's view: columns, features, "acres", with "messages"
    QJsonObject prj;    // the projection file as GDAL reads it; empty when there is none
};

ReadBack readShapefile(const std::filesystem::path& shp);

// Everything wrong with a read-back (reader failure, format or consistency problems, GDAL
// warnings, an unreadable projection file) as one text; empty when all is well.
std::string problemsOf(const ReadBack& back);

// "Name String 45, Lat Real, EntryDate Date, ...": the columns as GDAL sees them, text widths
// included.
std::string fieldList(const ReadBack& back);

} // namespace sw::test
