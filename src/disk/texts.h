#pragma once
// Salvor's string table: every text that Salvor's engines, command line and
// windows show. Formats are printf-style.

#include <string_view>

namespace salvor::text {

// Captions.
inline constexpr std::string_view kCaptionError = "Error";
inline constexpr std::string_view kCaptionInformation = "Information";
inline constexpr std::string_view kCaptionProduct = "Varnok NTFS";

// Sector source.
inline constexpr const char* kDriveAccessError = "Drive access error @ sector =%llu (Code =%u)";
inline constexpr const char* kDiskOpeningError = "Disk Opening Error #%u";
inline constexpr const char* kErrorAccessingDevice = "Error accessing device %u";

// Partition list.
inline constexpr const char* kLogicalDrive = "NTFS logical drive %u";
inline constexpr std::string_view kUseSearchDisk = "Use search for lost partition(s) option.";
inline constexpr std::string_view kUseSearchImage = "Please use search for lost partition(s).";

}  // namespace salvor::text
