#pragma once
// KMZ, Google Earth's default save format, is a zip archive around one KML document (plus the
// images it shows). The conversion reads the document: "doc.kml" at the archive's root, or
// else the first ".kml" entry in the archive.

#include <filesystem>
#include <string>

namespace sw::kml {

// The largest document taken out of an archive. A perimeter of a million vertices is about
// 25 MB; an entry that unpacks to more than this is refused rather than allowed to fill the
// disk (a small archive can unpack to gigabytes).
inline constexpr long long kLargestKmzDocument = 1LL << 30;

// Writes the KML document of `kmz` to `kml` (whole or not at all). Empty on success,
// otherwise a message naming the archive and what went wrong.
std::string extractKmzDocument(const std::filesystem::path& kmz, const std::filesystem::path& kml,
                               long long largest = kLargestKmzDocument);

} // namespace sw::kml
