#include "kmlconvert/fire_attributes.h"

#include "taskwindow/record_file.h"

namespace sw::kml {

std::string attributeLine(const FireAttributes& a) {
    const FireRecord& f = a.fire;
    return RecordLine()
        .number(1)
        .text(f.name)
        .text(f.incident)
        .text(f.report)
        .text(f.entryDate)
        .text(f.startDate)
        .text(f.area)
        .text(f.fuel)
        .text(f.cause)
        .text(a.featureType)
        .text(f.percent)
        .text(f.significant)
        .str();
}

} // namespace sw::kml
