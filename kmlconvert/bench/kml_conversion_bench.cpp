// The whole KML conversion (extraction, vertex file, working database, shapefile, projection
// file) of a perimeter of a million vertices as Google Earth saves it: one placemark, one
// polygon, all tuples on one line, 25 MB.
//
//   kmlconvert_bench                          Google Benchmark run (also reports peak memory)
//   kmlconvert_bench --write-kml FILE [N]     writes the perimeter KML (N vertices, 1000000)
//   kmlconvert_bench --convert FILE           converts FILE once as a polygon; prints seconds
//                                             and the peak resident memory
// beside_ogr2ogr.sh runs the last two next to ogr2ogr on the same file.

#include "kmlconvert/conversion.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Answers every question as a user building a polygon would, without showing anything.
class PolygonAnswers : public sw::Dialogs {
public:
    explicit PolygonAnswers(std::string kml) : kml_(std::move(kml)) {}
    sw::Answer message(const sw::MessageRequest& request) override {
        if (request.buttons == sw::Buttons::Ok) {
            last_ = request.text;
            return sw::Answer::Ok;
        }
        // Not all points, not a line instead; overwrite an earlier run's output.
        return request.title == "Overwrite" ? sw::Answer::Yes : sw::Answer::No;
    }
    std::optional<std::string> input(const sw::InputRequest&) override { return std::nullopt; }
    std::optional<std::string> file(const sw::FileRequest&) override { return kml_; }
    void beep() override {}
    void setWaitCursor(bool) override {}
    const std::string& lastMessage() const { return last_; }

private:
    std::string kml_;
    std::string last_;
};

bool writePerimeter(const fs::path& file, long vertices) {
    std::ofstream out(file, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
           "xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
           "xmlns:kml=\"http://www.opengis.net/kml/2.2\" "
           "xmlns:atom=\"http://www.w3.org/2005/Atom\">\n<Document>\n"
           "\t<name>Big Perimeter.kml</name>\n\t<Placemark>\n\t\t<name>Perimeter</name>\n"
           "\t\t<Polygon>\n\t\t\t<tessellate>1</tessellate>\n\t\t\t<outerBoundaryIs>\n"
           "\t\t\t\t<LinearRing>\n\t\t\t\t\t<coordinates>\n\t\t\t\t\t\t";
    // A wobbly ring about 30 km across, drawn counter-clockwise as a hand would, with the
    // 15 significant digits Google Earth writes.
    char tuple[96];
    std::string first;
    for (long i = 0; i < vertices - 1; ++i) {
        const double t = 2 * M_PI * static_cast<double>(i) / static_cast<double>(vertices - 1);
        const double r = 0.15 + 0.01 * std::sin(37 * t);
        std::snprintf(tuple, sizeof tuple, "%.7f,%.7f,0 ", -82.35 + r * std::cos(t),
                      29.65 + r * std::sin(t));
        if (i == 0) {
            first = tuple;
        }
        out << tuple;
    }
    out << first << "\n\t\t\t\t\t</coordinates>\n\t\t\t\t</LinearRing>\n"
        << "\t\t\t</outerBoundaryIs>\n\t\t</Polygon>\n\t</Placemark>\n</Document>\n</kml>\n";
    return static_cast<bool>(out);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

sw::kml::FireAttributes attributes() {
    sw::kml::FireAttributes a;
    a.fire = {"Big Fire", "FL-1",     "Update",    "",      "",          "",       "",   "", "",
              "06-11-26", "06-10-26", "25,000.00", "Grass", "lightning", "45.00%", "Yes"};
    a.featureType = "Fire Perimeter";
    return a;
}

bool convertOnce(const fs::path& kml, std::string& message) {
    PolygonAnswers dialogs(kml.string());
    sw::FileDialogMemory kmlDialog;
    auto outcome = sw::kml::convertKml(dialogs, attributes(), kmlDialog);
    message = dialogs.lastMessage();
    return outcome.completed;
}

void BM_ConvertMillionVertexPerimeter(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / "siteward-kml-bench";
    fs::create_directories(folder);
    const fs::path kml = folder / "Big Perimeter.kml";
    if (!fs::exists(kml) && !writePerimeter(kml, 1000000)) {
        state.SkipWithError("cannot write the perimeter KML");
        return;
    }
    for (auto _ : state) {
        std::string message;
        if (!convertOnce(kml, message)) {
            state.SkipWithError(message.c_str());
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peakKilobytes()) / 1024.0;
    state.counters["kml_MB"] = static_cast<double>(fs::file_size(kml)) / 1e6;
}
BENCHMARK(BM_ConvertMillionVertexPerimeter)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--write-kml") == 0) {
        const long vertices = argc >= 4 ? std::atol(argv[3]) : 1000000;
        return writePerimeter(argv[2], vertices) ? 0 : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--convert") == 0) {
        const auto start = std::chrono::steady_clock::now();
        std::string message;
        const bool ok = convertOnce(argv[2], message);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%s: %.2f s, peak %.0f MB\n", ok ? message.c_str() : "FAILED", took.count(),
                    static_cast<double>(peakKilobytes()) / 1024.0);
        if (!ok) {
            std::fprintf(stderr, "%s\n", message.c_str());
        }
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
