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
inline constexpr const char* kNoPermissionDisk =
    "You are not allowed to read %s. Disks can be read by the members of the group \"%s\": "
    "join it with \"sudo usermod -aG %s %s\" and log in again, or start the program with sudo.";
inline constexpr const char* kNoPermissionFile =
    "You are not allowed to read %s. Ask its owner to let you read it, or copy it to a folder "
    "of your own.";

// Partition list.
inline constexpr const char* kLogicalDrive = "NTFS logical drive %u";
inline constexpr std::string_view kUseSearchDisk = "Use search for lost partition(s) option.";
inline constexpr std::string_view kUseSearchImage = "Please use search for lost partition(s).";
inline constexpr std::string_view kGptBackupUsed = "The primary GPT of this disk is damaged";
inline constexpr std::string_view kGptBackupUsedDetail =
    "Its partitions were read from the backup GPT at the end of the disk";
inline constexpr std::string_view kGptUnreadable = "Neither GPT copy of this disk is valid";
inline constexpr std::string_view kGptUnreadableDetail =
    "Only the partitions of the MBR are listed; search for lost partition(s) to find the rest";

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
inline constexpr const char* kNameShortened = "name too long for the destination, saved as \"%s\"";
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
    "%llu files, %llu folders, %llu bytes saved; %llu skipped, %llu failed, %llu excluded, "
    "%llu renamed, %llu linked";
inline constexpr const char* kDryRunSummary =
    "dry run: %llu files, %llu folders, %llu bytes would be saved; %llu excluded";
}  // namespace salvor::text

// salvor-cli carve --out.
namespace salvor::text {
inline constexpr const char* kCarveMoreThanSource =
    "salvor-cli: warning: the found files come to %llu bytes, more than the source's %llu: "
    "some of them overlap";
inline constexpr const char* kCarveCutAtEnd =
    "salvor-cli: warning: %u found file(s) reach past the end of the source and were cut there";
inline constexpr const char* kCarveDryRunSummary = "dry run: %llu files, %llu bytes would be saved below %s";
}  // namespace salvor::text

// The recovery report's reasons.
namespace salvor::text {
inline constexpr std::string_view kReportNameTaken = "the name is taken at the destination";
inline constexpr std::string_view kReportExcluded = "its type is excluded";
inline constexpr std::string_view kReportRecordFailed = "its record failed its check";
inline constexpr std::string_view kReportNotSaved = "not saved";
}  // namespace salvor::text

// Opening a source.
namespace salvor::text {
inline constexpr const char* kCannotOpenSource = "cannot open %s";
inline constexpr const char* kCannotOpenSourceBecause = "cannot open %s: %s";
inline constexpr const char* kCannotOpenForWriting = "cannot open %s for writing: %s";
inline constexpr const char* kCannotCreateImage = "cannot create %s: %s";
inline constexpr const char* kNothingToResume = "cannot resume %s: %s";
inline constexpr const char* kResumeMapMismatch =
    "cannot resume %s: its map covers %llu bytes but the source holds %llu";
inline constexpr const char* kUnreadableAreas =
    "%llu bytes could not be read and are zeros in the image; %s lists them";
inline constexpr const char* kResumingImage = "Resuming from %s: %llu of %llu bytes already copied";
}  // namespace salvor::text

