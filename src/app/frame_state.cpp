#include "app/frame_state.h"

#include <cctype>

#include "disk/text_format.h"
#include "disk/texts.h"

namespace salvor {

bool CommandEnabled(CommandId id, const FrameState& s) {
  const bool idle = !s.process_running;
  const bool browsable = s.tree_has_items && idle && !s.busy;
  switch (id) {
    case CommandId::kWizard:
    case CommandId::kOpenLogicalDrive:
    case CommandId::kLoadPartitionInfo:
    case CommandId::kLoadTreeInfo:
    case CommandId::kTrawler:
      return idle;
    case CommandId::kStopProcess:
      return s.process_running && !s.copy_dialog_open;
    case CommandId::kTurboScan:
      // A second process never starts beside a running one, even when the
      // structures are missing.
      if (!idle) return false;
      return s.structures_missing || (s.tree_ready && !s.busy && s.tree_has_items &&
                                      !s.turbo_scan_done && !s.folder_tree_mode);
    case CommandId::kSavePartitionInfo:
      return s.partitions_listed && idle;
    case CommandId::kFind:
      return browsable && !s.folder_tree_mode;
    case CommandId::kFindNext:
      return s.has_last_found && idle && !s.busy;
    case CommandId::kSaveAll:
    case CommandId::kSaveChecked:
    case CommandId::kSaveTreeInfo:
      return browsable;
    case CommandId::kSaveScanInformation:
      return false;
    case CommandId::kGotoParent:
      return idle && s.current_has_parent && !s.busy;
    default:
      return true;
  }
}

bool IgnoredWhileListRefreshes(CommandId id) {
  switch (id) {
    case CommandId::kWizard:
    case CommandId::kOpenLogicalDrive:
    case CommandId::kFind:
    case CommandId::kSaveAll:
    case CommandId::kGotoParent:
    case CommandId::kTrawler:
    case CommandId::kTurboScan:
    case CommandId::kExit:
      return true;
    default:
      return false;
  }
}

unsigned DriveNumberFromName(std::string_view name) {
  std::size_t end = name.size();
  std::size_t begin = end;
  while (begin > 0 && std::isdigit(static_cast<unsigned char>(name[begin - 1]))) --begin;
  unsigned number = 0;
  for (std::size_t i = begin; i < end && number < 100000000; ++i)
    number = number * 10 + static_cast<unsigned>(name[i] - '0');
  return number;
}

int ProgressPercent(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  const double percent = static_cast<double>(done) * 100.0 / static_cast<double>(total);
  return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

std::string ProgressText(std::string_view label, int percent) {
  return Format(text::kProgressDisplay, std::string(label).c_str(), percent);
}

}  // namespace salvor
