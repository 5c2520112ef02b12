#pragma once
// The rescue map of an image on disk, beside the image. It is replaced
// atomically (a new file renamed over the old), so a crash or a pulled plug
// leaves either the old map or the new one, never half of one.

#include <filesystem>
#include <optional>
#include <string>

#include "partitions/rescue_map.h"

namespace salvor {

// The map file of an image: the image's path with ".map" added.
std::filesystem::path RescueMapPathOf(const std::filesystem::path& image);

// Writes the map; an error text naming the path and the cause, or empty.
std::string WriteRescueMapFile(const std::filesystem::path& path, const RescueMap& map,
                               const std::string& command);

// Reads a map; nullopt with the path and the cause in `error`.
std::optional<RescueMap> ReadRescueMapFile(const std::filesystem::path& path, std::string& error);

}  // namespace salvor