// The desktop program: start-up, main frame, background processes, views.
namespace salvor::text {
inline constexpr std::string_view kAlreadyRunning =
    "Varnok NTFS already running.\nPlease close the running instance first.";
inline constexpr std::string_view kFailedToLoad = "Failed to load Varnok NTFS";
inline constexpr std::string_view kApplicationName = "Varnok NTFS Data Recovery";
inline constexpr std::string_view kOrganisationName = "Varnok Labs";
inline constexpr std::string_view kSettingsWizardSection = "Wizard";
inline constexpr std::string_view kSettingsStartUpValue = "StartUp";
inline constexpr std::string_view kMutexName = "GlobalMutexVK-NTFS";
inline constexpr std::string_view kTrawlerProgram = "trawler";
inline constexpr std::string_view kReady = "Ready";
inline constexpr std::string_view kCaptionWarning = "Warning";
inline constexpr std::string_view kCaptionConfirm = "Confirm";
inline constexpr std::string_view kPleaseStopProcess = "Please stop running process";
inline constexpr std::string_view kPleaseWait = "Please wait...";
inline constexpr std::string_view kSaveScanQuestion = "Do you want to save scan information?";
inline constexpr std::string_view kMenuBar = "Menu Bar";
inline constexpr std::string_view kToolBar = "ToolBar";
inline constexpr std::string_view kProcessLogPane = "Process Log";
inline constexpr std::string_view kLogColumnName = "Process Name";
inline constexpr std::string_view kLogColumnDescription = "Description";
inline constexpr std::string_view kLogColumnTime = "Log Time";
inline constexpr std::string_view kLogClearAll = "&Clear All";
inline constexpr std::string_view kLogSaveAll = "&Save All";
inline constexpr std::string_view kLogHighlightRecent = "&Highlight Recent Process";
inline constexpr std::string_view kLogFileFilter = "Text File (*.txt)";

// Background processes.
inline constexpr std::string_view kProgressScanning = "Scanning";
inline constexpr std::string_view kProgressPopulating = "Populating ";
inline constexpr const char* kProgressDisplay = "%s :%d%%";
inline constexpr std::string_view kInternalFileProcessing = "Internal File processing";
inline constexpr std::string_view kBasicScanComplete =
    "You have just completed Basic Scan of the logical drive.\n\nPlease examine the tree "
    "created, if you find none of the\nfiles listed are the one you were looking for, then "
    "use\nmore advanced disk scanning method i.e. Turbo Scan.\n\nTools->TurboScan";
inline constexpr std::string_view kSearchingFileTypesFinished =
    "Searching for file type(s) finished.";
inline constexpr std::string_view kTurboScanCompleted = "Turbo Scan Completed";
inline constexpr std::string_view kTurboScanAborted = "Turbo Scan aborted";
inline constexpr std::string_view kTipsFileName = "stips.txt";
inline constexpr std::string_view kDefaultTip = "Press Ctrl + W to run wizard.\n";
inline constexpr const char* kSelectedVolume = "Selected %s";

// Folder tree and file list.
inline constexpr std::string_view kTopEntryName = "#";
inline constexpr std::string_view kColumnFileName = "File Name";
inline constexpr std::string_view kColumnSize = "Size in Bytes";
inline constexpr std::string_view kColumnType = "Type";
inline constexpr std::string_view kColumnAccessed = "Date Accessed";
inline constexpr std::string_view kColumnCreated = "Date Created";
inline constexpr std::string_view kColumnFileId = "File ID";
inline constexpr std::string_view kColumnParentId = "Parent ID";
inline constexpr std::string_view kTypeFolder = "Folder";
inline constexpr std::string_view kTypeFile = "File";
inline constexpr const char* kListDate = "%02d-%02d-%d";
inline constexpr std::string_view kMenuSave = "&Save";
inline constexpr std::string_view kMenuPreview = "&Preview";
inline constexpr std::string_view kMenuSearch = "S&earch";
inline constexpr std::string_view kMenuProperties = "P&roperties";
inline constexpr const char* kTotalsKb = "%7.3f KB in %u Files in %u Folders";
inline constexpr const char* kTotalsMb = "%7.3f MB in %u Files in %u Folders";
inline constexpr const char* kTotalsGb = "%7.3f GB in %u Files in %u Folders";
inline constexpr std::string_view kMarkedPrefix = "Marked ";
inline constexpr std::string_view kTurboTotalsStart = "Total 0 KB in 0 Files in 0 Folders";
inline constexpr std::string_view kWaitTitle = "Please wait...";
inline constexpr std::string_view kWaitRefreshing = "Please wait, refreshing list...";
}  // namespace salvor::text

