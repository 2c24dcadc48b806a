#pragma once
// Putting a new shapefile in the place of an old one. Its files are built under temporary
// names beside the target; this moves them to their final names as one step: either all the
// new files are in place and the old ones gone, or (with a message) the old ones are back as
// they were and the new ones still under their temporary names.

#include <filesystem>
#include <optional>
#include <string>

namespace sw {

// Moves workBase.dbf/.cpg/.prj/.shx/.shp (those that exist) to finalBase with the same extensions.
// The old shapefile's parts, and the spatial indexes and upper-case parts that would describe
// it, go; each new part keeps the permissions of the one it replaces. False (and a message
// naming the file in `error`) when any target cannot be replaced (see writable_targets.h:
// a part the user protected is refused, and nothing moves).
bool publishShapefile(const std::filesystem::path& workBase, const std::filesystem::path& finalBase,
                      std::string& error);

// Tests only: moving a file into place (or aside) fails once this many more moves were made
// (nothing: no limit). Shows that a publication stopped at any step puts everything back.
void setPublishMoveLimit(std::optional<int> moves);

} // namespace sw
