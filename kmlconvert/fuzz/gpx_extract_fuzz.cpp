// libFuzzer target: any bytes given to the GPX position reader must end in vertices or a
// refusal, never in a crash, a hang or unbounded memory, and keep the readers' rules
// (extraction_rules.h).

#include "kmlconvert/fuzz/extraction_rules.h"
#include "kmlconvert/gpx_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sw::kml::checkExtractionRules(sw::kml::extractGpsCoordinates, data, size);
    return 0;
}
