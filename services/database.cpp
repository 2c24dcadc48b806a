#include "services/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

namespace sw {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
    }
    return out;
}

// Finds `needle` in `text` from `from` on, without regard to ASCII case.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
    if (needle.size() > text.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (equalsNoCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The longest leading number of a text (blanks before it allowed), as the program reads
// numbers everywhere. Nothing when the text does not start with one.
std::optional<double> leadingNumber(std::string_view text, std::size_t* used = nullptr) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        ++start;
    }
    std::size_t digits = start;
    if (digits < text.size() && text[digits] == '+') {
        ++digits; // from_chars takes no plus sign
    } else if (digits < text.size() && text[digits] == '-' && digits == start) {
        ++digits;
    }
    // Only digits or a point may start the number: from_chars would also read inf and nan.
    if (digits >= text.size() ||
        !((text[digits] >= '0' && text[digits] <= '9') || text[digits] == '.')) {
        return std::nullopt;
    }
    double value = 0;
    const char* first = text.data() + (text[start] == '+' ? start + 1 : start);
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc()) {
        return std::nullopt;
    }
    if (used != nullptr) {
        *used = static_cast<std::size_t>(end - text.data());
    }
    return value;
}

const DbValue& nullValue() {
    static const DbValue null;
    return null;
}

} // namespace

// ---------------------------------------------------------------------------------------------

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
    case Type::Text:
        return leadingNumber(std::get<std::string>(value_)).value_or(0.0);
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

// ---------------------------------------------------------------------------------------------

std::optional<std::string> quoteName(std::string_view name) {
    if (name.empty() || name.size() > 128) {
        return std::nullopt;
    }
    for (char c : name) {
        // A bracketed name ends at the first "]"; there is no way to quote one inside it.
        if (c == ']' || c == '[' || static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt;
        }
    }
    return "[" + std::string(name) + "]";
}

namespace {

// sw_number(value, whole): a value as a number column stores it. A text that reads wholly as a
// number, digit grouping commas allowed ("1,234.50"), becomes that number; whole-number
// columns round to the nearest, halves to the even neighbour; an empty text is no value.
// Any other text is kept as it is rather than lost.
void swNumber(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3_value* value = args[0];
    const bool whole = sqlite3_value_int(args[1]) != 0;
    auto giveNumber = [&](double number) {
        double rounded = whole ? std::nearbyint(number) : number;
        if (whole && rounded >= -9.2e18 && rounded <= 9.2e18) {
            sqlite3_result_int64(context, static_cast<sqlite3_int64>(rounded));
        } else {
            sqlite3_result_double(context, rounded);
        }
    };
    switch (sqlite3_value_type(value)) {
    case SQLITE_FLOAT:
        giveNumber(sqlite3_value_double(value));
        return;
    case SQLITE_TEXT: {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
        std::string text(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_value_bytes(value)));
        std::string plain;
        for (char c : text) {
            if (c != ',') {
                plain += c;
            }
        }
        while (!plain.empty() && (plain.back() == ' ' || plain.back() == '\t')) {
            plain.pop_back();
        }
        if (plain.find_first_not_of(" \t") == std::string::npos) {
            sqlite3_result_null(context);
            return;
        }
        std::size_t used = 0;
        auto number = leadingNumber(plain, &used);
        if (number && used == plain.size()) {
            giveNumber(*number);
            return;
        }
        break;
    }
    default:
        break;
    }
    sqlite3_result_value(context, value);
}

// "INSERT INTO name ..." gives name (brackets removed); any other statement nothing.
std::optional<std::string> insertTarget(std::string_view sql) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t at = 0;
    auto skipBlanks = [&] {
        std::size_t start = at;
        while (at < sql.size() && blank(sql[at])) {
            ++at;
        }
        return at > start;
    };
    auto word = [&](std::string_view expected) {
        if (findNoCase(sql.substr(at, expected.size()), expected) != 0) {
            return false;
        }
        at += expected.size();
        return true;
    };
    skipBlanks();
    if (!word("INSERT") || !skipBlanks() || !word("INTO") || !skipBlanks() || at >= sql.size()) {
        return std::nullopt;
    }
    std::size_t end = at;
    if (sql[at] == '[') {
        end = sql.find(']', at);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(sql.substr(at + 1, end - at - 1));
    }
    while (end < sql.size() && !blank(sql[end]) && sql[end] != '(') {
        ++end;
    }
    return std::string(sql.substr(at, end - at));
}

} // namespace

