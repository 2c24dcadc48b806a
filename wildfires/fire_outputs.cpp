#include "wildfires/fire_outputs.h"

#include "coord/number_text.h"
#include "services/base/dialogs.h"
#include "services/kml/kml_writer.h"

#include <algorithm>

namespace sw {

const ColumnTable<FireRecord>& fireColumns() {
    using R = FireRecord;
    static const ColumnTable<FireRecord> table = {
        {Column::text("Name", "Name", 45), [](const R& r) { return r.name; }},
        {Column::text("Incident_Number", "Incident", 45), [](const R& r) { return r.incident; }},
        {Column::text("Report", "Report", 10), [](const R& r) { return r.report; }},
        {Column::number("Latitude", "Lat"), [](const R& r) { return r.latitude; }},
        {Column::number("Longitude", "Long"), [](const R& r) { return r.longitude; }},
        {Column::number("AlbersX", "AlbersX"), [](const R& r) { return r.albersX; }},
        {Column::number("AlbersY", "AlbersY"), [](const R& r) { return r.albersY; }},
        {Column::text("UTM Coordinate", "UTM", 24), [](const R& r) { return r.utm; }},
        {Column::text("USNG Coordinate", "USNG", 20), [](const R& r) { return r.usng; }},
        {Column::date("Entry Date/Time", "EntryDate"), [](const R& r) { return r.entryDate; }},
        {Column::date("Fire Start Date", "StartDate"), [](const R& r) { return r.startDate; }},
        {Column::quotedNumber("Acres", "Acres"), [](const R& r) { return r.area; }},
        {Column::text("Fuel", "Fuel", 35), [](const R& r) { return r.fuel; }},
        {Column::text("Cause", "Cause", 35), [](const R& r) { return r.cause; }},
        {Column::text("Contained", "Contained", 10), [](const R& r) { return r.percent; }},
        // Found by name without regard to case, so a file whose field is spelt SigNif or
        // SIGNIF takes the value too.
        {Column::text("Significant", "Signif", 5), [](const R& r) { return r.significant; }},
    };
    return table;
}

RecordRow fireTextRow(const FireRecord& record) {
    return fireColumns().row(record);
}

RecordRow fireShapeRow(const FireRecord& record) {
    RecordRow row = fireColumns().row(record);
    for (std::size_t i = 0; i < row.columns.size(); ++i) {
        std::string& text = row.texts[i];
        if (row.columns[i].kind == FieldType::Date &&
            std::none_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            text.clear();
        }
    }
    return row;
}

ShapePoint fireShapePoint(const FireRecord& record) {
    return {leadingNumber(record.albersX), leadingNumber(record.albersY)};
}

OutputSettings fireOutputSettings() {
    OutputSettings settings;
    settings.prefix = "pw";
    settings.appendTextFilter = "Text Files (pw*.txt)|pw*.txt";
    settings.appendShapeFilter = "Shape Files (pw*.shp) | pw*.shp";
    return settings;
}

OutputResult writeFireKml(Dialogs& dialogs, RecordOutputs& outputs, const FireRecord& record) {
    const auto choice = chooseOutputFile(dialogs, outputs.dialog(),
                                         {.defaultExtension = kKmlDefaultExtension,
                                          .filter = kKmlFileFilter,
                                          .presetFileName = fireKmlFileName(record),
                                          .test = ExistenceTest::ChosenPath});
    if (!choice) {
        return OutputResult::cancelled();
    }
    const bool imagery = dialogs.message(imageryQuestion()) == Answer::Yes;
    const KmlWriteResult written =
        WriteKmlFromTemplate(dialogs, imagery ? kFireTemplateWithImagery : kFireTemplatePlain,
                             choice->target, record.name, fireDescriptionLines(record),
                             record.longitude, record.latitude, kFireIcon, "<range>5000</range>");
    return written ? OutputResult::written(choice->target)
                   : OutputResult::failed(choice->target, written.message);
}

} // namespace sw
