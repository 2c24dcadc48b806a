#pragma once
// A headerless text file seen by SQLite as a table (a virtual table), so a statement reads
// its rows straight from the file: "SELECT * INTO COORD FROM <file>" copies a million
// vertices without holding them anywhere but in the new table.
//
// The file's columns and their types are settled before the table is made (scanTextTable),
// and its rows are typed as text_table.h says, exactly as they would be in memory. When the
// file no longer matches what was settled (it changed while it was read), the statement
// reading it fails and leaves nothing.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "services/database/text_feed.h"
#include "services/database/text_table.h"

struct sqlite3;

namespace sw {

// What the one reading of a text table learned of the whole file.
struct LearnedShape {
    std::vector<TextColumnType> guessed; // the types the rows were given
    bool complete = false;               // the file was read to its end without fault
    TextTableShape shape;
};

// What a text table is made from; handed over by name when the table is created.
struct TextSource {
    std::filesystem::path file;
    TextTableShape shape;
    // Given when `shape` is only a guess from the file's first records: the rows are typed by
    // the guess, and the reading learns the whole file's shape here, for the caller to compare
    // with the guess (and read the file again when they differ). Otherwise `shape` is the
    // file's, and a reading that finds other rows fails.
    std::shared_ptr<LearnedShape> learned;
    // Given when the file's text comes from a feed while it is being written.
    std::shared_ptr<TextFeed> feed;
};

// The text tables of one connection. It must outlive the connection's use of them, and
// stay where it is (the connection holds its address).
class TextSourceTables {
public:
    // Makes the module known to the connection; false when SQLite refuses it.
    bool registerWith(sqlite3* db);
    // Makes the headerless text `file` a temporary table with columns F1, F2, ... and gives the
    // table's name, for a statement to read the rows straight from the file, a record at a time
    // (a file of any size needs memory for one record). The columns' types come from the whole
    // file, read here first; or, with `learned`, from its first records only, and the reading
    // learns the whole file's. Nothing, and why in `error`, when the file cannot be read or
    // has more columns than a table can hold.
    std::optional<std::string> load(sqlite3* db, const std::filesystem::path& file,
                                    std::shared_ptr<LearnedShape> learned, std::string& error);
    // Creates the temporary table `name` over the source; false (SQLite's message on the
    // connection) when it cannot be created.
    bool create(sqlite3* db, const std::string& name, TextSource source);
    // Drops a table made by create(); false (SQLite's message on the connection) when it cannot.
    bool drop(sqlite3* db, const std::string& name);

    // Used by the module: the source of a table, by the table's name.
    const TextSource* find(const std::string& name) const;

    // From now on `file` is read from `feed` (nothing: from the disk again).
    void feed(const std::filesystem::path& file, std::shared_ptr<TextFeed> feed);

private:
    std::map<std::string, TextSource> sources_;
    std::map<std::filesystem::path, std::shared_ptr<TextFeed>> feeds_;
    int loaded_ = 0; // names the tables
};

} // namespace sw
