// siteward-coords: converts points (decimal degrees, USNG or UTM) into the six texts that the
// coordinate converter hands to a task window, as CSV. Thin: the work is in point_csv and the
// engine.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coord/point_csv.h"

namespace {

constexpr std::string_view usage =
    R"(Usage: siteward-coords [--from latlon|usng|utm] [FILE]...
Converts points given in decimal degrees, in degrees and minutes, as US National Grid
references or as UTM coordinates into the six texts that Siteward's coordinate converter
hands to a task window, written as CSV to standard output.

Input: one point per line, from each FILE in turn, or from standard input when no FILE (or
"-") is given. Each line is read on its own: a pair of numbers is a latitude and longitude,
anything else a grid reference or a latitude and longitude with degree marks or hemisphere
letters. The forms:
  latitude,longitude    30.25,-84.5 or 30.25 -84.5 (blanks or tabs between); north and east
                        positive, west negative; an exponent allowed (1e-05,0)
  marked latitude and   30°15'N 84°30'W, 30°15'00.0"N 84°30'00.0"W, 30.25°N, 84.5°W,
  longitude             N30 15.000 W84 30.000: degrees, minutes and seconds with their marks
                        (or unmarked, in that order), N S E W before or after, or a sign
  USNG (MGRS)           17R MH 90932 88611, 17RMH9093288611, lower case and extra blanks
                        allowed; 0 to 5 digits each for easting and northing (100 km to 1 m).
                        A reference gives the centre of its square; a 1 m reference gives
                        the point of its digits, which is how Siteward writes them.
  UTM (WGS 84)          17R 490932.18 2788611.27 (zone and band), 17N 490932 2788611 or
                        17 490932 2788611 N (N or S: the hemisphere), decimals allowed.
                        N and S after the zone are read as the band when the northing lies
                        in it, as the hemisphere otherwise.
Polar references (bands A, B, Y, Z; beyond 84 N and 80 S) are not supported. Blank lines are
skipped silently. A line that cannot be read (not a point, latitude outside -90..90,
longitude outside -180..180, a refused grid reference) is reported on standard error with
its file, line number and what is wrong, and skipped.

Output: the header line
  Latitude,Longitude,AlbersX,AlbersY,UTM,USNG
then one row per point, in input order: latitude "00.0000", longitude "000.0000", the state
Albers easting and northing in metres (rounded to 2 decimals), the UTM text and the US
National Grid text (WGS 84), as the converter computes them from the point. Lines end with
CR LF.

Exit status: 0 when every line was converted, 1 when any line was skipped, 2 when a file
could not be read or the output could not be written.

Options:
  --from FORM  read every line as FORM: latlon (either latitude and longitude form), usng or
               utm (default: each line on its own)
  -h, --help   show this text and exit
  --           treat every later argument as a FILE, even one that starts with "-"
)";

// What the command line asks for.
struct Arguments {
    std::vector<std::string> files;
    sw::InputForm form = sw::InputForm::Any;
    bool help = false;
    std::string error; // a message for standard error: the command line is refused
};

std::optional<sw::InputForm> formNamed(std::string_view name) {
    if (name == "latlon") {
        return sw::InputForm::LatLon;
    }
    if (name == "usng") {
        return sw::InputForm::Usng;
    }
    if (name == "utm") {
        return sw::InputForm::Utm;
    }
    return std::nullopt;
}

Arguments readArguments(int argc, char** argv) {
    Arguments a;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            a.help = true;
            return a;
        }
        if (!optionsEnded && (arg == "--from" || arg.starts_with("--from="))) {
            if (arg == "--from" && i + 1 == argc) {
                a.error = "--from needs latlon, usng or utm";
                return a;
            }
            const std::string_view value = arg == "--from" ? argv[++i] : arg.substr(7);
            const auto form = formNamed(value);
            if (!form) {
                a.error = "--from " + std::string(value) + " is not latlon, usng or utm";
                return a;
            }
            a.form = *form;
            continue;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            a.error = "unknown option " + std::string(arg) + " (see siteward-coords --help)";
            return a;
        }
        a.files.emplace_back(arg);
    }
    if (a.files.empty()) {
        a.files.emplace_back("-");
    }
    return a;
}

// Converts one input ("-": standard input); false when it could not be read.
bool convertFile(const std::string& name, sw::InputForm form, sw::ConversionCount& count) {
    if (name == "-") {
        count = sw::convertPointLines(std::cin, "<stdin>", std::cout, std::cerr, form);
        if (std::cin.bad()) {
            std::cerr << "siteward-coords: error reading standard input\n";
            return false;
        }
        return true;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        std::cerr << "siteward-coords: cannot open " << name << '\n';
        return false;
    }
    count = sw::convertPointLines(in, name, std::cout, std::cerr, form);
    if (in.bad()) {
        std::cerr << "siteward-coords: error reading " << name << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const Arguments arguments = readArguments(argc, argv);
    if (arguments.help) {
        std::cout << usage;
        return 0;
    }
    if (!arguments.error.empty()) {
        std::cerr << "siteward-coords: " << arguments.error << '\n';
        return 2;
    }

    std::cout << sw::pointCsvHeader << sw::pointCsvLineEnd;
    bool skippedAny = false;
    bool failed = false;
    for (const std::string& name : arguments.files) {
        sw::ConversionCount count;
        failed = !convertFile(name, arguments.form, count) || failed;
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
