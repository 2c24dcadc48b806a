#include "services/database/prepared_statement.h"

#include <sqlite3.h>

#include <algorithm>

namespace sw {

PreparedStatement::~PreparedStatement() {
    finalize();
}

int PreparedStatement::prepare(sqlite3* db, std::string_view sql) {
    finalize();
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &handle_, &tail);
    const std::string_view rest = tail == nullptr
                                      ? std::string_view()
                                      : sql.substr(static_cast<std::size_t>(tail - sql.data()));
    moreAfter_ = !std::all_of(rest.begin(), rest.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';';
    });
    return rc;
}

int PreparedStatement::parameterCount() const {
    return sqlite3_bind_parameter_count(handle_);
}

int PreparedStatement::bind(int index, const DbValue& value) {
    switch (value.type()) {
    case DbValue::Type::Null:
        return sqlite3_bind_null(handle_, index);
    case DbValue::Type::Integer:
        return sqlite3_bind_int64(handle_, index, value.toInteger());
    case DbValue::Type::Real:
        return sqlite3_bind_double(handle_, index, value.toNumber());
    case DbValue::Type::Text: {
        std::string text = value.toText();
        return sqlite3_bind_text(handle_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

int PreparedStatement::step() {
    return sqlite3_step(handle_);
}

int PreparedStatement::columnCount() const {
    return sqlite3_column_count(handle_);
}

std::vector<std::string> PreparedStatement::columnNames() const {
    std::vector<std::string> names;
    const int columns = columnCount();
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(handle_, c);
        names.emplace_back(name ? name : "");
    }
    return names;
}

DbValue PreparedStatement::value(int column) const {
    switch (sqlite3_column_type(handle_, column)) {
    case SQLITE_INTEGER:
        return DbValue(static_cast<long long>(sqlite3_column_int64(handle_, column)));
    case SQLITE_FLOAT:
        return DbValue(sqlite3_column_double(handle_, column));
    case SQLITE_NULL:
        return DbValue();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
        int bytes = sqlite3_column_bytes(handle_, column);
        return DbValue(std::string(text ? text : "", static_cast<std::size_t>(bytes)));
    }
    }
}

int PreparedStatement::finalize() {
    const int rc = sqlite3_finalize(handle_);
    handle_ = nullptr;
    return rc;
}

} // namespace sw
