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

// Process log.
inline constexpr std::string_view kLogFileHeader =
    "------------------------Varnok NTFS Data Recovery v2\t.0.1  Process "
    "Log------------------------\n\n";
inline constexpr std::string_view kLogFileDefaultName =
    "Varnok NTFS Data Recovery ver 2.0.1 Process Log.txt";
inline constexpr std::string_view kErrorCreatingLogFile = "Error creating log file";

// Disk imaging and cloning.
inline constexpr std::string_view kDiskCloning = "Disk Cloning";
inline constexpr std::string_view kDiskImaging = "Disk Imaging";
inline constexpr std::string_view kProcessPaused = "Process Paused";
inline constexpr std::string_view kProcessResumed = "Process Resumed";
inline constexpr std::string_view kStopProcessQuestion = "Do you want to stop process?";
inline constexpr const char* kCompletedProcess = "Completed %s";
inline constexpr const char* kAbortedProcess = "Aborted %s";
inline constexpr std::string_view kDiskCloningCompleted = "Disk Cloning Completed";
inline constexpr std::string_view kDiskCloningAborted = "Disk Cloning Aborted";
inline constexpr std::string_view kDiskImagingCompleted = "Disk Imaging Completed";
inline constexpr std::string_view kDiskImagingAborted = "Disk Imaging Aborted";
inline constexpr std::string_view kCloning = "Cloning";
inline constexpr std::string_view kImaging = "Imaging";
inline constexpr const char* kCopySectorLine = "%s sector %llu of %llu";
inline constexpr const char* kCopyPercent = "%u %%";
inline constexpr const char* kCloningDiskHeading = "Cloning Disk #[%s, %s, Serial:%s]";
inline constexpr const char* kCloningDiskDetail = "To Disk #[%s, %s, Serial:%s]";
inline constexpr const char* kImagingDiskHeading = "Imaging Disk :%s,  %s, Serial:%s";
inline constexpr const char* kImagingDiskDetail = "To Location %s";
inline constexpr std::string_view kChooseDifferentDestination =
    "Please choose different destination drive.";
inline constexpr std::string_view kDestinationTooSmall =
    "Size of destination disk is less than source disk.";
inline constexpr std::string_view kImageSpaceUnknown =
    "Destination does not have enough space to save disk image";
inline constexpr std::string_view kImageSpaceLow =
    "Destination disk does not have enough space to save disk image.\nDo you still want to "
    "proceed?";

// Scan information files.
inline constexpr const char* kScanInfoDefaultName = "VK NTFS Scan Information # %s, %02d-%s-%u";
inline constexpr const char* kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
inline constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May",  "Jun",
                                              "Jul", "Aug", "Sept", "Oct", "Nov", "Dec"};
inline constexpr std::string_view kTreeInfoSaved = "Partition scan information saved successfully.";
inline constexpr std::string_view kDiskInfoSaved = "Disk scan information saved successfully.";
inline constexpr std::string_view kTreeInfoOpened = "Partition scan information opened successfully.";
inline constexpr std::string_view kDiskInfoOpened = "Disk scan information opened successfully.";
inline constexpr const char* kSavingScanInfoFile = "Saving Scan Info File : %s";
inline constexpr const char* kSavingScanInfoLocation = "To Location : %s";
inline constexpr const char* kProcessingScanInfoFile = "Processing Scan Info File : %s";
inline constexpr const char* kProcessingScanInfoLocation = "Location : %s";
inline constexpr const char* kTreeInfoSaveFailed =
    "Failed to save Partition scan information. Errorcode =%u";
inline constexpr const char* kDiskInfoSaveFailed =
    "Failed to save Disk scan information. Errorcode =%u";
inline constexpr const char* kTreeInfoOpenFailed =
    "Failed to open Partition scan information. Errorcode =%u";
inline constexpr const char* kDiskInfoOpenFailed =
    "Failed to open Disk scan information. Errorcode =%u";
inline constexpr std::string_view kTreeInfoInvalid = "Not a valid Partition scan information.";
inline constexpr std::string_view kDiskInfoInvalid = "Not a valid Disk scan information";
inline constexpr std::string_view kSupportingFilesNotOpened = "Supporting Files couldn't be opened";
inline constexpr std::string_view kUnknownError = "Unknown error";

inline constexpr const char* kStartedTurboScan = "Started turbo scan of logical drive %u";
inline constexpr const char* kCompletedTurboScan = "Completed turbo scan of logical drive %u";
inline constexpr const char* kAbortedTurboScan = "Aborted turbo scan of logical drive %u";
inline constexpr std::string_view kProgressTurboScan = "Turbo Scan";
}  // namespace salvor::text

// Saving recovered data and the rename question.
namespace salvor::text {
inline constexpr std::string_view kNameTooLong = "name too long to save, please provide new name.";
inline constexpr std::string_view kNameExists = "name already exists, please provide new name.";
inline constexpr std::string_view kProvideNewName = "please provide new name ( ";
inline constexpr std::string_view kRenameTitle = "Rename";
inline constexpr std::string_view kForbiddenCharacters =
    "A file/ folder cannot contain following special characters:\n\\/ : * ? \" < > | ";
inline constexpr std::string_view kFileSkipped = "file skipped";
inline constexpr std::string_view kFileSavingFailed = "file saving failed";
inline constexpr std::string_view kDestinationOnSource =
    "The destination folder lies on the disk being recovered. Saving there would overwrite "
    "the data being recovered: choose a folder on another drive.";
inline constexpr std::string_view kCaptionCompressedData = "Compressed data";
inline constexpr std::string_view kPreviewNotAvailable = "Preview not available";

// Disk list.
inline constexpr std::string_view kNotAvailable = "N/A";
inline constexpr std::string_view kFixedMedia = "Fixed hard disk media";
inline constexpr std::string_view kRemovableMedia = "Removable media";
inline constexpr std::string_view kUsbDiskModel = "USB mobile disk ";
inline constexpr const char* kDiskSizeGb = "%.2f GB";
inline constexpr const char* kDiskSizeMb = "%.2f MB";

}  // namespace salvor::text

