// What one keystroke in the converter costs, and how fast siteward-coords converts points.

#include <cstdio>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>

#include <benchmark/benchmark.h>

#include "coord/albers.h"
#include "coord/angle_fields.h"
#include "coord/grid_reference.h"
#include "coord/hand_back.h"
#include "coord/point_csv.h"

namespace {

// One keystroke of the converter: the field change, both rows composed, the six texts.
void BM_Keystroke(benchmark::State& state) {
    sw::AngleState angles;
    static const char* const digits[] = {"1", "12", "25", "2", "0", "9", "5", "75"};
    std::size_t i = 0;
    sw::fieldChanged(angles, sw::Field::DDLatitudeDegrees, "30");
    sw::fieldChanged(angles, sw::Field::DDLongitudeDegrees, "084");
    for (auto _ : state) {
        const sw::FieldChange fx = sw::fieldChanged(angles, sw::Field::DDLatitudeDecimals,
                                                    digits[i++ % std::size(digits)]);
        sw::composeRow(angles, sw::Notation::DD, *fx.recompose);
        sw::composeRow(angles, sw::Notation::DD, sw::Row::Longitude);
        benchmark::DoNotOptimize(sw::handBackTexts(angles.latitude, angles.longitude));
    }
}
BENCHMARK(BM_Keystroke);

void BM_Albers(benchmark::State& state) {
    double lat = 30.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sw::lltoAlbers::AlbersFromLatLong(lat, -84.5));
        lat += 1e-7;
    }
}
BENCHMARK(BM_Albers);

void BM_UtmUsng(benchmark::State& state) {
    double lat = 30.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sw::lltoAlbers::UtmUsngFromLatLong(lat, -84.5));
        lat += 1e-7;
    }
}
BENCHMARK(BM_UtmUsng);

// Discards what it is given, so only the conversion is measured.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

const std::string& millionPoints() {
    static const std::string text = [] {
        std::mt19937_64 rng(1);
        std::uniform_real_distribution<double> lat(24, 31.5);
        std::uniform_real_distribution<double> lon(-88, -79);
        std::string s;
        s.reserve(30'000'000);
        char line[64];
        for (int i = 0; i < 1'000'000; ++i) {
            const int n = std::snprintf(line, sizeof line, "%.6f,%.6f\n", lat(rng), lon(rng));
            s.append(line, static_cast<std::size_t>(n));
        }
        return s;
    }();
    return text;
}

// The argument is the number of threads. Side by side with cs2cs on the same points:
// coord/bench/million_points.sh.
void BM_CommandLineMillionPoints(benchmark::State& state) {
    const std::string& input = millionPoints();
    NullBuffer sink;
    std::ostream out(&sink);
    std::ostream err(&sink);
    for (auto _ : state) {
        std::istringstream in(input);
        const sw::ConversionCount n = sw::convertPointLines(
            in, "bench", out, err, sw::InputForm::Any, static_cast<unsigned>(state.range(0)));
        benchmark::DoNotOptimize(n.points);
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_CommandLineMillionPoints)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// A grid reference read back to latitude and longitude.
void BM_ReadGridReference(benchmark::State& state) {
    static const char* const references[] = {"17R MH 90932 88611", "16R 740550.42 3349132.77",
                                             "17rmh9093288611", "17 490932 2788611 N"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            sw::readGridReference(references[i++ % std::size(references)]).latitude);
    }
}
BENCHMARK(BM_ReadGridReference);

} // namespace

BENCHMARK_MAIN();
