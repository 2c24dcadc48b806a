#pragma once
// Which of a shapefile's files the user lets this program write. The rule is the one every
// writer of the program keeps (services/base/whole_file.h): a file without any write
// permission was protected on purpose and is refused, even for a user (such as root) whom
// the system would let write it; so is a folder or a device in a file's place, and a file
// this user may not write.

#include <filesystem>
#include <string>

namespace sw {

// Why the existing file `path` may not be written in place (an append), or nothing. The
// reason names the file: "/d/a.dbf is write-protected", "/d/a.shx: Permission denied".
std::string whyNotWritable(const std::filesystem::path& path);

// Why `target` may not be replaced by a new file moved over it, or nothing (also when there
// is no such file). A symbolic link is replaced itself, so the file it points to is not
// judged. In a folder with the sticky bit (a shared folder such as /tmp) only the owner of a
// file may replace it.
std::string whyNotReplaceable(const std::filesystem::path& target);

} // namespace sw
