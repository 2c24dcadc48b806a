#include "taskwindow/projection_file.h"

#include "services/base/program_folder.h"
#include "taskwindow/record_file.h"

#include <fstream>
#include <sstream>

namespace sw {

namespace fs = std::filesystem;

OutputResult copyProjectionFile(const fs::path& shapefile, const std::string& projectionFile) {
    const fs::path source = programFolder() / projectionFile;
    fs::path target = shapefile;
    target.replace_extension(".prj");
    std::ifstream in(source, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        // The shapefile itself is complete: say so, and what it lacks.
        return OutputResult::failed(target, shapefile.string() +
                                                " was written without its projection file: " +
                                                source.string() + " is missing");
    }
    const WriteStatus copied = writeWholeFile(target, text.str());
    return copied ? OutputResult::written(shapefile) : OutputResult::failed(target, copied.message);
}

} // namespace sw
