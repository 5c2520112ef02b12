#pragma once
// The bodies of the desktop program's two tree-building background
// processes: the internal file system processing (the MFT walk) and the
// Turbo Scan. Each runs on the worker thread, logs every step through the
// host, and leaves the scan database closed and the totals of the new tree
// counted, ready for the views to open their own reader.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/totals_text.h"
#include "disk/run_control.h"
#include "ntfs/engine_state.h"
#include "ntfs/scan_database.h"

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
  RunControl& run;   // the pause gate is passed between the steps too
  ScanDatabase& db;  // the writer; closed again when the process ends
  std::filesystem::path folder;
  unsigned drive = 0;  // for the Turbo Scan's log lines
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
// progress. `db` must be open for reading.
Totals CountTreeTotals(ScanDatabase& db, Host& host);

}  // namespace salvor
