// siteward-coords: converts decimal-degree points into the six texts that the coordinate
// converter hands to a task window, as CSV. Thin: the work is in point_csv and the engine.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "coord/point_csv.h"

namespace {

constexpr std::string_view usage =
    R"(Usage: siteward-coords [FILE]...
Converts points given in decimal degrees into the six texts that Siteward's coordinate
converter hands to a task window, written as CSV to standard output.

Input: one point per line, "latitude,longitude" or "latitude longitude" (blanks or tabs
between), from each FILE in turn, or from standard input when no FILE (or "-") is given.
Latitude is north positive, longitude east positive (west negative); decimal numbers
(30.25,-84.5), an exponent allowed (1e-05,0). Blank lines are skipped silently. A line that is not a pair of numbers,
or whose latitude is outside -90..90 or longitude outside -180..180, is reported on standard
error with its file and line number and skipped.

Output: the header line
  Latitude,Longitude,AlbersX,AlbersY,UTM,USNG
then one row per point: latitude "00.0000", longitude "000.0000", the state Albers easting
and northing in metres (rounded to 2 decimals), the UTM text and the US National Grid text
(WGS 84). Lines end with CR LF.

Exit status: 0 when every line was converted, 1 when any line was skipped, 2 when a file
could not be read or the output could not be written.

Options:
  -h, --help   show this text and exit
)";

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << usage;
            return 0;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            std::cerr << "siteward-coords: unknown option " << arg
                      << " (see siteward-coords --help)\n";
            return 2;
        }
        files.emplace_back(arg);
    }
    if (files.empty()) {
        files.emplace_back("-");
    }

    std::cout << sw::pointCsvHeader << sw::pointCsvLineEnd;
    bool skippedAny = false;
    bool failed = false;
    for (const std::string& name : files) {
        sw::ConversionCount count;
        if (name == "-") {
            count = sw::convertPointLines(std::cin, "<stdin>", std::cout, std::cerr);
            if (std::cin.bad()) {
                std::cerr << "siteward-coords: error reading standard input\n";
                failed = true;
            }
        } else {
            std::ifstream in(name, std::ios::binary);
            if (!in) {
                std::cerr << "siteward-coords: cannot open " << name << '\n';
                failed = true;
                continue;
            }
            count = sw::convertPointLines(in, name, std::cout, std::cerr);
            if (in.bad()) {
                std::cerr << "siteward-coords: error reading " << name << '\n';
                failed = true;
            }
        }
        skippedAny = skippedAny || count.skipped > 0;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "siteward-coords: could not write the output\n";
        return 2;
    }
    if (failed) {
        return 2;
    }
    return skippedAny ? 1 : 0;
}
