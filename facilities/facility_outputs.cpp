#include "facilities/facility_outputs.h"

#include "coord/number_text.h"
#include "facilities/record_file.h"
#include "services/dialogs.h"

namespace sw {

namespace fs = std::filesystem;

namespace {

OutputResult fromStatus(const fs::path& path, const WriteStatus& status) {
    return status ? OutputResult::written(path) : OutputResult::failed(path, status.message);
}

} // namespace

OutputResult createFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point) {
    const auto choice = chooseOutputFile(dialogs, dialog,
                                         {.defaultExtension = ".txt",
                                          .filter = "Text Files(*.txt)|*.txt",
                                          .prefix = kFacilityPrefix});
    if (!choice) {
        return OutputResult::cancelled();
    }
    return fromStatus(
        choice->target,
        writeWholeFile(choice->target, facilityHeaderLine() + facilityRecordLine(point)));
}

OutputResult appendFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point) {
    const auto chosen =
        dialog.pick(dialogs, outputFileRequest(".txt", "Text Files (pf*.txt)|pf*.txt"));
    if (!chosen) {
        return OutputResult::cancelled();
    }
    const fs::path path(*chosen);
    return fromStatus(path, appendWhole(path, facilityRecordLine(point)));
}

} // namespace sw
