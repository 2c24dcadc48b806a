// libFuzzer target: any bytes given to the KML coordinate reader must end in vertices or a
// refusal, never in a crash, a hang or unbounded memory, and keep the readers' rules
// (extraction_rules.h).

#include "kmlconvert/fuzz/extraction_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sw::kml::checkExtractionRules(
        [](QIODevice& in, const std::string& name, const sw::kml::VertexSink& sink) {
            return sw::kml::extractCoordinates(in, name, sink);
        },
        data, size);
    return 0;
}
