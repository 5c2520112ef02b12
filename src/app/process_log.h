#pragma once
// The process log: the list of log entries in the order they were added, the
// time text each entry gets when it is added, and the log's text-file form.

#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "disk/host.h"

namespace salvor {

struct ProcessLog {
  std::vector<LogEntry> entries;
};

// "Wed Jan 02 1980 02:03:55": the C library's date text with the year moved
// in front of the time. Locale-independent.
std::string LogTimeText(const std::tm& local_time);

// Appends the entry, stamped with the time text of `now` (local time).
void AddLogEntry(ProcessLog& log, LogEntry entry, std::time_t now);

// The saved form of the entries: header, a rule, then per entry its name,
// description and time, each followed by a rule. Lines end in CR LF.
std::string LogFileText(std::span<const LogEntry> entries);

// Writes LogFileText to `path`, replacing the file. When the file cannot be
// created or written, tells the user ("Error creating log file") and returns
// false; a partly written file is removed.
bool SaveLogFile(const std::filesystem::path& path, std::span<const LogEntry> entries,
                 Host& host);

}  // namespace salvor
