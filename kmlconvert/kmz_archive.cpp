#include "kmlconvert/kmz_archive.h"

#include "kmlconvert/working_names.h"

#include "services/base/whole_file.h"

#include <zip.h>

#include <memory>
#include <optional>

namespace sw::kml {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};

// The index of the document entry: "doc.kml" at the root (any case), else the first ".kml".
std::optional<zip_uint64_t> documentEntry(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::optional<zip_uint64_t> firstKml;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (name == nullptr) {
            continue;
        }
        const std::string_view entry(name);
        if (entry.size() == 7 && endsWithNoCase(entry, "doc.kml")) {
            return static_cast<zip_uint64_t>(i);
        }
        if (!firstKml && endsWithNoCase(entry, ".kml")) {
            firstKml = static_cast<zip_uint64_t>(i);
        }
    }
    return firstKml;
}

} // namespace

std::string extractKmzDocument(const std::filesystem::path& kmz, const std::filesystem::path& kml,
                               long long largest) {
    const std::string shown = kmz.string();
    int error = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(kmz.c_str(), ZIP_RDONLY, &error));
    if (!archive) {
        zip_error_t details;
        zip_error_init_with_code(&details, error);
        std::string reason = zip_error_strerror(&details);
        zip_error_fini(&details);
        return "The KMZ file " + shown + " cannot be opened: " + reason + ".";
    }
    const auto entry = documentEntry(archive.get());
    if (!entry) {
        return "The KMZ file " + shown + " holds no KML document.";
    }
    const std::string entryName = zip_get_name(archive.get(), *entry, 0);
    std::unique_ptr<zip_file_t, EntryCloser> in(zip_fopen_index(archive.get(), *entry, 0));
    if (!in) {
        return "The KMZ file " + shown + " cannot be read (" + entryName +
               "): " + zip_strerror(archive.get()) + ".";
    }
    WholeFileWrite out(kml, AtALink::Replace);
    if (!out.problem().empty()) {
        return "Cannot write " + kml.string() + ": " + out.problem();
    }
    char buffer[1 << 16];
    long long total = 0;
    while (true) {
        const zip_int64_t read = zip_fread(in.get(), buffer, sizeof buffer);
        if (read < 0) {
            return "The KMZ file " + shown + " cannot be read (" + entryName +
                   "): " + zip_file_strerror(in.get()) + ".";
        }
        if (read == 0) {
            break;
        }
        total += read;
        if (total > largest) {
            return "The KMZ file " + shown + " cannot be converted: its document " + entryName +
                   " unpacks to more than " + std::to_string(largest / (1 << 20)) + " MB.";
        }
        if (std::string problem = out.append({buffer, static_cast<std::size_t>(read)});
            !problem.empty()) {
            return "Cannot write " + kml.string() + ": " + problem;
        }
    }
    if (std::string problem = out.commit(); !problem.empty()) {
        return "Cannot write " + kml.string() + ": " + problem;
    }
    return {};
}

} // namespace sw::kml