Database::~Database() {
    close();
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), file_(std::move(other.file_)),
      error_(std::move(other.error_)), textTables_(other.textTables_) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        file_ = std::move(other.file_);
        error_ = std::move(other.error_);
        textTables_ = other.textTables_;
    }
    return *this;
}

void Database::close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool Database::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool Database::failSql(std::string_view what) {
    std::string message(what);
    if (db_ != nullptr) {
        message += ": ";
        message += sqlite3_errmsg(db_);
    }
    return fail(std::move(message));
}

bool Database::openReadOnly(const std::filesystem::path& file) {
    return openFile(file, SQLITE_OPEN_READONLY, true);
}

bool Database::open(const std::filesystem::path& file) {
    return openFile(file, SQLITE_OPEN_READWRITE, true);
}

bool Database::create(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        close();
        return fail("Cannot create database " + file.string() + ": the file already exists");
    }
    return openFile(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, false);
}

bool Database::openFile(const std::filesystem::path& file, int flags, bool mustExist) {
    close();
    error_.clear();
    file_ = file;
    std::error_code ec;
    if (mustExist && !std::filesystem::is_regular_file(file, ec)) {
        return fail("Database file not found: " + file.string());
    }
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "Cannot open database " + file.string() + ": " +
                              (handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close_v2(handle);
        return fail(std::move(message));
    }
    db_ = handle;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_create_function_v2(db_, "sw_number", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               swNumber, nullptr, nullptr, nullptr);
    // SQLite reads the file lazily; touch the schema now so that a file that is not a
    // database fails here, with its name, rather than at the first query.
    rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "Cannot read database " + file.string() + ": " + sqlite3_errmsg(db_);
        close();
        return fail(std::move(message));
    }
    return true;
}

namespace {

// Owns one prepared statement.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

bool onlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';';
    });
}

DbValue columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return DbValue(static_cast<long long>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return DbValue(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
        return DbValue();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        int bytes = sqlite3_column_bytes(stmt, column);
        return DbValue(std::string(text ? text : "", static_cast<std::size_t>(bytes)));
    }
    }
}

int bindValue(sqlite3_stmt* stmt, int index, const DbValue& value) {
    switch (value.type()) {
    case DbValue::Type::Null:
        return sqlite3_bind_null(stmt, index);
    case DbValue::Type::Integer:
        return sqlite3_bind_int64(stmt, index, value.toInteger());
    case DbValue::Type::Real:
        return sqlite3_bind_double(stmt, index, value.toNumber());
    case DbValue::Type::Text: {
        std::string text = value.toText();
        return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

} // namespace

namespace {

// One comma-separated line split into its values. Quoted values lose their quotes (a doubled
// quote inside stands for one); unquoted values lose surrounding blanks.
struct CsvField {
    std::string text;
    bool quoted = false;
};

std::vector<CsvField> splitCsvLine(std::string_view line) {
    std::vector<CsvField> fields;
    std::size_t i = 0;
    while (true) {
        CsvField field;
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        if (i < line.size() && line[i] == '"') {
            field.quoted = true;
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field.text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.text += line[i++];
            }
            // Anything between the closing quote and the comma is dropped.
            while (i < line.size() && line[i] != ',') {
                ++i;
            }
        } else {
            std::size_t end = line.find(',', i);
            if (end == std::string_view::npos) {
                end = line.size();
            }
            std::string_view raw = line.substr(i, end - i);
            while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) {
                raw.remove_suffix(1);
            }
            field.text = std::string(raw);
            i = end;
        }
        fields.push_back(std::move(field));
        if (i >= line.size()) {
            break;
        }
        ++i; // the comma
    }
    return fields;
}

// An unquoted value that is wholly a number becomes that number; integers stay integers.
DbValue typedValue(const CsvField& field) {
    if (field.quoted) {
        return DbValue(field.text);
    }
    if (field.text.empty()) {
        return DbValue();
    }
    std::size_t used = 0;
    auto number = leadingNumber(field.text, &used);
    if (!number || used != field.text.size()) {
        return DbValue(field.text);
    }
    std::string_view digits = field.text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    bool integral = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
    if (integral) {
        long long whole = 0;
        std::string_view text = field.text;
        if (!text.empty() && text.front() == '+') {
            text.remove_prefix(1);
        }
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
        if (ec == std::errc() && end == text.data() + text.size()) {
            return DbValue(whole);
        }
    }
    return DbValue(*number);
}

struct TextTable {
    std::vector<std::vector<DbValue>> rows;
    std::size_t columns = 0;
};

std::optional<TextTable> readTextTable(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Cannot read text file " + file.string();
        return std::nullopt;
    }
    TextTable table;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (first && line.starts_with("\xEF\xBB\xBF")) {
            line.erase(0, 3); // a UTF-8 byte order mark is not part of the first value
        }
        first = false;
        if (line.empty()) {
            continue;
        }
        std::vector<DbValue> row;
        for (const CsvField& field : splitCsvLine(line)) {
            row.push_back(typedValue(field));
        }
        table.columns = std::max(table.columns, row.size());
        table.rows.push_back(std::move(row));
    }
    if (in.bad()) {
        error = "Cannot read text file " + file.string();
        return std::nullopt;
    }
    return table;
}

