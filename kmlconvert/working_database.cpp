#include "kmlconvert/working_database.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace sw::kml {

namespace fs = std::filesystem;

namespace {

// The FIRE_DAT table. CONTAINED is 7 wide: "100.00%" must fit whole.
const std::vector<ColumnDef>& fireDatColumns() {
    static const std::vector<ColumnDef> columns = {
        {"GISID", ColumnType::LongInteger, 4}, {"NAME", ColumnType::Text, 35},
        {"INC_NUM", ColumnType::Text, 20},     {"REPORT", ColumnType::Text, 10},
        {"ENTRY_DATE", ColumnType::Text, 12},  {"START_DATE", ColumnType::Text, 12},
        {"ACRES", ColumnType::LongInteger, 4}, {"FUEL", ColumnType::Text, 20},
        {"CAUSE", ColumnType::Text, 20},       {"TYPE", ColumnType::Text, 30},
        {"CONTAINED", ColumnType::Text, 7},    {"SIGNIF", ColumnType::Text, 4},
    };
    return columns;
}

fs::path withSuffix(const fs::path& file, const char* suffix) {
    return fs::path(file.string() + suffix);
}

// A database file with the journals SQLite keeps beside it: a journal left by a database that
// stopped half-way would otherwise be played into the next database of that name. Links are
// removed as links; a folder is never removed.
void removeDatabaseFiles(const fs::path& file) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        ::unlink(withSuffix(file, suffix).c_str());
    }
}

std::string textSource(const fs::path& folder, const fs::path& file) {
    return "[Text;Database=" + folder.string() + ";HDR=NO].[" + file.filename().string() + "]";
}

} // namespace

WorkingDatabase::~WorkingDatabase() {
    if (vertexText_ && !settled_) {
        abandon(); // a reader waiting for more vertex text must not wait for ever
    }
    if (done_.valid()) {
        done_.wait(); // the load uses this object to its end
    }
}

void WorkingDatabase::start(const WorkingNames& names, std::shared_ptr<TextFeed> vertexText) {
    names_ = &names;
    vertexText_ = std::move(vertexText);
    vertexCountReady_ = vertexCount_.get_future();
    fireReady_ = fire_.get_future();
    done_ = std::async(std::launch::async, [this] {
        Loaded fire = loadFireTable();
        const bool loaded = fire.fire.has_value();
        fire_.set_value(std::move(fire));
        std::string problem = loaded ? loadVertices() : std::string();
        // Even a database that lacks something goes in place, for the user the message
        // sends there; only one of a refused KML does not.
        return settle(loaded, std::move(problem));
    });
}

std::string WorkingDatabase::settle(bool keep, std::string problem) {
    database_.close();
    if (keep && !abandoned_) {
        const fs::path& target = names_->database;
        for (const char* journal : {"-journal", "-wal", "-shm"}) {
            ::unlink(withSuffix(target, journal).c_str());
        }
        if (::rename(building_.c_str(), target.c_str()) == 0) {
            return problem;
        }
        problem = "Cannot put the working database in place as " + target.string() + ": " +
                  std::strerror(errno);
    }
    removeDatabaseFiles(building_);
    return problem;
}

std::string WorkingDatabase::failed(const std::string& what) const {
    return what + " " + names_->database.string() + ":\n" + database_.lastError();
}

WorkingDatabase::Loaded WorkingDatabase::loadFireTable() {
    Loaded loaded;
    // Hidden, and of the working name's own folder, so the move onto it is a rename.
    building_ =
        names_->database.parent_path() / ("." + names_->database.filename().string() + ".new");
    removeDatabaseFiles(building_); // left by a conversion that never ended
    if (!database_.createBuiltAside(building_)) {
        loaded.problem = "Cannot create the working database:\n" + database_.lastError();
        return loaded;
    }
    if (!database_.createTable("FIRE_DAT", fireDatColumns())) {
        loaded.problem = failed("Cannot create the table FIRE_DAT in");
        return loaded;
    }
    if (!database_.execute(
            "INSERT INTO FIRE_DAT (GISID, NAME, INC_NUM, REPORT, ENTRY_DATE, "
            "START_DATE,ACRES, FUEL, CAUSE, TYPE, CONTAINED, SIGNIF) SELECT F1, F2, F3, F4, "
            "F5, F6, F7, F8, F9, F10, F11, F12 FROM " +
            textSource(names_->dataFolder, names_->attributeFile))) {
        loaded.problem = failed("Cannot load the attributes into");
        return loaded;
    }
    auto columns = database_.tableColumns("FIRE_DAT");
    auto rows = columns ? database_.query("SELECT * FROM FIRE_DAT") : std::nullopt;
    if (!rows) {
        loaded.problem = failed("Cannot read the table FIRE_DAT of");
        return loaded;
    }
    loaded.fire = FireTable{std::move(*columns), std::move(*rows)};
    return loaded;
}

void WorkingDatabase::verticesRead(std::size_t count) {
    settled_ = true;
    vertexText_->finish();
    vertexCount_.set_value(count);
}

void WorkingDatabase::abandon() {
    settled_ = true;
    abandoned_ = true;
    vertexText_->giveUp();
    vertexCount_.set_value(0);
    finish();
}

std::string WorkingDatabase::loadVertices() {
    database_.feedTextFile(names_->vertexFile, vertexText_);
    const bool loaded = database_.execute("SELECT * INTO COORD FROM " +
                                          textSource(names_->dataFolder, names_->vertexFile));
    database_.feedTextFile(names_->vertexFile, nullptr);
    const std::size_t vertexCount = vertexCountReady_.get();
    if (!loaded) {
        return failed("Cannot load the vertices into");
    }
    auto count = database_.query("SELECT COUNT(F1) FROM  COORD");
    if (!count) {
        return failed("Cannot count the vertices in");
    }
    count->moveFirst();
    const auto rows = count->value(0).toInteger();
    if (rows < 1 || static_cast<std::size_t>(rows) != vertexCount) {
        return "The working database " + names_->database.string() + " holds " +
               std::to_string(rows) + " vertices of the " + std::to_string(vertexCount) +
               " in the KML.";
    }
    return {};
}

std::optional<FireTable> WorkingDatabase::fireTable(std::string& problem) {
    if (!fireSeen_) {
        fireSeen_ = fireReady_.get();
    }
    problem = fireSeen_->problem;
    return fireSeen_->fire;
}

std::string WorkingDatabase::finish() {
    if (!doneSeen_) {
        std::string fireProblem;
        const bool fire = fireTable(fireProblem).has_value();
        std::string vertexProblem = done_.get();
        doneSeen_ = fire ? std::move(vertexProblem) : std::move(fireProblem);
    }
    return *doneSeen_;
}

} // namespace sw::kml
