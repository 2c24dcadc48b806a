#pragma once
// The working database of a KML conversion, filled on a thread of its own while the KML is
// read, the user settles the shape type and the shapefile is built: FIRE_DAT from the
// attribute file, COORD from the vertex file, through the text driver, as a user who opens the
// database expects to find them. COORD reads the vertex file's text as it is written (a text
// feed), so the database fills while the KML is still being read. The shapefile takes the
// fire's record from FIRE_DAT; the conversion completes only when COORD holds every vertex of
// the KML.
//
// The database is built under a name of its own beside the working name and moved onto it only
// when it holds everything: a refused KML leaves the database of an earlier conversion as it
// was, a conversion that stopped half-way leaves nothing in the way of the next one, and
// whatever stood at the working name (an old database, a link) is replaced, never written
// through.

#include "kmlconvert/working_names.h"
#include "services/database/database.h"
#include "services/database/text_feed.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw::kml {

// FIRE_DAT as the working database holds it: its columns and its rows (one, GISID 1).
struct FireTable {
    std::vector<ColumnDef> columns;
    Recordset rows;
};

class WorkingDatabase {
public:
    WorkingDatabase() = default;
    ~WorkingDatabase();
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;

    // Creates the database and starts filling it, COORD from the text the vertex file is
    // given through `vertexText`. The names must outlive the load.
    void start(const WorkingNames& names, std::shared_ptr<TextFeed> vertexText);
    // The vertex file is complete and holds `count` vertices: COORD must hold as many.
    void verticesRead(std::size_t count);
    // The KML was refused: the load stops, and the database it was building goes, as it would
    // never have been made.
    void abandon();

    // Waits for FIRE_DAT; nothing when it could not be made, and why in `problem`.
    std::optional<FireTable> fireTable(std::string& problem);
    // Waits for the whole load: empty when the database holds everything, else why not.
    std::string finish();

private:
    struct Loaded {
        std::optional<FireTable> fire;
        std::string problem;
    };
    Loaded loadFireTable();
    std::string loadVertices();
    std::string failed(const std::string& what) const;
    // Closes the database, and moves it onto the working name when `keep`, else removes it.
    // `problem`, or why it could not be put in place.
    std::string settle(bool keep, std::string problem);

    const WorkingNames* names_ = nullptr;
    std::shared_ptr<TextFeed> vertexText_;
    std::promise<std::size_t> vertexCount_;
    std::future<std::size_t> vertexCountReady_;
    bool settled_ = false; // verticesRead() or abandon() was called
    std::atomic<bool> abandoned_ = false;
    std::filesystem::path building_; // where the load builds the database
    Database database_;
    std::promise<Loaded> fire_;
    std::future<Loaded> fireReady_;
    std::optional<Loaded> fireSeen_;
    std::future<std::string> done_;
    std::optional<std::string> doneSeen_;
};

} // namespace sw::kml