// The declared type of a text column: INTEGER when every value is a whole number, REAL when
// every value is a number, TEXT otherwise (all empty: TEXT).
std::string columnTypeOf(const TextTable& table, std::size_t column) {
    bool any = false;
    bool allIntegers = true;
    bool allNumbers = true;
    for (const auto& row : table.rows) {
        if (column >= row.size() || row[column].isNull()) {
            continue;
        }
        any = true;
        auto type = row[column].type();
        allIntegers = allIntegers && type == DbValue::Type::Integer;
        allNumbers = allNumbers && (type == DbValue::Type::Integer || type == DbValue::Type::Real);
    }
    if (!any || !allNumbers) {
        return "TEXT";
    }
    return allIntegers ? "INTEGER" : "REAL";
}

} // namespace

// Loads every headerless text file that the statement names into a temporary table with
// columns F1, F2, ... and puts that table's name in the file's place.
bool Database::loadTextSources(std::string& sql, std::vector<std::string>& tempTables) {
    static constexpr std::string_view kOpen = "[Text;Database=";
    static constexpr std::string_view kMiddle = ";HDR=NO].[";
    std::size_t from = 0;
    while (true) {
        std::size_t open = findNoCase(sql, kOpen, from);
        if (open == std::string::npos) {
            return true;
        }
        std::size_t middle = findNoCase(sql, kMiddle, open + kOpen.size());
        if (middle == std::string::npos) {
            return fail("Text file source without \";HDR=NO].[\": " + sql.substr(open));
        }
        std::filesystem::path folder =
            sql.substr(open + kOpen.size(), middle - open - kOpen.size());
        std::size_t nameStart = middle + kMiddle.size();
        // The file name ends at a "]"; a name may hold "]" itself, so take the first "]"
        // that ends the name of an existing file.
        std::size_t close = sql.find(']', nameStart);
        std::size_t firstClose = close;
        while (close != std::string::npos) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(folder / sql.substr(nameStart, close - nameStart),
                                                 ec)) {
                break;
            }
            close = sql.find(']', close + 1);
        }
        if (firstClose == std::string::npos) {
            return fail("Text file source without closing \"]\": " + sql.substr(open));
        }
        if (close == std::string::npos) {
            return fail("Text file not found: " +
                        (folder / sql.substr(nameStart, firstClose - nameStart)).string());
        }
        std::filesystem::path file = folder / sql.substr(nameStart, close - nameStart);

        std::string error;
        auto table = readTextTable(file, error);
        if (!table) {
            return fail(error);
        }
        if (table->columns == 0) {
            table->columns = 1; // an empty file is a table of one column and no rows
        }

        std::string name = "sw_text_" + std::to_string(++textTables_);
        std::string create = "CREATE TEMP TABLE " + name + " (";
        for (std::size_t c = 0; c < table->columns; ++c) {
            create += (c ? ", F" : "F") + std::to_string(c + 1) + " " + columnTypeOf(*table, c);
        }
        create += ")";
        if (sqlite3_exec(db_, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            return failSql("Cannot read text file " + file.string());
        }
        tempTables.push_back(name);

        std::string insert = "INSERT INTO " + name + " VALUES (";
        for (std::size_t c = 0; c < table->columns; ++c) {
            insert += c ? ",?" : "?";
        }
        insert += ")";
        Statement stmt;
        if (sqlite3_prepare_v2(db_, insert.c_str(), -1, &stmt.handle, nullptr) != SQLITE_OK) {
            return failSql("Cannot read text file " + file.string());
        }
        for (const auto& row : table->rows) {
            sqlite3_reset(stmt.handle);
            sqlite3_clear_bindings(stmt.handle);
            for (std::size_t c = 0; c < row.size(); ++c) {
                bindValue(stmt.handle, static_cast<int>(c + 1), row[c]);
            }
            if (sqlite3_step(stmt.handle) != SQLITE_DONE) {
                return failSql("Cannot read text file " + file.string());
            }
        }

        sql.replace(open, close + 1 - open, name);
        from = open + name.size();
    }
}

