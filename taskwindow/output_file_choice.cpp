#include "taskwindow/output_file_choice.h"

#include <system_error>

namespace sw {

namespace fs = std::filesystem;

std::optional<std::string> FileDialogMemory::pick(Dialogs& dialogs, FileRequest request) {
    if (request.fileName.empty()) {
        request.fileName = lastChosen_;
    } else if (!fs::path(request.fileName).has_parent_path()) {
        request.fileName = (fs::path(lastChosen_).parent_path() / request.fileName).string();
    }
    auto chosen = dialogs.file(request);
    if (chosen) {
        lastChosen_ = *chosen;
    }
    return chosen;
}

FileRequest outputFileRequest(std::string defaultExtension, std::string filter,
                              std::string presetFileName) {
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.fileName = std::move(presetFileName);
    request.defaultExtension = std::move(defaultExtension);
    request.filter = std::move(filter);
    request.filterIndex = 2;
    request.hideReadOnly = true;
    return request;
}

FileRequest newFileRequest(std::string defaultExtension, std::string filter,
                           std::string presetFileName) {
    FileRequest request = outputFileRequest(std::move(defaultExtension), std::move(filter),
                                            std::move(presetFileName));
    request.kind = FileRequest::Kind::Save;
    return request;
}

fs::path prefixedTarget(const fs::path& chosen, const std::string& prefix) {
    const fs::path name = fs::path(prefix + chosen.filename().string());
    return chosen.has_parent_path() ? chosen.parent_path() / name : name;
}

std::int64_t existingLength(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return -1;
    }
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

MessageRequest overwriteQuestion() {
    return {"File Already Exists  - Overwrite?", "File Exists", Icon::Critical, Buttons::YesNo,
            Answer::No};
}

std::optional<OutputFileChoice> chooseOutputFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                                 const OutputFileOptions& options) {
    const FileRequest request =
        newFileRequest(options.defaultExtension, options.filter, options.presetFileName);
    auto picked = dialog.pick(dialogs, request);
    if (!picked) {
        return std::nullopt;
    }
    auto choiceFor = [&options](const std::string& path) {
        OutputFileChoice choice;
        choice.chosen = fs::path(path);
        choice.target =
            options.prefix.empty() ? choice.chosen : prefixedTarget(choice.chosen, options.prefix);
        return choice;
    };
    OutputFileChoice choice = choiceFor(*picked);
    choice.existingLength =
        existingLength(options.test == ExistenceTest::TargetPath ? choice.target : choice.chosen);
    if (choice.existingLength < 1 || dialogs.message(overwriteQuestion()) == Answer::Yes) {
        return choice;
    }

    // Declined: one more pick, starting from the file just chosen, taken as it comes.
    FileRequest again = request;
    again.fileName = *picked;
    auto second = dialog.pick(dialogs, again);
    if (!second) {
        return std::nullopt;
    }
    OutputFileChoice secondChoice = choiceFor(*second);
    secondChoice.existingLength = choice.existingLength;
    return secondChoice;
}

} // namespace sw
