#include "app/process_log.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "disk/texts.h"

namespace salvor {
namespace {

constexpr const char* kCWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kCMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Saved logs are read on Windows too: every line break is CR LF.
constexpr const char* kLineBreak = "\r\n";

void AppendCrLf(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\n')
      out += kLineBreak;
    else
      out += c;
  }
}

void AppendRule(std::string& out) {
  out += kLineBreak;
  out.append(68, '-');
}

}  // namespace

std::string LogTimeText(const std::tm& t) {
  int weekday = t.tm_wday >= 0 && t.tm_wday < 7 ? t.tm_wday : 0;
  int month = t.tm_mon >= 0 && t.tm_mon < 12 ? t.tm_mon : 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %s %02d %d %02d:%02d:%02d", kCWeekdays[weekday],
                kCMonths[month], t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return buf;
}

void AddLogEntry(ProcessLog& log, LogEntry entry, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  entry.time = LogTimeText(local);
  log.entries.push_back(std::move(entry));
}

std::string LogFileText(std::span<const LogEntry> entries) {
  std::string out;
  AppendCrLf(out, text::kLogFileHeader);
  AppendRule(out);
  for (const LogEntry& e : entries) {
    out += kLineBreak;
    AppendCrLf(out, e.text);
    out += kLineBreak;
    out += "\t\t";
    AppendCrLf(out, e.detail);
    out += kLineBreak;
    out += "\t\t";
    AppendCrLf(out, e.time);
    AppendRule(out);
  }
  return out;
}

bool SaveLogFile(const std::filesystem::path& path, std::span<const LogEntry> entries,
                 Host& host) {
  std::string content = LogFileText(entries);
  bool created = false;
  bool ok = false;
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    created = static_cast<bool>(file);
    if (created) {
      file.write(content.data(), static_cast<std::streamsize>(content.size()));
      file.flush();
      ok = static_cast<bool>(file);
    }
  }
  if (!ok) {
    // Only a file we created and could not fill is removed; a path we could
    // not open at all may be someone else's file.
    std::error_code ec;
    if (created) std::filesystem::remove(path, ec);
    host.ShowMessage(MessageIcon::kInformation, text::kCaptionError, text::kErrorCreatingLogFile);
  }
  return ok;
}

}  // namespace salvor
