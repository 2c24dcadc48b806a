#include "services/database/text_source_table.h"

#include "services/database/batch_handoff.h"

#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace sw {

namespace {

const char* sqlType(TextColumnType type) {
    switch (type) {
    case TextColumnType::Integer:
        return "INTEGER";
    case TextColumnType::Real:
        return "REAL";
    case TextColumnType::Text:
        break;
    }
    return "TEXT";
}

struct Table {
    sqlite3_vtab base{};
    TextSource source;
};

// The source's text from its beginning: its feed's, or the file's.
std::unique_ptr<std::istream> openText(const TextSource& source) {
    if (source.feed) {
        return source.feed->reader();
    }
    return std::make_unique<std::ifstream>(source.file, std::ios::binary);
}

// One value of a row, typed as the column's type says.
struct Cell {
    FieldValue value;
    std::string text; // a Text value
};

// The typed rows of a text file, read on a thread of their own: parsing a record and typing
// its numbers costs as much as storing it, so the file is read while SQLite stores what was
// read before. Rows come in batches; a few batches circulate between the two threads.
class RowFeed {
public:
    explicit RowFeed(const TextSource& source) : source_(source) {
        worker_ = std::thread([this] {
            error_ = read();
            handoff_.finish();
        });
    }
    ~RowFeed() {
        handoff_.stop();
        worker_.join();
    }
    RowFeed(const RowFeed&) = delete;
    RowFeed& operator=(const RowFeed&) = delete;

    // The next row; nothing at the end of the rows or when the file could not be read, which
    // error() then tells.
    const std::vector<Cell>* next() {
        while (current_ == nullptr || at_ == current_->count) {
            if (current_ != nullptr) {
                handoff_.recycle(current_);
            }
            current_ = handoff_.next();
            at_ = 0;
            if (current_ == nullptr) {
                return nullptr;
            }
        }
        return &current_->rows[at_++];
    }

    // Safe to read once next() has returned nothing.
    const std::string& error() const { return error_; }

private:
    static constexpr std::size_t kBatchRows = 4096;
    struct Batch {
        std::vector<std::vector<Cell>> rows = std::vector<std::vector<Cell>>(kBatchRows);
        std::size_t count = 0;
    };

    // Reads the whole file into batches; what went wrong, or nothing.
    std::string read() {
        const std::string cannot = "Cannot read text file " + source_.file.string();
        const std::unique_ptr<std::istream> text = openText(source_);
        std::istream& in = *text;
        if (!in) {
            return "Text file not found: " + source_.file.string();
        }
        CsvReader reader(in);
        TextShapeLearner learner;
        const bool learning = source_.learned != nullptr;
        std::vector<CsvField> fields;
        std::size_t rows = 0;
        bool more = true;
        while (more) {
            Batch* batch = handoff_.take();
            if (batch == nullptr) {
                return {}; // the statement stopped reading
            }
            batch->count = 0;
            std::string error;
            while (batch->count < kBatchRows) {
                more = reader.next(fields);
                if (!more) {
                    break;
                }
                ++rows;
                if (fields.size() > source_.shape.columns()) {
                    error = cannot + (learning ? ": it has more columns than its first records"
                                               : ": it changed while it was read");
                    break;
                }
                if (!learning && rows > source_.shape.rows) {
                    error = cannot + ": it changed while it was read";
                    break;
                }
                type(fields, batch->rows[batch->count++], learning ? &learner : nullptr);
            }
            if (error.empty() && !more) {
                if (!reader.error().empty()) {
                    error = cannot + ": " + reader.error();
                } else if (in.bad() || (!learning && rows != source_.shape.rows)) {
                    error = cannot + ": it changed while it was read";
                } else if (learning) {
                    source_.learned->shape = learner.shape();
                    source_.learned->complete = true;
                }
            }
            handoff_.give(batch);
            if (!error.empty()) {
                return error;
            }
        }
        return {};
    }

