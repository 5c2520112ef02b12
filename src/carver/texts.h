#pragma once
// Trawler's string table: every text that the carving engine and its command
// line show. Formats are printf-style, filled with Format (disk/text_format.h).

#include <string_view>

namespace salvor::carver::text {

inline constexpr std::string_view kCaptionError = "Error";
inline constexpr std::string_view kCaptionInformation = "Information";

// Disk selection and the scan's sector reader.
inline constexpr std::string_view kReconnectDisk = "Please reconnect disk to continue.";
inline constexpr std::string_view kDiskDisconnected =
    "Source disk is disconnected.\nPlease connect the disk and restart scanning.";

// Signature database.
inline constexpr std::string_view kSignatureFileName = "Signature";
inline constexpr std::string_view kFailedToRetrieveSignatures = "Failed to retrieve signatures";
inline constexpr std::string_view kNoFileTypesFound = "No File Types found.";

// Found-file tree.
inline constexpr std::string_view kRootName = ".";
inline constexpr std::string_view kRawData = "Raw Data";

// Scan completion.
inline constexpr std::string_view kScanningCompleted = "Scanning Completed.";
inline constexpr std::string_view kProgressCompleted = "Progress Completed";
inline constexpr std::string_view kScanningInProgress = "Scanning is in progress";
inline constexpr const char* kScanningDetails =
    "Scanning disk for file types selected. %u file type(s) to search.\n\nFiles found: %u";

// Maximum size range.
inline constexpr std::string_view kSizeRange = "Please provide value in range of1KB to 4GB.";

// ZIP archives and their Deflate encoder.
inline constexpr std::string_view kFailedToCreateZip = "Faild to create zip file.";
inline constexpr std::string_view kBadPackLevel = "bad pack level";
inline constexpr std::string_view kBadCompressedSize = "bad compressed size";
inline constexpr std::string_view kOutputBufferTooSmall =
    "output buffer too small for in-memory compression";

// Saving found files.
inline constexpr std::string_view kOutputFolderPrefix = "DataKLT";
inline constexpr std::string_view kOrphanFiles = "Orphan Files";
inline constexpr std::string_view kBurnArchiveFolder = "VEDod";
inline constexpr std::string_view kFailedToWriteDestination = "Failed to write in destination disk.";
inline constexpr const char* kErrorNum = "Error Num :%u";
inline constexpr std::string_view kFileNameTooLong = "filename too long. Please provide new filename.";
inline constexpr std::string_view kCannotSaveCompressed =
    " file cannot be saved in Compressed form.\nDo you want to save this in uncompressed form?";
inline constexpr std::string_view kSavingCompletedCompressed =
    "Saving operation completed successfully.\nYou need unzip tool to decompress\nrecovered archive(s).";
inline constexpr std::string_view kSavingCompleted = "Saving process completed successfully.";
inline constexpr std::string_view kStatusSavingCompleted = "Saving Completed";
inline constexpr std::string_view kStatusBurningCompressed = "Burning compressed data";
inline constexpr std::string_view kStatusBurning = "Burning data";
inline constexpr std::string_view kBurningCompleted = "Burning operation completed successfully";

}  // namespace salvor::carver::text

// Opening a source.
namespace salvor::carver::text {
inline constexpr const char* kCannotOpenDisk = "%s: %s";
}  // namespace salvor::carver::text
