#pragma once
// The desktop program's two tree-building background processes, run on its
// worker thread: the internal file system processing (the MFT walk) and the
// Turbo Scan. Both call the volume processing operation, then count the new
// tree's totals, so that the views can open their own reader afterwards.

#include <filesystem>
#include <string_view>

#include "app/totals_text.h"
#include "disk/run_control.h"
#include "ntfs/engine_state.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

// What a process asks of the frame while it runs. The desktop program
// answers each call on its own thread before the call returns.
class ProcessFrame {
 public:
  virtual ~ProcessFrame() = default;
  virtual void SetProgressLabel(std::string_view label) = 0;
  // Empty the folder tree and the file list.
  virtual void ClearViews() = 0;
};

struct ProcessJob {
  EngineState& state;
  RunControl& run;  // its pause gate is passed before the work starts
  std::filesystem::path folder;  // the locked database folder
  unsigned drive = 0;            // the chosen volume's number in the list
  ProcessFrame& frame;
};

struct ProcessOutcome {
  bool tree_readable = false;  // the database was rebuilt and reopens for reading
  bool completed = false;      // the walk ran to its end (not stopped)
  Totals totals;               // every entry below the top, when readable
};

// Walks the chosen volume's MFT into a new database.
ProcessOutcome RunFileSystemProcessing(ProcessJob& job);
// Reads the whole chosen volume into a new database; tells the user how it
// ended ("Turbo Scan Completed" / "Turbo Scan aborted").
ProcessOutcome RunTurboScanProcess(ProcessJob& job);

// Counts the files, folders and bytes below the top entry breadth first, one
// folder's children at a time, reporting (entries, folders done + 1) as
// progress.
Totals CountTreeTotals(ScanDatabaseReader& reader, Host& host);

}  // namespace salvor
