#include "kmlconvert/working_database.h"

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
        return loaded ? loadVertices() : std::string();
    });
}

std::string WorkingDatabase::failed(const std::string& what) const {
    return what + " " + names_->database.string() + ":\n" + database_.lastError();
}

WorkingDatabase::Loaded WorkingDatabase::loadFireTable() {
    Loaded loaded;
    if (!database_.create(names_->database)) {
        loaded.problem = "Cannot create the working database:\n" + database_.lastError();
        return loaded;
    }
    created_ = true;
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
    vertexText_->giveUp();
    vertexCount_.set_value(0);
    finish();
    database_.close();
    if (created_) { // a file of that name from before is not this load's to remove
        std::error_code ec;
        fs::remove(names_->database, ec);
    }
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
