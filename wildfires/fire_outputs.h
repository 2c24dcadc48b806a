#pragma once
// The outputs of a fire record: its one column table (text-file titles, shapefile fields,
// kinds and widths, values), the file names and filters of the wildfire window, and the KML
// document, whose template the user picks after choosing the file.

#include "taskwindow/columns.h"
#include "taskwindow/outputs.h"
#include "wildfires/fire_record.h"

namespace sw {

class Dialogs;

// The sixteen columns, in file order. The UTM column is 24 wide: a UTM text such as
// "16R 740550.42 3349132.77" is 24 characters, and a narrower column would cut its northing.
const ColumnTable<FireRecord>& fireColumns();

// The record as the text files take it: every text as the window shows it.
RecordRow fireTextRow(const FireRecord& record);
// The record as a shapefile takes it: a date field without digits ("__-__-____") holds no
// date, which the shapefile stores as an empty (null) date.
RecordRow fireShapeRow(const FireRecord& record);
// Where the record's point lies in a state Albers shapefile.
ShapePoint fireShapePoint(const FireRecord& record);

// "pw" before created files; the append dialogs offer only such files.
OutputSettings fireOutputSettings();

// The KML document: the output-file choice on the path itself (the dialog suggests
// "pw" + name), then the imagery question picking the template, then the link question and
// the document.
OutputResult writeFireKml(Dialogs& dialogs, RecordOutputs& outputs, const FireRecord& record);

} // namespace sw
