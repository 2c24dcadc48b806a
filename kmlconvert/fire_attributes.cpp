#include "kmlconvert/fire_attributes.h"

#include "facilities/record_file.h"

namespace sw::kml {

std::string attributeLine(const FireAttributes& a) {
    return RecordLine()
        .number(1)
        .text(a.name)
        .text(a.incidentNumber)
        .text(a.report)
        .text(a.entryDate)
        .text(a.startDate)
        .text(a.area)
        .text(a.fuel)
        .text(a.cause)
        .text(a.featureType)
        .text(a.percent)
        .text(a.significance)
        .str();
}

} // namespace sw::kml