namespace {

// "SELECT cols INTO table FROM rest" makes a new table from the selected rows; SQLite says it
// as "CREATE TABLE table AS SELECT cols FROM rest".
std::string rewriteSelectInto(const std::string& sql) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    // The position of `word` standing alone (blanks on both sides) from `from` on.
    auto findWord = [&](std::string_view word, std::size_t from) {
        for (std::size_t at = findNoCase(sql, word, from); at != std::string::npos;
             at = findNoCase(sql, word, at + 1)) {
            bool before = at > 0 && blank(sql[at - 1]);
            bool after = at + word.size() < sql.size() && blank(sql[at + word.size()]);
            if (before && after) {
                return at;
            }
        }
        return std::string::npos;
    };
    std::size_t start = 0;
    while (start < sql.size() && blank(sql[start])) {
        ++start;
    }
    if (findNoCase(sql, "SELECT", start) != start || start + 6 >= sql.size() ||
        !blank(sql[start + 6])) {
        return sql;
    }
    std::size_t into = findWord("INTO", start + 6);
    if (into == std::string::npos) {
        return sql;
    }
    std::size_t nameStart = into + 4;
    while (nameStart < sql.size() && blank(sql[nameStart])) {
        ++nameStart;
    }
    std::size_t nameEnd = nameStart;
    if (nameEnd < sql.size() && sql[nameEnd] == '[') {
        nameEnd = sql.find(']', nameEnd);
        nameEnd = nameEnd == std::string::npos ? sql.size() : nameEnd + 1;
    } else {
        while (nameEnd < sql.size() && !blank(sql[nameEnd])) {
            ++nameEnd;
        }
    }
    std::size_t from = findWord("FROM", nameEnd > 0 ? nameEnd - 1 : 0);
    if (nameEnd == nameStart || from == std::string::npos) {
        return sql;
    }
    for (std::size_t i = nameEnd; i < from; ++i) {
        if (!blank(sql[i])) {
            return sql; // something between the table and FROM: not this form
        }
    }
    return "CREATE TABLE " + sql.substr(nameStart, nameEnd - nameStart) + " AS SELECT " +
           sql.substr(start + 7, into - start - 7) + " FROM " + sql.substr(from + 4);
}

} // namespace

std::optional<Recordset> Database::query(std::string_view sql, const std::vector<DbValue>& params) {
    Recordset rows;
    if (!run(sql, params, &rows)) {
        return std::nullopt;
    }
    return rows;
}

bool Database::execute(std::string_view sql, const std::vector<DbValue>& params) {
    return run(sql, params, nullptr);
}

