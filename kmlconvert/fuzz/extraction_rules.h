#pragma once
// What the coordinate readers promise for any bytes, checked by their fuzz targets: every
// vertex handed out is a checked tuple (longitude and latitude in range, text kept), the parts
// tile the vertices in order, and a file read without refusal has vertices.

#include "kmlconvert/kml_extract.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <functional>

namespace sw::kml {

using Reader = std::function<Extraction(QIODevice&, const std::string&, const VertexSink&)>;

inline void checkExtractionRules(const Reader& read, const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    std::size_t seen = 0;
    const auto extraction = read(buffer, "fuzz", [&](const Tuple& tuple) {
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
}

} // namespace sw::kml
