#include "services/database/db_value.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "services/base/no_case.h"
#include "services/base/number_reading.h"

namespace sw {

namespace {

const DbValue& nullValue() {
    static const DbValue null;
    return null;
}

} // namespace

std::string DbValue::toText() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Integer:
        return std::to_string(std::get<std::int64_t>(value_));
    case Type::Real: {
        // Shortest text that reads back as the same double: what the value was typed as.
        char buffer[64];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value_));
        return ec == std::errc() ? std::string(buffer, end) : std::string();
    }
    case Type::Text:
        return std::get<std::string>(value_);
    }
    return {};
}

double DbValue::toNumber() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return static_cast<double>(std::get<std::int64_t>(value_));
    case Type::Real:
        return std::get<double>(value_);
    case Type::Text: {
        const auto& text = std::get<std::string>(value_);
        return readNumber(text).value_or(leadingNumber(text));
    }
    }
    return 0;
}

std::int64_t DbValue::toInteger() const {
    if (type() == Type::Integer) {
        return std::get<std::int64_t>(value_);
    }
    double number = std::nearbyint(toNumber()); // the default rounding: ties to even
    if (!(number >= -9.2e18 && number <= 9.2e18)) {
        return 0;
    }
    return static_cast<std::int64_t>(number);
}

// ---------------------------------------------------------------------------------------------

Recordset::Recordset(std::vector<std::string> fieldNames, std::vector<std::vector<DbValue>> rows)
    : fieldNames_(std::move(fieldNames)), rows_(std::move(rows)) {}

const std::string& Recordset::fieldName(int position) const {
    static const std::string none;
    if (position < 0 || position >= fieldCount()) {
        return none;
    }
    return fieldNames_[static_cast<std::size_t>(position)];
}

std::optional<int> Recordset::fieldPosition(std::string_view name) const {
    for (std::size_t i = 0; i < fieldNames_.size(); ++i) {
        if (equalsNoCase(fieldNames_[i], name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

const DbValue& Recordset::value(std::string_view name) const {
    auto position = fieldPosition(name);
    return position ? value(*position) : nullValue();
}

const DbValue& Recordset::value(int position) const {
    if (eof() || position < 0 || position >= fieldCount()) {
        return nullValue();
    }
    const auto& row = rows_[current_];
    auto index = static_cast<std::size_t>(position);
    return index < row.size() ? row[index] : nullValue();
}

} // namespace sw