// Runs one statement; rows go to `rows` when given. Text-file sources live for this
// statement only, and the whole statement (loading included) succeeds or leaves nothing.
bool Database::run(std::string_view text, const std::vector<DbValue>& params, Recordset* rows) {
    sqlite3* handle = db_;
    if (handle == nullptr) {
        return failSql("No database is open");
    }
    std::string sql(text);
    bool textSource = findNoCase(sql, "[Text;Database=") != std::string::npos;
    const std::optional<std::string> target = insertTarget(sql);
    const bool guarded = textSource || target;
    if (guarded &&
        sqlite3_exec(handle, "SAVEPOINT sw_text", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return failSql("Cannot start statement");
    }
    std::vector<std::string> tempTables;
    bool ok = loadTextSources(sql, tempTables);
    // The rows an insert adds come after this one; their number columns are converted below.
    const std::optional<std::int64_t> lastRowBefore =
        ok && target ? lastRowid(*target) : std::nullopt;
    if (ok) {
        sql = rewriteSelectInto(sql);
        Statement stmt;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(handle, sql.data(), static_cast<int>(sql.size()), &stmt.handle,
                               &tail) != SQLITE_OK) {
            ok = failSql("Cannot run \"" + std::string(text) + "\"");
        } else if (stmt.handle == nullptr) {
            ok = failSql("Empty statement");
        } else if (tail != nullptr &&
                   !onlyBlanks(std::string_view(tail, sql.data() + sql.size() - tail))) {
            ok = failSql("Refused \"" + std::string(text) + "\": it holds more than one statement");
        } else if (sqlite3_bind_parameter_count(stmt.handle) != static_cast<int>(params.size())) {
            ok = failSql("Cannot run \"" + std::string(text) + "\": it takes " +
                         std::to_string(sqlite3_bind_parameter_count(stmt.handle)) + " values, " +
                         std::to_string(params.size()) + " given");
        } else {
            for (std::size_t i = 0; ok && i < params.size(); ++i) {
                if (bindValue(stmt.handle, static_cast<int>(i + 1), params[i]) != SQLITE_OK) {
                    ok = failSql("Cannot bind value " + std::to_string(i + 1));
                }
            }
            std::vector<std::string> names;
            std::vector<std::vector<DbValue>> data;
            int columns = sqlite3_column_count(stmt.handle);
            for (int c = 0; c < columns; ++c) {
                const char* name = sqlite3_column_name(stmt.handle, c);
                names.emplace_back(name ? name : "");
            }
            while (ok) {
                int rc = sqlite3_step(stmt.handle);
                if (rc == SQLITE_DONE) {
                    break;
                }
                if (rc != SQLITE_ROW) {
                    ok = failSql("Cannot run \"" + std::string(text) + "\"");
                    break;
                }
                if (rows != nullptr) {
                    std::vector<DbValue> row;
                    row.reserve(static_cast<std::size_t>(columns));
                    for (int c = 0; c < columns; ++c) {
                        row.push_back(columnValue(stmt.handle, c));
                    }
                    data.push_back(std::move(row));
                }
            }
            if (ok && rows != nullptr) {
                *rows = Recordset(std::move(names), std::move(data));
            }
        }
    }
    if (ok && lastRowBefore) {
        ok = convertNumberColumns(*target, *lastRowBefore);
    }
    if (guarded) {
        std::string error = error_;
        for (const auto& table : tempTables) {
            sqlite3_exec(handle, ("DROP TABLE IF EXISTS temp." + table).c_str(), nullptr, nullptr,
                         nullptr);
        }
        if (!ok) {
            sqlite3_exec(handle, "ROLLBACK TO sw_text", nullptr, nullptr, nullptr);
        }
        sqlite3_exec(handle, "RELEASE sw_text", nullptr, nullptr, nullptr);
        if (!ok) {
            fail(error);
        }
    }
    return ok;
}

std::optional<std::int64_t> Database::lastRowid(const std::string& table) {
    auto tableName = quoteName(table);
    if (!tableName) {
        return std::nullopt;
    }
    const std::string sql = "SELECT coalesce(max(rowid), 0) FROM " + *tableName;
    Statement stmt;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt.handle, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt.handle) != SQLITE_ROW) {
        return std::nullopt;
    }
    return sqlite3_column_int64(stmt.handle, 0);
}

