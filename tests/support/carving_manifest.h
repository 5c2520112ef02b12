#pragma once
// The planted files of the carving fixture image, from its JSON manifest.

#include <cstdint>
#include <map>
#include <string>

namespace salvor::testing {

struct PlantedFile {
  std::uint64_t length = 0;
  std::string sha256;
};

// The files planted at a sector start, by start sector (read with Python's
// json module, an independent reader).
std::map<std::uint64_t, PlantedFile> AlignedCarvingFixtureFiles();

}  // namespace salvor::testing
