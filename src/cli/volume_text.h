#pragma once
// Printing a listed volume as text or as a JSON line.

#include <string>

#include "ntfs/volume_info.h"

namespace salvor::cli {

std::string VolumeJson(unsigned drive, const VolumeInfo& v, std::uint16_t source_bytes_per_sector);
std::string VolumeText(unsigned drive, const VolumeInfo& v, std::uint16_t source_bytes_per_sector);
std::string SerialHex(std::uint64_t serial);

}  // namespace salvor::cli
