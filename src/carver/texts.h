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

// Burning to CD/DVD.
inline constexpr std::string_view kVolumeLabel = "Varnok";
inline constexpr std::string_view kNoBurningDevice = "No burning device found";
inline constexpr std::string_view kInsertMedia = "Please insert media.";
inline constexpr std::string_view kInsertWritableMedia = "Please insert writable media.";
inline constexpr std::string_view kInsertBlankMedia = "Please insert blank media";
inline constexpr std::string_view kInsertHigherCapacity = "Please insert higher capacity CD/DVD.";
inline constexpr std::string_view kStatusFinalizing =
    "Burning operation completed. Finalizing optical media";

// The desktop program: start-up beside Salvor.
inline constexpr std::string_view kStartedAlone = "Please select Trawler option from NTFS.";
inline constexpr std::string_view kSalvorNotRunning = "Varnok NTFS is not running.";
inline constexpr std::string_view kAlreadyRunning = "Varnok KLT already running.";
inline constexpr std::string_view kProgramTitle = "Trawler";
inline constexpr std::string_view kDisclaimerTitle = "Before you start";
inline constexpr std::string_view kDisclaimer =
    "Trawler reads the chosen disk sector by sector and finds files by the "
    "signatures their types begin with. It never writes to that disk.\n\n"
    "Files found this way have no names, dates or folders of their own, and a "
    "file whose pieces were scattered over the disk comes back incomplete. "
    "Save what you recover to another disk: writing to the disk being scanned "
    "can overwrite the very data you are looking for.\n\n"
    "You use this program at your own risk.";
inline constexpr std::string_view kOk = "OK";

// Disk selection.
inline constexpr std::string_view kSelectDiskCaption = "Select physical disk to scan";
inline constexpr std::string_view kMyComputer = "My Computer";
inline constexpr std::string_view kDiskLabel = "Disk # ";
inline constexpr std::string_view kImageFileEntry = "Image file...";
inline constexpr std::string_view kImageFileFilter = "Disk images (*.img *.vk2 *.dd *.raw *.bin);;All files (*)";
inline constexpr std::string_view kRefreshDrives = "&Refresh Drives";
inline constexpr std::string_view kNextPlain = "Next";
inline constexpr std::string_view kPanelDevice = "Device:";
inline constexpr std::string_view kPanelModel = "Model Name:";
inline constexpr std::string_view kPanelSerial = "Serial number:";
inline constexpr std::string_view kPanelInterface = "Interface type:";
inline constexpr std::string_view kPanelMedia = "Media type:";
inline constexpr std::string_view kPanelCylinders = "Total cylinders:";
inline constexpr std::string_view kPanelSectorSize = "Sector Size:";
inline constexpr std::string_view kPanelTotalSectors = "Total sectors:";
inline constexpr std::string_view kPanelImageFile = "Image file:";
inline constexpr std::string_view kImageFileHint =
    "a raw copy of a disk, sector by sector; you choose the file on Next";

// File type page.
inline constexpr std::string_view kSelectFileTypes = "Select file types to search";
inline constexpr std::string_view kAllCategories = "All";
inline constexpr std::string_view kColumnName = "Name";
inline constexpr std::string_view kColumnExtension = "Extension";
inline constexpr std::string_view kColumnCategory = "Category";
inline constexpr std::string_view kSelectDeselectGroup = "Select\\Deselect all files in category";
inline constexpr std::string_view kSelectAll = "&Select All";
inline constexpr std::string_view kDeselectAll = "&Deselect All";
inline constexpr std::string_view kMaxSizeGroup = "&Enter max file size to search";
inline constexpr std::string_view kUnitKB = "KB";
inline constexpr std::string_view kUnitMB = "MB";
inline constexpr std::string_view kUnitGB = "GB";
inline constexpr std::string_view kNext = "&Next";
inline constexpr std::string_view kBack = "&Back";
inline constexpr std::string_view kHome = "Home";
inline constexpr std::string_view kCancel = "Cancel";
inline constexpr std::string_view kHelp = "Help (F1)";

// Processing page.
inline constexpr std::string_view kProcessingDetails = "Processing Details";
inline constexpr std::string_view kStatus = "Status";
inline constexpr std::string_view kTimeElapsed = "Time Elapsed";
inline constexpr std::string_view kPause = "&Pause";
inline constexpr std::string_view kResume = "&Resume";
inline constexpr std::string_view kStop = "&Stop";
inline constexpr std::string_view kCaptionConfirm = "Confirm";
inline constexpr const char* kStopQuestion = "Do you want to stop %s process?";
inline constexpr const char* kProcessScanning = "scanning";
inline constexpr const char* kProcessSaving = "saving";
inline constexpr const char* kScanningDisk = "\nSelected: %s\n\nModel : %s";
inline constexpr std::string_view kScanningExplanation =
    "Please wait... scanning disk is in progress.It may take several seconds to few hours. "
    "Estimated scan time depends upon disk scan type and media selected (size, speed and "
    "physical condition of disk drive).\n\nYou can press [Stop] button at any instance to stop "
    "the scanning.";
inline constexpr const char* kSavingTo = "Saving recovered data to %s:";
inline constexpr const char* kSavingTotals = "Total %s of data in %llu files and %llu folders.";
inline constexpr std::string_view kSavingExplanation =
    "Please wait...saving data is in progress.It may take several seconds to few hours. "
    "Estimated save time depends upon data  selected and speed, physical condition of "
    "destination disk drive.\n\nYou can press [Stop] button at any instance to stop the saving.";
