#pragma once
// What the desktop program's main frame knows about itself, and which of its
// commands that state allows. Kept free of any toolkit so that the rules can
// be checked without a window.

#include <cstdint>
#include <string>
#include <string_view>

#include "disk/host.h"

namespace salvor {

enum class CommandId : unsigned {
  kWizard = 32771,
  kOpenLogicalDrive = 32773,
  kLoadPartitionInfo = 32832,
  kLoadTreeInfo = 32772,
  kSaveTreeInfo = 32833,
  kSavePartitionInfo = 32834,
  kFind = 32774,
  kFindNext = 32775,
  kSaveChecked = 32776,
  kSaveAll = 32778,
  kSaveScanInformation = 32779,
  kStopProcess = 32780,
  kTurboScan = 32781,
  kClearLog = 32783,
  kSaveLog = 32784,
  kTipOfTheDay = 32791,
  kGotoParent = 32819,
  kProgressBarColor = 32820,
  kTrawler = 32821,
  kThemeOffice2000 = 32787,
  kThemeOffice2003 = 32788,
  kThemeOfficeXp = 32789,
  kThemeWindowsXp = 32790,
  kToolbar16 = 32708,
  kToolbar24 = 32709,
  kToolbar32 = 32710,
  kToolbar48 = 32711,
  kListLargeIcons = 60000,
  kListSmallIcons = 60001,
  kListList = 60002,
  kListDetails = 60003,
  kHelp = 57667,
  kAbout = 57664,
  kExit = 57665,
  kCancelFind = 61208,
};

struct FrameState {
  bool process_running = false;
  bool busy = false;                // a scan, processing or copy until ProcessFinished
  bool scan_results_exist = false;  // results not saved since they were made
  bool tree_ready = false;
  bool turbo_scan_done = false;  // since the wizard last finished
  bool structures_missing = false;
  // What the views and dialogs report.
  bool list_refreshing = false;
  bool tree_has_items = false;
  bool folder_tree_mode = false;
  bool copy_dialog_open = false;
  bool has_last_found = false;
  bool partitions_listed = false;
  bool current_has_parent = false;
  // The drive number of the chosen volume and the current process's entry.
  unsigned drive = 0;
  LogEntry current_entry;
};

// Whether the command may run now (menus and tool bar follow this).
bool CommandEnabled(CommandId id, const FrameState& state);

// The commands that do nothing while the file list is being filled.
bool IgnoredWhileListRefreshes(CommandId id);

// The number at the end of a volume's name ("NTFS logical drive 12" -> 12),
// 0 when the name ends in no number.
unsigned DriveNumberFromName(std::string_view name);

// done * 100 / total, truncated; 0 for an empty total.
int ProgressPercent(std::uint64_t done, std::uint64_t total);
// "Scanning :42%".
std::string ProgressText(std::string_view label, int percent);

}  // namespace salvor
