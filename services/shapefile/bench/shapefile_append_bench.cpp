// Appending one facility point to an existing shapefile, as "Append Existing Shapefile" does
// (open for appending, set the eight values, one vertex, write), to a file of 10 points and
// to one of 1,000,000 points. An append writes the new record, index entry and row and the
// three headers, and reads no more than the headers and the last index entry, so both cost
// the same.
//
// Besides the benchmarks, two modes for services/shapefile/bench/beside_gdal.py, which times
// GDAL's append of the same point to the same files:
//     services_shapefile_bench --make PATH POINTS   a facility shapefile of that many points
//     services_shapefile_bench --append PATH COUNT  COUNT appends, one at a time; prints the
//                                                   median milliseconds of one

#include "services/shapefile/shapefiles.h"

#include <benchmark/benchmark.h>
#include <shapefil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool addFacilityFields(sw::ShapeFiles& out) {
    return out.Fields().AddField("Name", sw::FieldType::Text, 45) &&
           out.Fields().AddField("Type", sw::FieldType::Text, 45) &&
           out.Fields().AddField("Lat", sw::FieldType::Double) &&
           out.Fields().AddField("Long", sw::FieldType::Double) &&
           out.Fields().AddField("AlbersX", sw::FieldType::Double) &&
           out.Fields().AddField("AlbersY", sw::FieldType::Double) &&
           out.Fields().AddField("UTM", sw::FieldType::Text, 20) &&
           out.Fields().AddField("USNG", sw::FieldType::Text, 20) && out.CommitFields();
}

bool appendFacility(sw::ShapeFiles& out, const fs::path& path, double x, double y) {
    return out.OpenShapefile(path, sw::ShapeFiles::OpenMode::Append) &&
           out.Fields().Field("Name").SetValue("Appended tower") &&
           out.Fields().Field("Type").SetValue("Tower Site") &&
           out.Fields().Field("Lat").SetValue(30.4469) &&
           out.Fields().Field("Long").SetValue(-84.2773) &&
           out.Fields().Field("AlbersX").SetValue(x) && out.Fields().Field("AlbersY").SetValue(y) &&
           out.Fields().Field("UTM").SetValue("16 R 760920 3372280") &&
           out.Fields().Field("USNG").SetValue("16R GU 60920 72280") &&
           out.Vertices().AddVertex(x, y, 0) && out.WriteRecord();
}

// Makes the file through the writer itself (its columns and first record), then fills it
// straight through shapelib, in one pass rather than a million opened appends.
bool makeShapefile(const fs::path& path, int points) {
    {
        sw::ShapeFiles out;
        if (!out.OpenShapefile(path, sw::ShapeFiles::OpenMode::Create, sw::ShapeType::Point) ||
            !addFacilityFields(out) || !out.Vertices().AddVertex(400000, 665880.43) ||
            !out.WriteRecord()) {
            return false;
        }
    }
    SHPHandle shp = SHPOpen(path.c_str(), "rb+");
    DBFHandle dbf = DBFOpen(fs::path(path).replace_extension(".dbf").c_str(), "rb+");
    for (int i = 1; i < points; ++i) {
        double x = 300000 + (i % 1000) * 100.25;
        double y = 200000 + (i / 1000) * 50.5;
        SHPObject* object = SHPCreateSimpleObject(SHPT_POINT, 1, &x, &y, nullptr);
        SHPWriteObject(shp, -1, object);
        SHPDestroyObject(object);
        DBFWriteStringAttribute(dbf, i, 0, "Camp");
        DBFWriteStringAttribute(dbf, i, 1, "Helibase");
        DBFWriteDoubleAttribute(dbf, i, 2, 30.4469);
        DBFWriteDoubleAttribute(dbf, i, 3, -84.2773);
        DBFWriteDoubleAttribute(dbf, i, 4, x);
        DBFWriteDoubleAttribute(dbf, i, 5, y);
        DBFWriteStringAttribute(dbf, i, 6, "16 R 760920 3372280");
        DBFWriteStringAttribute(dbf, i, 7, "16R GU 60920 72280");
    }
    SHPClose(shp);
    DBFClose(dbf);
    return true;
}

fs::path shapefileOf(int points) {
    static std::map<int, fs::path> made;
    if (auto found = made.find(points); found != made.end()) {
        return found->second;
    }
    fs::path folder = fs::temp_directory_path() / ("siteward-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path path = folder / ("pf" + std::to_string(points) + ".shp");
    if (!makeShapefile(path, points)) {
        return {};
    }
    made[points] = path;
    return path;
}

void copyShapefile(const fs::path& from, const fs::path& to) {
    for (const char* extension : {".shp", ".shx", ".dbf"}) {
        fs::copy_file(fs::path(from).replace_extension(extension),
                      fs::path(to).replace_extension(extension),
                      fs::copy_options::overwrite_existing);
    }
}

void appendOnePoint(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    fs::path path = shapefileOf(points);
    if (path.empty()) {
        state.SkipWithError("cannot build the shapefile");
        return;
    }
    fs::path pristine = fs::path(path).replace_filename("pristine" + path.filename().string());
    copyShapefile(path, pristine);
    sw::ShapeFiles out;
    double x = 500000;
    int appended = 0;
    for (auto _ : state) {
        if (!appendFacility(out, path, x, 400000)) {
            state.SkipWithError(out.lastError().c_str());
            return;
        }
        x += 1;
        if (++appended == 1000) {
            // Back to the size it was built with, so the small file stays small.
            state.PauseTiming();
            copyShapefile(pristine, path);
            appended = 0;
            state.ResumeTiming();
        }
    }
}

BENCHMARK(appendOnePoint)->Arg(10)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

struct RemoveFiles {
    ~RemoveFiles() {
        std::error_code ec;
        fs::remove_all(fs::temp_directory_path() / ("siteward-bench-" + std::to_string(getpid())),
                       ec);
    }
} removeFiles;

// COUNT appends to the file, each timed alone; the median in milliseconds on stdout.
int timeAppends(const fs::path& path, int count) {
    std::vector<double> times;
    sw::ShapeFiles out;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!appendFacility(out, path, 500000 + i, 400000)) {
            std::fprintf(stderr, "%s\n", out.lastError().c_str());
            return 1;
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + count / 2, times.end());
    std::printf("%.3f\n", times[static_cast<std::size_t>(count / 2)]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {
        return makeShapefile(argv[2], std::atoi(argv[3])) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--append") == 0) {
        return timeAppends(argv[2], std::max(1, std::atoi(argv[3])));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