// SQLite keeps a text that is not a plain number ("1,234.50") as text even in a number column,
// and a fraction in a whole-number column; the columns' readers expect their own type.
bool Database::convertNumberColumns(const std::string& table, std::int64_t lastRowBefore) {
    std::string error = error_;
    auto columns = tableColumns(table);
    auto tableName = quoteName(table);
    if (!columns || !tableName) {
        error_ = error; // a table this cannot describe is left as the insert made it
        return true;
    }
    for (const auto& column : *columns) {
        const bool whole =
            column.type == ColumnType::LongInteger || column.type == ColumnType::Integer;
        const bool fraction =
            column.type == ColumnType::Double || column.type == ColumnType::Single;
        auto name = quoteName(column.name);
        if (!(whole || fraction) || !name) {
            continue;
        }
        const std::string sql = "UPDATE " + *tableName + " SET " + *name + " = sw_number(" + *name +
                                ", " + (whole ? "1" : "0") + ") WHERE rowid > " +
                                std::to_string(lastRowBefore) + " AND typeof(" + *name +
                                ") IN ('text', " + (whole ? "'real'" : "'blob'") + ")";
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            return failSql("Cannot store the numbers of " + table);
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

bool Database::createTable(std::string_view table, const std::vector<ColumnDef>& columns) {
    auto tableName = quoteName(table);
    if (!tableName) {
        return fail("Cannot create table: unusable name \"" + std::string(table) + "\"");
    }
    if (columns.empty()) {
        return fail("Cannot create table " + std::string(table) + " without columns");
    }
    std::string sql = "CREATE TABLE " + *tableName + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnDef& column = columns[i];
        auto columnName = quoteName(column.name);
        if (!columnName) {
            return fail("Cannot create table " + std::string(table) + ": unusable column name \"" +
                        column.name + "\"");
        }
        sql += (i ? ", " : "") + *columnName + " ";
        switch (column.type) {
        case ColumnType::LongInteger:
            sql += "INTEGER";
            break;
        case ColumnType::Double:
            sql += "DOUBLE";
            break;
        case ColumnType::Text:
            // Text comparisons ignore case, as lookups by typed names expect.
            sql +=
                "TEXT(" + std::to_string(column.size > 0 ? column.size : 255) + ") COLLATE NOCASE";
            break;
        default:
            return fail("Cannot create table " + std::string(table) + ": column " + column.name +
                        " has a type this database does not make");
        }
    }
    sql += ")";
    return execute(sql);
}

std::optional<std::vector<ColumnDef>> Database::tableColumns(std::string_view table) {
    auto tableName = quoteName(table);
    if (!tableName) {
        fail("No table named \"" + std::string(table) + "\"");
        return std::nullopt;
    }
    auto info = query("PRAGMA table_info(" + *tableName + ")");
    if (!info) {
        return std::nullopt;
    }
    if (info->recordCount() < 1) {
        fail("No table named " + std::string(table) + " in " + file_.string());
        return std::nullopt;
    }
    std::vector<ColumnDef> columns;
    for (info->moveFirst(); !info->eof(); info->moveNext()) {
        ColumnDef column;
        column.name = info->text("name");
        std::string type = upper(info->text("type"));
        auto has = [&](std::string_view part) { return type.find(part) != std::string::npos; };
        if (has("CHAR") || has("TEXT") || has("CLOB") || type.empty()) {
            column.type = ColumnType::Text;
            column.size = 255;
            auto open = type.find('(');
            if (open != std::string::npos) {
                int size = 0;
                auto [end, ec] =
                    std::from_chars(type.data() + open + 1, type.data() + type.size(), size);
                if (ec == std::errc() && size > 0) {
                    column.size = size;
                }
            }
        } else if (has("BOOL") || has("BIT") || has("YESNO")) {
            column = {column.name, ColumnType::YesNo, 1};
        } else if (has("SMALLINT") || has("SHORT")) {
            column = {column.name, ColumnType::Integer, 2};
        } else if (has("INT") || has("LONG")) {
            column = {column.name, ColumnType::LongInteger, 4};
        } else if (has("SINGLE")) {
            column = {column.name, ColumnType::Single, 4};
        } else if (has("DATE") || has("TIME")) {
            column = {column.name, ColumnType::Date, 8};
        } else {
            column = {column.name, ColumnType::Double, 8};
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

bool Database::addRecord(std::string_view table,
                         const std::vector<std::pair<std::string, DbValue>>& values) {
    auto tableName = quoteName(table);
    if (!tableName) {
        return fail("Cannot add a record: unusable table name \"" + std::string(table) + "\"");
    }
    if (values.empty()) {
        return execute("INSERT INTO " + *tableName + " DEFAULT VALUES");
    }
    std::string names;
    std::string marks;
    std::vector<DbValue> params;
    for (const auto& [name, value] : values) {
        auto columnName = quoteName(name);
        if (!columnName) {
            return fail("Cannot add a record: unusable column name \"" + name + "\"");
        }
        names += (names.empty() ? "" : ", ") + *columnName;
        marks += marks.empty() ? "?" : ", ?";
        params.push_back(value);
    }
    return execute("INSERT INTO " + *tableName + " (" + names + ") VALUES (" + marks + ")", params);
}

} // namespace sw