    // Types a record's fields; a learner, when given, observes them on the way.
    void type(std::vector<CsvField>& fields, std::vector<Cell>& row,
              TextShapeLearner* learner) const {
        row.resize(fields.size());
        for (std::size_t c = 0; c < fields.size(); ++c) {
            CsvField& field = fields[c];
            Cell& cell = row[c];
            const TextColumnType type = source_.shape.types[c];
            cell.value = learner ? learner->observe(c, field, type) : fieldValue(field, type);
            if (cell.value.type == DbValue::Type::Text) {
                std::swap(cell.text, field.text); // the reader refills the field anyway
            }
        }
        if (learner) {
            learner->endRecord();
        }
    }

    const TextSource& source_;
    BatchHandoff<Batch> handoff_;
    std::string error_;        // the worker's, read after it finished
    Batch* current_ = nullptr; // the consumer's
    std::size_t at_ = 0;
    std::thread worker_;
};

struct Cursor {
    sqlite3_vtab_cursor base{};
    std::unique_ptr<RowFeed> feed;
    const std::vector<Cell>* row = nullptr;
    sqlite3_int64 rowNumber = 0;
};

Table& tableOf(sqlite3_vtab* vtab) {
    return *reinterpret_cast<Table*>(vtab);
}
Cursor& cursorOf(sqlite3_vtab_cursor* cursor) {
    return *reinterpret_cast<Cursor*>(cursor);
}

void setError(sqlite3_vtab* vtab, const std::string& message) {
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", message.c_str());
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
            char** error) {
    const TextSource* source =
        argc > 2 ? static_cast<const TextSourceTables*>(aux)->find(argv[2]) : nullptr;
    if (source == nullptr) {
        *error = sqlite3_mprintf("no text file belongs to this table");
        return SQLITE_ERROR;
    }
    std::vector<TextColumnType> types = source->shape.types;
    if (types.empty()) {
        types.push_back(TextColumnType::Text); // an empty file is a table of one column, no rows
    }
    std::string schema = "CREATE TABLE x(";
    for (std::size_t c = 0; c < types.size(); ++c) {
        schema += (c ? ", F" : "F") + std::to_string(c + 1) + " " + sqlType(types[c]);
    }
    schema += ")";
    const int declared = sqlite3_declare_vtab(db, schema.c_str());
    if (declared != SQLITE_OK) {
        return declared;
    }
    auto table = std::make_unique<Table>();
    table->source = *source;
    *out = &table.release()->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab) {
    delete &tableOf(vtab);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    // Every row is read in file order; no constraint is used.
    const TextSource& source = tableOf(vtab).source;
    // A guessed shape knows no row count; a perimeter's million is the size to plan for.
    const auto rows = static_cast<double>(source.learned ? 1000000 : source.shape.rows);
    info->estimatedCost = rows + 1;
    info->estimatedRows = static_cast<sqlite3_int64>(rows);
    return SQLITE_OK;
}

int open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    *out = &(new Cursor)->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
    delete &cursorOf(cursor);
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cursor) {
    Cursor& c = cursorOf(cursor);
    c.row = c.feed->next();
    ++c.rowNumber;
    if (c.row == nullptr && !c.feed->error().empty()) {
        setError(cursor->pVtab, c.feed->error());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    Cursor& c = cursorOf(cursor);
    c.feed.reset();
    c.feed = std::make_unique<RowFeed>(tableOf(cursor->pVtab).source);
    c.rowNumber = 0;
    return next(cursor);
}

int eof(sqlite3_vtab_cursor* cursor) {
    return cursorOf(cursor).row == nullptr ? 1 : 0;
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* context, int n) {
    const Cursor& c = cursorOf(cursor);
    const auto at = static_cast<std::size_t>(n);
    if (c.row == nullptr || at >= c.row->size()) {
        sqlite3_result_null(context); // a short record: its missing values are NULL
        return SQLITE_OK;
    }
    const Cell& cell = (*c.row)[at];
    switch (cell.value.type) {
    case DbValue::Type::Null:
        sqlite3_result_null(context);
        break;
    case DbValue::Type::Integer:
        sqlite3_result_int64(context, cell.value.whole);
        break;
    case DbValue::Type::Real:
        sqlite3_result_double(context, cell.value.number);
        break;
    case DbValue::Type::Text:
        sqlite3_result_text(context, cell.text.data(), static_cast<int>(cell.text.size()),
                            SQLITE_TRANSIENT);
        break;
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* out) {
    *out = cursorOf(cursor).rowNumber;
    return SQLITE_OK;
}

const sqlite3_module kModule = [] {
    sqlite3_module module{};
    module.iVersion = 1;
    module.xCreate = connect;
    module.xConnect = connect;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = disconnect;
    module.xOpen = open;
    module.xClose = close;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = eof;
    module.xColumn = column;
    module.xRowid = rowid;
    return module;
}();

} // namespace

bool TextSourceTables::registerWith(sqlite3* db) {
    return sqlite3_create_module_v2(db, "sw_text_file", &kModule, this, nullptr) == SQLITE_OK;
}

std::optional<std::string> TextSourceTables::load(sqlite3* db, const std::filesystem::path& file,
                                                  std::shared_ptr<LearnedShape> learned,
                                                  std::string& error) {
    std::error_code ec;
    const auto fed = feeds_.find(file.lexically_normal());
    TextSource source{file, {}, std::move(learned), fed == feeds_.end() ? nullptr : fed->second};
    const std::unique_ptr<std::istream> text = openText(source);
    std::istream& in = *text;
    if ((!source.feed && !std::filesystem::is_regular_file(file, ec)) || !in) {
        error = "Text file not found: " + file.string();
        return std::nullopt;
    }
    constexpr std::size_t kGuessRecords = 1000;
    std::string unread;
    auto shape =
        source.learned ? scanTextTable(in, unread, kGuessRecords) : scanTextTable(in, unread);
    const std::string cannot = "Cannot read text file " + file.string();
    if (!shape || in.bad()) {
        error = shape ? cannot : cannot + ": " + unread;
        return std::nullopt;
    }
    const int most = sqlite3_limit(db, SQLITE_LIMIT_COLUMN, -1);
    if (shape->columns() > static_cast<std::size_t>(most)) {
        error = cannot + ": it has " + std::to_string(shape->columns()) +
                " columns, more than the " + std::to_string(most) + " a table can hold";
        return std::nullopt;
    }
    if (source.learned) {
        source.learned->guessed = shape->types;
    }
    source.shape = std::move(*shape);
    std::string name = "sw_text_" + std::to_string(++loaded_);
    if (!create(db, name, std::move(source))) {
        error = cannot + ": " + sqlite3_errmsg(db);
        return std::nullopt;
    }
    return name;
}

bool TextSourceTables::create(sqlite3* db, const std::string& name, TextSource source) {
    sources_[name] = std::move(source);
    const std::string sql = "CREATE VIRTUAL TABLE temp." + name + " USING sw_text_file";
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        sources_.erase(name);
        return false;
    }
    return true;
}

bool TextSourceTables::drop(sqlite3* db, const std::string& name) {
    const std::string sql = "DROP TABLE IF EXISTS temp." + name;
    const bool dropped = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sources_.erase(name); // a table left standing keeps a copy of its source
    return dropped;
}

void TextSourceTables::feed(const std::filesystem::path& file, std::shared_ptr<TextFeed> feed) {
    if (feed) {
        feeds_[file.lexically_normal()] = std::move(feed);
    } else {
        feeds_.erase(file.lexically_normal());
    }
}

const TextSource* TextSourceTables::find(const std::string& name) const {
    const auto found = sources_.find(name);
    return found == sources_.end() ? nullptr : &found->second;
}

} // namespace sw
