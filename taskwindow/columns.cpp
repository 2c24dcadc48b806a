#include "taskwindow/columns.h"

#include "coord/number_text.h"
#include "services/shapefiles.h"
#include "taskwindow/record_file.h"

namespace sw {

Column Column::text(std::string title, std::string field, int width) {
    return {std::move(title), std::move(field), FieldKind::Text, width, false};
}

Column Column::number(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldKind::Double, 0, true};
}

Column Column::quotedNumber(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldKind::Double, 0, false};
}

Column Column::date(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldKind::Date, 0, false};
}

Column Column::longInteger(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldKind::LongInteger, 0, true};
}

int Column::shapeTypeCode() const {
    switch (kind) {
    case FieldKind::Text:
        return ShapeFiles::kTextField;
    case FieldKind::Double:
        return ShapeFiles::kDoubleField;
    case FieldKind::Date:
        return ShapeFiles::kDateField;
    case FieldKind::LongInteger:
        break;
    }
    return ShapeFiles::kLongField;
}

std::string headerLine(const RecordRow& row) {
    RecordLine line;
    for (const Column& column : row.columns) {
        line.text(column.title);
    }
    return line.str();
}

std::string recordLine(const RecordRow& row) {
    RecordLine line;
    for (std::size_t i = 0; i < row.columns.size(); ++i) {
        const std::string& text = i < row.texts.size() ? row.texts[i] : std::string();
        if (row.columns[i].bareNumber) {
            line.number(leadingNumber(text));
        } else {
            line.text(text);
        }
    }
    return line.str();
}

} // namespace sw