// Scan database and rebuilding the tree.
namespace salvor::text {
inline constexpr std::string_view kLogSeparator = "-----------------------------------";
inline constexpr std::string_view kProcessingFileSystem =
    "Processing Internal File System Structure...";
inline constexpr std::string_view kCompletedProcessingFileSystem =
    "Completed processing Internal File System Structure";
inline constexpr std::string_view kAbortedProcessingFileSystem =
    "Aborted processing Internal File System Structure";
inline constexpr std::string_view kPopulatingDirectoryStructure =
    "Populating Directory Structure...";
inline constexpr std::string_view kCompletedPopulating = "Completed Populating Directory Structure";
inline constexpr std::string_view kProgressProcessing = "Processing";
inline constexpr std::string_view kScanDatabaseFull = "Scan database full";
inline constexpr const char* kScanDatabaseFullDetail =
    "%s would grow past %llu bytes: the volume has more entries than the scan database can "
    "hold; the scan stops here";
inline constexpr const char* kScanDatabaseWriteFailed = "Cannot write the scan database file %s: %s";
inline constexpr const char* kScanDatabaseCreateFailed = "Cannot create %s: %s";
inline constexpr const char* kScanDatabaseOpenFailed = "Cannot open %s: %s";
inline constexpr std::string_view kScanDatabaseNotWritable = "The scan database is not open for writing";
inline constexpr const char* kPrivateFolderIsLink =
    "%s is a symbolic link; the scan database is not kept there";
inline constexpr const char* kPrivateFolderNotFolder =
    "%s is not a folder; the scan database is not kept there";
inline constexpr const char* kPrivateFolderNotOwned =
    "%s belongs to another user; the scan database is not kept there";
inline constexpr const char* kPrivateFolderCannotCreate = "Cannot create %s: %s";
inline constexpr const char* kPrivateFolderCannotOpen = "Cannot open %s: %s";
inline constexpr const char* kPrivateFolderCannotProtect = "Cannot make %s private: %s";
inline constexpr const char* kScanDatabaseInUse =
    "The scan database in %s is in use by another run; wait for it to end";
inline constexpr const char* kNoSuchVolume = "%s has no volume %u (it lists %zu)";
inline constexpr const char* kNoBootSectorAt = "Sector %llu of %s holds no NTFS boot sector";
inline constexpr const char* kMftNotFound =
    "The $MFT of the volume at sector %llu could not be found";
}  // namespace salvor::text

// Sector range of a lost-partition search.
namespace salvor::text {
inline constexpr std::string_view kStartNotBelowTotal = "Start sector should be less than total sectors";
inline constexpr std::string_view kEndNotAboveStart = "End sector should be greater than start sector";
inline constexpr std::string_view kEndAboveTotal = "End sector should be less than total sectors";
inline constexpr const char* kRangeBytes = "%llu bytes";
inline constexpr const char* kRangeKb = "%0.2f KB";
inline constexpr const char* kRangeMb = "%0.2f MB";
inline constexpr const char* kRangeGb = "%0.2f GB";

// Lost-partition search.
inline constexpr const char* kQuick = "Quick";
inline constexpr const char* kThorough = "Thorough";
inline constexpr std::string_view kQuickScanInProgress = "Quick scan in progress";
inline constexpr std::string_view kThoroughScanInProgress = "Thorough scan in progress";
inline constexpr std::string_view kSearchCompletedLog = "Completed Searching partitions";
inline constexpr std::string_view kSearchAbortedLog = "Aborted searching partitions";
inline constexpr std::string_view kSearchAbortedDetail = "-----------------";
inline constexpr const char* kSearchCompleted = "%s scan of drives completed.";
inline constexpr const char* kSearchAborted = "%s scan of drives aborted.";
inline constexpr std::string_view kQuickFoundNothing =
    "\nNo logical drive(s) found.\nPlease use thorough scan.";
}  // namespace salvor::text

// Saving entries.
namespace salvor::text {
inline constexpr std::string_view kProgressSaving = "Saving";
inline constexpr std::string_view kSavingData = "Saving data...";
inline constexpr std::string_view kSavingDataCompleted = "Saving data completed.";
inline constexpr std::string_view kSavingDataEnded = "Saving data ended early or with failures.";
inline constexpr const char* kRecoverSummary =
    "%llu files, %llu folders, %llu bytes saved; %llu skipped, %llu failed, %llu excluded";
}  // namespace salvor::text

// Opening a source.
namespace salvor::text {
inline constexpr const char* kCannotOpenSource = "cannot open %s";
inline constexpr const char* kCannotOpenSourceBecause = "cannot open %s: %s";
inline constexpr const char* kCannotOpenForWriting = "cannot open %s for writing: %s";
inline constexpr const char* kCannotCreateImage = "cannot create %s: %s";
}  // namespace salvor::text
