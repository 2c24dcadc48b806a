#include "taskwindow/columns.h"

#include "coord/number_text.h"
#include "taskwindow/record_file.h"

namespace sw {

Column Column::text(std::string title, std::string field, int width) {
    return {std::move(title), std::move(field), FieldType::Text, width, false};
}

Column Column::number(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldType::Double, 0, true};
}

Column Column::quotedNumber(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldType::Double, 0, false};
}

Column Column::date(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldType::Date, 0, false};
}

Column Column::longInteger(std::string title, std::string field) {
    return {std::move(title), std::move(field), FieldType::LongInteger, 0, true};
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