// The main frame's commands: id, menu text, accelerator (Qt key text), and the
// prompt (status-bar text, then after "\n" the tool tip).
namespace salvor::text {
struct CommandText {
  unsigned id;
  std::string_view name;
  std::string_view key;
  std::string_view prompt;
};
inline constexpr CommandText kCommands[] = {
    {32771, "&Wizard", "Ctrl+W", "Click here to launch wizard\nWizard"},
    {32773, "Open found &Logical Drive", "Ctrl+Shift+O",
     "Open found logical drives\n Open logical drive"},
    {32832, "Load &Partition Info", "", "Loads a list of found partitions.\nLoad Partition Info"},
    {32772, "Load &Tree Info", "Ctrl+O", "Loads the scan results of a partition.\nLoad Tree Info"},
    {32833, "Save Tree Info", "", "Saves the scan results of a partition\nSave Tree Info"},
    {32834, "Save Partition Info", "", "Saves list of found partitions\nSave Partition Info"},
    {32774, "Find", "Ctrl+F", "Finds specified files/folders\nFind"},
    {32775, "Find Next", "F3", "Finds next matching files/folders\nFind Next"},
    {32776, "Save Checked", "Ctrl+S", "Saves checked files/folders.\n Save Checked"},
    {32778, "Save All", "Ctrl+Shift+S", "Saves all recovered data\nSave All"},
    {32779, "Save Scan Information", "Ctrl+I", "Saves scanned information\nSave Scan Information"},
    {32780, "Stop Current Process", "F4",
     "Stops any disk/file scanning process.\nStop Current Process"},
    {32781, "Turbo Scan", "Ctrl+T", "Searches for lost files/folders\nTurbo Scan"},
    {32783, "Clear Log", "", "Deletes the contents of Process log window"},
    {32784, "Save Log", "", "Saves the contents of process  log window to text file."},
    {32791, "Tip of the Day", "", "Displays tip of the day window "},
    {32819, "Goto Parent", "", "Return to the parent folder\nGoto Parent"},
    {32820, "Set Progress Bar Color", "",
     "Allows to change colour of progress bar.\nSet Progress Bar Color"},
    {32821, "Trawler", "", "Performs search of known file types in physical media\nTrawler "},
    {32787, "Office 2000", "", "Applys Office 2000 theme to application window."},
    {32788, "Office 2003", "", "Applys Office 2003 theme to application window."},
    {32789, "Office XP", "", "Applys Office XP theme to application window."},
    {32790, "Windows XP", "", "Applys Windows XP theme to application window."},
    {32708, "16x16", "", "Displays toolbar window in 16x16 pixels"},
    {32709, "24x24", "", "Displays toolbar window in 24x24 pixels"},
    {32710, "32x32", "", "Displays toolbar window in 32x32 pixels"},
    {32711, "48x48", "", "Displays toolbar window in 48x48 pixels"},
    {60000, "Lar&ge Icons", "", "Displays item using large icon in list view."},
    {60001, "S&mall Icons", "", "Displays items using small icons in list view."},
    {60002, "&List", "", "Displays items in a list"},
    {60003, "&Details", "", "Displays information about each item in the list view"},
    {57667, "&Help", "F1", "Lists help topics\n Help"},
    {57664, "&About", "Ctrl+B", ""},
    {57665, "E&xit", "Alt+F4", "Exit Varnok NTFS Recovery Software.\nExit"},
    {61208, "Cancel Find", "Esc", ""},
};
inline constexpr std::string_view kMenuFile = "&File";
inline constexpr std::string_view kMenuTools = "&Tools";
inline constexpr std::string_view kMenuView = "&View";
inline constexpr std::string_view kMenuThemes = "&Themes";
inline constexpr std::string_view kMenuToolbarSize = "Toolbar &Icon Size";
inline constexpr std::string_view kMenuHelp = "&Help";
inline constexpr std::string_view kAboutTitle = "About Varnok NTFS Data Recovery";
inline constexpr std::string_view kAboutText =
    "Varnok NTFS Data Recovery\n\nRecovers files, folders and partitions from NTFS disks "
    "without writing to them.";
inline constexpr std::string_view kHelpTitle = "Varnok NTFS Data Recovery Help";
inline constexpr std::string_view kTipTitle = "Tip of the Day";
inline constexpr std::string_view kTipShowAtStartUp = "&Show tips at start-up";
inline constexpr std::string_view kTipNext = "&Next Tip";
inline constexpr std::string_view kClose = "Close";
inline constexpr const char* kImageExists = "%s exists; --force replaces it";
}  // namespace salvor::text

