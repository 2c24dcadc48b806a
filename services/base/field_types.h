#pragma once
// The type codes of attribute columns, shared by the database's tables and the shapefile
// writer's AddField, so a table's columns pass to a shapefile unchanged and a record's column
// table names each kind once.

namespace sw {

enum class FieldType {
    YesNo = 1,
    Integer = 3,     // a short whole number
    LongInteger = 4, // a 32-bit whole number in the database; any long integer in a shapefile
    Single = 6,
    Double = 7,
    Date = 8,
    Text = 10,
    Numeric = 19, // shapefiles only: a number column as Double
    Float = 20,   // shapefiles only: a floating number column as Single
};

constexpr int typeCode(FieldType type) {
    return static_cast<int>(type);
}

} // namespace sw
