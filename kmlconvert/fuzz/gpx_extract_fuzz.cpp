// libFuzzer target: any bytes given to the GPX position reader must end in vertices or a
// refusal, never in a crash, a hang or unbounded memory. Every vertex handed out must be a
// tuple the reader checked: two or three numbers, longitude and latitude in range.

#include "kmlconvert/gpx_extract.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    std::size_t seen = 0;
    const auto extraction =
        sw::kml::extractGpsCoordinates(buffer, "fuzz.gpx", [&](const sw::kml::Tuple& tuple) {
            ++seen;
            if (!(tuple.longitude >= -180 && tuple.longitude <= 180 && tuple.latitude >= -90 &&
                  tuple.latitude <= 90) ||
                tuple.text.empty()) {
                std::abort();
            }
        });
    std::size_t inParts = 0;
    for (const auto& part : extraction.parts) {
        if (part.count == 0 || part.first != inParts) {
            std::abort(); // parts must tile the vertices in order
        }
        inParts += part.count;
    }
    if (extraction.ok() && (seen == 0 || seen != extraction.vertexCount || inParts != seen)) {
        std::abort();
    }
    return 0;
}
