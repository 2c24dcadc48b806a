#pragma once
// Numbers in the number columns of the rows an insert adds. SQLite keeps a text that is not a
// plain number ("1,234.50") as text even in a number column, and a fraction in a whole-number
// column; the columns' readers expect their own type. So once an insert has run, the number
// columns of its new rows are converted by the program's one rule (services/base/
// number_reading.h: "1,234.50" is a number, "12,5" is not): a text that is a number becomes
// that number, rounded (halves to even) in a whole-number column; an empty text is NULL; any
// other text is kept as it is rather than lost.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace sw {

// Makes sw_number(value, whole) known to the connection: the value as a number column of that
// kind stores it.
int registerNumberFunction(sqlite3* db);

// The tables a statement adds rows to, as SQLite itself finds them while preparing it (any
// spelling: INSERT OR REPLACE, a schema name, a quoted name): `note` is the authorizer, called
// with the object.
struct InsertTargets {
    std::vector<std::pair<std::string, std::string>> tables; // schema, table

    static int note(void* self, int action, const char* table, const char*, const char* schema,
                    const char*);
};

// The rows an insert adds to its targets: they come after each target's last row before it ran.
class InsertedRows {
public:
    // Notes each target's last row, before the insert runs. A target without row numbers (a
    // view) is left as the insert makes it. False, and why in `error`, when SQLite fails to
    // read one.
    bool noteLastRows(sqlite3* db, const InsertTargets& targets, std::string& error);
    // Converts the number columns of the rows added since. False, and why in `error`, when
    // SQLite fails to.
    bool convertNumbers(sqlite3* db, std::string& error) const;

private:
    struct Target {
        std::string schema;
        std::string table;
        std::int64_t lastRowBefore = 0;
    };
    std::vector<Target> targets_;
};

} // namespace sw
