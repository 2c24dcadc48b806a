#pragma once
// A new shapefile while it is being built. Its files are made under a temporary name beside
// the target, so that a creation that fails halfway never destroys the shapefile it was to
// replace; publish() then puts them all in place at once.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "services/shapefile/dbf_values.h"
#include "services/shapefile/shape_type.h"

namespace sw {

class NewShapefile {
public:
    // The shapefile to be built as finalBase (its name without extension).
    explicit NewShapefile(std::filesystem::path finalBase);
    // Removes the files that never reached their final name.
    ~NewShapefile();
    NewShapefile(const NewShapefile&) = delete;
    NewShapefile& operator=(const NewShapefile&) = delete;

    // The empty main file and index of a shapefile of `type` (one of the four two-dimensional
    // kinds). False, with a message naming the shapefile, when they cannot be made.
    bool createShapes(ShapeType type, std::string& error);
    // The attribute table (.dbf) with these columns, and the .cpg saying its texts are UTF-8.
    bool createTable(const std::vector<ShapeFieldInfo>& fields, std::string& error);

    // The projection file (.prj) holding `text`, to be put in place with the other files.
    bool createProjection(std::string_view text, std::string& error);

    // Moves the files to their final names (see shape_publish.h); from then on base() is the
    // final name.
    bool publish(std::string& error);
    bool published() const { return published_; }

    // Where the files are now: the temporary name until published, then the final one.
    const std::filesystem::path& base() const { return published_ ? finalBase_ : workBase_; }

    // Removes the files unless they were published.
    void discard();

private:
    std::string shown() const;

    std::filesystem::path finalBase_;
    std::filesystem::path workBase_;
    bool published_ = false;
};

} // namespace sw
