#pragma once
// Replacing a file whole or not at all: every writer of a complete file (record files, the
// projection file beside a shapefile, KML documents) goes through here, so they all refuse
// the same targets and keep the same promises:
//   - the new content is written to a temporary file beside the target and renamed over it
//     only once complete, so a full disk or a crash leaves the old file as it was;
//   - a target the user may not write (no write permission, a write-protected file, a folder,
//     a device) is refused with a message naming it, and left untouched;
//   - a replaced file keeps its permissions; a new one gets the usual ones (umask);
//   - a target reached through a symbolic link replaces the file the link points to, unless
//     the writer names the file itself (a working file): then the link is replaced by the file
//     and what it points to is left alone.

#include <filesystem>
#include <string>
#include <string_view>

namespace sw {

// Outcome of a file operation: failures carry a message for the window to show.
struct WriteStatus {
    bool ok = true;
    std::string message;

    static WriteStatus success() { return {}; }
    static WriteStatus failure(std::string text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

// What a symbolic link standing at the target means.
enum class AtALink {
    WriteThrough, // the user's own choice: the file it points to is replaced
    Replace,      // a name the program gives its own working file: the link itself is replaced
};

// A replacement in steps: for writers that ask the user something between finding the target
// writable and having the content (the KML link question), so nothing is asked for a file that
// cannot be written; and for writers of large files (the conversion's working copy and vertex
// file), which hand the content over in pieces with append() and then commit().
class WholeFileWrite {
public:
    // Checks the target and opens the temporary file beside it.
    explicit WholeFileWrite(const std::filesystem::path& target,
                            AtALink atALink = AtALink::WriteThrough);
    ~WholeFileWrite(); // removes the temporary file unless committed
    WholeFileWrite(const WholeFileWrite&) = delete;
    WholeFileWrite& operator=(const WholeFileWrite&) = delete;

    // Empty when the target can be written; otherwise why not ("it is write-protected",
    // "Permission denied", ...), for the caller's message.
    const std::string& problem() const { return problem_; }

    // Writes the next piece of the content. Empty on success, otherwise the reason; after a
    // failure nothing more is written and commit() gives the same reason.
    std::string append(std::string_view bytes);

    // Writes `bytes` after what append() wrote, flushes it all to the disk and moves it over
    // the target. Empty on success, otherwise the reason. Without commit, the target is left
    // as it was.
    std::string commit(std::string_view bytes = {});

    const std::filesystem::path& target() const { return target_; }

private:
    std::filesystem::path target_;
    std::string temporary_;
    int fd_ = -1;
    unsigned mode_ = 0;
    std::string problem_;
    int writeError_ = 0;
};

// Writes all of `bytes` to the open file `fd`, retrying interrupted and partial writes: 0, or
// the errno of the failure.
int writeAllBytes(int fd, std::string_view bytes);

// Both steps at once. The failure message names the file: "Cannot write /x/pfcamps.txt: ...".
WriteStatus writeWholeFile(const std::filesystem::path& path, std::string_view bytes,
                           AtALink atALink = AtALink::WriteThrough);

} // namespace sw