inline constexpr std::string_view kSavingCompressedInProgress = "Saving Compressed data is in Progress..";
inline constexpr std::string_view kSavingInProgress = "Saving is in progress.";

// Found files page.
inline constexpr std::string_view kColumnSize = "Size";
inline constexpr std::string_view kColumnNote = "Note";
inline constexpr std::string_view kLengthNotMeasured = "length not measured";
inline constexpr std::string_view kLengthNotMeasuredTip =
    "This type has no end detection: the file was given the maximum size, so its end may hold "
    "other data or its tail may be missing.";
inline constexpr const char* kTotalFiles = "Total Files     : [%llu]";
inline constexpr const char* kSelectedFiles = "Selected Files     : [%llu]";
inline constexpr const char* kTotalFolders = "Total Folders: [%llu]";
inline constexpr const char* kSelectedFolders = "Selected Folders: [%llu]";
inline constexpr std::string_view kTotalData = "Total Data    : ";
inline constexpr std::string_view kSelectedData = "Selected Data    : ";
inline constexpr std::string_view kZeroData = "[0.0 KB]";
inline constexpr const char* kCounterSize = "[%-.2f %s]";
inline constexpr const char* kTotalsSize = "%7.3f %s";
inline constexpr std::string_view kSave = "&Save ";
inline constexpr std::string_view kExit = "&Exit";
inline constexpr std::string_view kFind = "Find (Ctrl + F)";
inline constexpr std::string_view kFindNext = "Find Next (F3)";
inline constexpr std::string_view kPreview = "&Preview";
inline constexpr std::string_view kSelectItem = "&Select Item";
inline constexpr std::string_view kDeselectItem = "&Deselect Item";
inline constexpr std::string_view kCheckAndSave =
    "Check the files/folders that you want\nto recover and click \"Save\" button";
inline constexpr std::string_view kNoItems = "No item(s) to display.";
inline constexpr std::string_view kDoubleClickToPreview = "Double click on file to preview";

// Find.
inline constexpr std::string_view kFindTitle = "Find";
inline constexpr std::string_view kFindWhat = "&Find What";
inline constexpr std::string_view kMatchCase = "&Match Case";
inline constexpr std::string_view kSizeOption = "&Size";
inline constexpr std::string_view kAtMost = "At most";
inline constexpr std::string_view kAtLeast = "At least";
inline constexpr std::string_view kHideOptions = ">>&Hide Options";
inline constexpr std::string_view kShowOptions = "<<&Show Options";
inline constexpr std::string_view kSearchNow = "&Search Now";
inline constexpr std::string_view kProvideSizeKB = "Please provide file size in KB.";
inline constexpr std::string_view kSizeAboveZero = "Please enter value greater then zero.";
inline constexpr std::string_view kEntryNotFound = "Entry not found";

// Preview.
inline constexpr std::string_view kFileTooLargeForPreview = "File size too large for preview";
inline constexpr std::string_view kDrawingFailed = "Drawing Failed...";
inline constexpr std::string_view kLoadingImage = "Please Wait. Loading Image file...";

// Saving options.
inline constexpr std::string_view kSavingOptions = "Saving Options";
inline constexpr std::string_view kSaveToLocalDrive = "Save data to local drive";
inline constexpr std::string_view kCompressData = "&Compress Data";
inline constexpr std::string_view kProvideLocation = "&Provide location to save data:";
inline constexpr std::string_view kBrowse = "B&rowse...";
inline constexpr std::string_view kIgnoreTypes = "&Ignore these file types before saving";
inline constexpr std::string_view kExtensionHint = "Enter extension e.g. doc";
inline constexpr std::string_view kAddToList = "&Add to list";
inline constexpr std::string_view kViewList = "&View List";
inline constexpr std::string_view kExcludedFileTypes = "Excluded File Types";
inline constexpr std::string_view kFileTypesToExclude = "&File types to exclude:";
inline constexpr std::string_view kClearList = "&Clear List";
inline constexpr std::string_view kExtensionEmptyOrListed =
    "Text box is empty or entered file type already exists";
inline constexpr std::string_view kExtensionTooLong =
    "Please enter file extension length less then or equals to 219 characters.";
inline constexpr std::string_view kExtensionBadCharacters =
    "A file extension cannot contain following characters:\n\\/ : * ? \" < > |";
inline constexpr std::string_view kSameLocationWarning =
    "Please ensure that you are not saving data to\nthe same location from where you are "
    "recovering. \n\nSaving data to the same location would result in\npermanent data loss.\n\n"
    "Do you want to continue?";
inline constexpr std::string_view kSizeLimitsGroup = "Leave out files by &size";
inline constexpr std::string_view kSmallerThan = "Smaller than (KB):";
inline constexpr std::string_view kLargerThan = "Larger than (KB):";
inline constexpr std::string_view kSizeLimitsInverted =
    "The smallest size to keep is above the largest.";

}  // namespace salvor::carver::text

// Opening a source.
namespace salvor::carver::text {
inline constexpr const char* kCannotOpenDisk = "%s: %s";
}  // namespace salvor::carver::text
