#pragma once
// Whether the user lets this program write an existing file: the one rule every writer keeps,
// the whole-file writer and the shapefile writer alike. A folder or a device in a file's place
// is refused; a file without any write permission was protected on purpose and is refused,
// even for a user (such as root) whom the system would let write it; and so is a file the
// system does not let this user open for writing.

#include <filesystem>
#include <string>

struct stat;

namespace sw {

struct WriteRefusal {
    enum class Kind { None, Folder, NotAFile, Protected, System };
    Kind kind = Kind::None;
    std::string systemReason; // for System: what the system said ("Permission denied")

    bool refused() const { return kind != Kind::None; }
    // The reason with `subject` in front: "it is write-protected", "/d/a.dbf is a folder",
    // "/d/a.shx: Permission denied" (a system reason follows a colon, or stands alone when
    // `subject` is empty).
    std::string said(const std::string& subject) const;
};

// The rule for the existing file `path`, whose stat() is `info`.
WriteRefusal writeRefusal(const std::filesystem::path& path, const struct stat& info);

} // namespace sw
