#pragma once
// Choosing the file an output operation writes to. Each task window owns one file dialog that
// remembers the last file chosen in it; the window's outputs add a two-letter prefix to the
// chosen file name ("pf" facilities, "pw" wildfires, "ph" hurricanes) so that the append
// dialogs can offer only files made by the program. An existing file is replaced only after
// the overwrite question.

#include "services/base/dialogs.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace sw {

// The window's one file dialog: it starts from the file name last chosen in it unless the
// caller presets a name, and a name preset without a folder is offered in the folder last
// used in this window, so the user is not sent back to the start folder after every press.
class FileDialogMemory {
public:
    // Shows the dialog; remembers and returns the chosen path, or nothing when cancelled.
    std::optional<std::string> pick(Dialogs& dialogs, FileRequest request);
    const std::string& lastChosen() const { return lastChosen_; }
    // The next dialog starts with an empty file name (a window that presets none for it).
    void forget() { lastChosen_.clear(); }

private:
    std::string lastChosen_;
};

// The dialog settings every output dialog shares: the read-only box hidden and filter index 2
// (a one-entry filter falls back to its first entry). Outputs that add to a file the user
// picks ask with an open dialog; outputs that create a file ask with a save dialog, which
// says what the press does. Neither asks about replacing a file: chooseOutputFile does that.
FileRequest outputFileRequest(std::string defaultExtension, std::string filter,
                              std::string presetFileName = {});
FileRequest newFileRequest(std::string defaultExtension, std::string filter,
                           std::string presetFileName = {});

// Which path the existence test looks at.
enum class ExistenceTest {
    TargetPath, // the chosen folder with the prefixed file name (text files, shapefiles)
    ChosenPath, // the path exactly as chosen (KML)
};

struct OutputFileOptions {
    std::string defaultExtension{}; // ".txt"
    std::string filter{};           // "Text Files(*.txt)|*.txt"
    std::string prefix{};           // "pf"; empty for none
    std::string presetFileName{};   // empty: start from the last choice
    ExistenceTest test = ExistenceTest::TargetPath;
};

struct OutputFileChoice {
    std::filesystem::path chosen;     // as the dialog returned it
    std::filesystem::path target;     // chosen folder + prefix + chosen file name
    std::int64_t existingLength = -1; // of the tested path; -1 when it cannot be read
};

// The file name of `chosen` with the prefix in front, in the same folder. The prefix is added
// even when the name already starts with it: camps.txt -> pfcamps.txt, pfcamps.txt ->
// pfpfcamps.txt. A bare file name stays a bare (relative) name.
std::filesystem::path prefixedTarget(const std::filesystem::path& chosen,
                                     const std::string& prefix);

// Length in bytes, or -1 when the file cannot be read as a regular file.
std::int64_t existingLength(const std::filesystem::path& path);

// The overwrite question: Yes/No, stop icon, No the default.
MessageRequest overwriteQuestion();

// The whole choice of a file to create: save dialog, prefix, existence test (a file of 0 bytes
// counts as absent), overwrite question. Answering No shows the dialog once more, starting from the
// file just chosen, and that second choice is taken as it is, without another question. Nothing
// when the user cancelled either dialog.
std::optional<OutputFileChoice> chooseOutputFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                                 const OutputFileOptions& options);

} // namespace sw