// The wizard.
namespace salvor::text {
inline constexpr std::string_view kWizardTitle = "Varnok NTFS Data Recovery Wizard";
inline constexpr std::string_view kRunWizardOnStartup = "&Run wizard on startup";
inline constexpr std::string_view kCloseWizardQuestion = "Do you want to close wizard?";
inline constexpr std::string_view kMyComputer = "My Computer";
inline constexpr std::string_view kSelectOption = "Select appropriate Option";
inline constexpr std::string_view kOptionRecoverDisk = "  Recover &your Data";
inline constexpr std::string_view kOptionRecoverImage = "  Recover your data from disk &image";
inline constexpr std::string_view kOptionCloneDisk = "  &Clone disk";
inline constexpr std::string_view kOptionImageDisk = "  Create &disk Image";
inline constexpr std::string_view kStepSelectDrive = "Step 1: Select Hard Drive";
inline constexpr std::string_view kStepSelectMode = "Step 2: Select appropriate option";
inline constexpr std::string_view kProcessingModes = "Processing Modes";
inline constexpr std::string_view kImageProcessingMode = "Image Processing Mode";
inline constexpr std::string_view kDisplayDefault = "&Display default partition(s)";
inline constexpr std::string_view kSearchLost = "&Search for lost partition(s)";
inline constexpr std::string_view kSelectImageHeading = "Select image to recover data";
inline constexpr std::string_view kSelectImageFile = "Select &Image File";
inline constexpr std::string_view kImageFileTitle = "Image File";
// The image filter: our own images first, then any raw image.
inline constexpr std::string_view kImageFilter =
    "Varnok NTFS   Image File (*.vk2);;Raw disk images (*.img *.dd *.raw *.bin);;All files (*)";
inline constexpr std::string_view kSelectedFilePath = "Selected File Path";
inline constexpr std::string_view kSpaceAvailableHeading = "Spcae available";
inline constexpr std::string_view kFilePathLine = "File Path :";
inline constexpr const char* kSpaceAvailable = "Space Available : %llu bytes";
inline constexpr std::string_view kSelectSourceAndDestination = "Select Source and Destination Disk(s)";
inline constexpr std::string_view kSourceDisks = "S&ource Disk(s) :";
inline constexpr std::string_view kDestinationDisks = "Destination Disk(s)";
inline constexpr std::string_view kSourceDiskLine = "Source Disk # ";
inline constexpr std::string_view kDestinationDiskLine = "Destination Disk # ";
inline constexpr std::string_view kSourceDiskChosen = "Source Disk :";
inline constexpr std::string_view kDestinationDiskChosen = "Destination Disk :";
inline constexpr std::string_view kStepSelectSource = "Step 1: Select source drive";
inline constexpr std::string_view kStepSelectDestination = "Step 2: Select destination path";
inline constexpr std::string_view kSelectDestinationPath = "Select &destination path";
inline constexpr std::string_view kDestinationPathLine = "Destination path :";
inline constexpr const char* kImageDefaultName = "Varnok NTFS Image # %s, %02d-%s-%u";
inline constexpr std::string_view kSelectPartition = "Select the partition to recover";
inline constexpr std::string_view kColumnName = "Name";
inline constexpr std::string_view kColumnStartSector = "Start Sector";
inline constexpr std::string_view kPartitionColumnSize = "Size";
inline constexpr std::string_view kNoLogicalDrives = "No Logical Drives Found";
inline constexpr const char* kSizeKb = "%7.3f KB";
inline constexpr const char* kSizeMb = "%7.3f MB";
inline constexpr const char* kSizeGb = "%7.3f GB";
inline constexpr const char* kSelectedVolumeDetail = "Starting Sector %s, Size %s";
inline constexpr std::string_view kSelectedImage = "Selected: ";
inline constexpr std::string_view kDiskPartitionTable = "Disk Processing :Partition Table";
inline constexpr std::string_view kDiskVolumeScan = "Disk Processing :Logical Volume Scan";
inline constexpr std::string_view kImagePartitionTable = "Image Processing Mode:Partition Table";
inline constexpr std::string_view kImageVolumeScan = "Image Processing Mode:Logical Volume Scan";
inline constexpr std::string_view kSearchingVolumes = "Searching Logical Volumes";
inline constexpr const char* kSectorsRange = "Sectors Range %llu to %llu";
inline constexpr std::string_view kCriticalStructuresNotFound =
    "Critical structures not found.\nPlease cancel wizard and use Turbo Scan\n\nTools->Turbo Scan.";
// Offered beside the message above, so that the user need not leave the
// wizard and look for the menu.
inline constexpr std::string_view kRunTurboScanNow = "Run &Turbo Scan now";
inline constexpr std::string_view kMainPanelIntro = "HDRPlease select appropriate option";
inline constexpr std::string_view kMainPanelText[] = {
    "Recover your Data: find the partitions of a disk, or search it for lost ones, and browse "
    "their files and folders.",
    "Recover your data from disk image: the same on an image file made earlier.",
    "Clone disk: copy a failing disk sector by sector onto another disk first.",
    "Create disk Image: copy a disk sector by sector into an image file first."};
inline constexpr std::string_view kTaskPanelText[4][4] = {
    {"HDRRecover your data from disk",
     "Choose the disk that held the lost data; nothing is ever written to it.",
     "Display default partition(s) lists the NTFS partitions its partition table describes.",
     "Search for lost partition(s) finds volumes whose partition table entry is gone."},
    {"HDRRecover data from disk image",
     "Choose an image file made with Create disk Image or another raw imaging tool.",
     "The image is read exactly like a disk; the disk itself is no longer needed.",
     "Display the partitions it holds or search it for lost ones."},
    {"HDRClone Disk",
     "Choose the failing disk as the source and a disk at least as large as the destination.",
     "Everything on the destination disk is overwritten.",
     "Recover from the clone afterwards, and spare the failing disk."},
    {"HDRCreate disk Image",
     "Choose the disk to copy and where to save its image file.",
     "The image needs as much free space as the disk is large.",
     "Recover from the image afterwards with Recover your data from disk image."}};
inline constexpr std::string_view kDriveSteps[] = {
    "Select the disk in the tree.",
    "Choose Display default partition(s) or Search for lost partition(s), then Next."};
inline constexpr std::string_view kCloneSteps[] = {
    "Select the source disk, then the destination disk.", "Press Finish to start cloning."};
inline constexpr std::string_view kImageDiskSteps[] = {
    "Select the disk to image, then the destination path.", "Press Finish to start imaging."};

// Scan mode and sector range.
inline constexpr std::string_view kDiskScanModeTitle = "Disk Scan Mode";
inline constexpr std::string_view kSelectSearchMethod = "&Select Search Method";
inline constexpr std::string_view kQuickScanOption = "&Quick Scan";
inline constexpr std::string_view kThoroughScanOption = "&Thorough Scan";
inline constexpr std::string_view kScanRangeTitle = "Scan for logical drives";
inline constexpr std::string_view kStartingSector = "St&arting Sector";
inline constexpr std::string_view kEndingSector = "&Ending Sector";
inline constexpr std::string_view kSpecifyRange = "Please specify disk scan range";
inline constexpr std::string_view kScanAreaLegend = "Scan Area";
inline constexpr std::string_view kExcludedAreaLegend = "Excluded Area";

// The lost-partition search dialog.
inline constexpr std::string_view kQuickScanTitle = "Quick Scan";
inline constexpr std::string_view kThoroughScanTitle = "Thorough Scan";
inline constexpr std::string_view kAbortProcess = "&Abort Process";
inline constexpr std::string_view kAbortScanningQuestion = "Do you want to abort scanning?";
inline constexpr std::string_view kStartingLocation = "Starting Location";
inline constexpr const char* kFoundDriveRow = "NTFS logical drive #%d";
inline constexpr const char* kScanningSector = "Scanning sector %llu of %llu";

// The cloning and imaging dialog.
inline constexpr std::string_view kCloningTitle = "Varnok NTFS Disk Cloning";
inline constexpr std::string_view kImagingTitle = "Varnok NTFS Disk Imaging";
inline constexpr std::string_view kStopCloning = "&Stop Cloning";
inline constexpr std::string_view kStopImaging = "&Stop Imaging";
inline constexpr std::string_view kCloningStatus = "Disk Cloning...";
inline constexpr std::string_view kImagingStatus = "Disk Imaging...";
inline constexpr std::string_view kProgressCompleted = "Progress Completed...";
}  // namespace salvor::text
