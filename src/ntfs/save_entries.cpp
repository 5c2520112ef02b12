#include "ntfs/save_entries.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "disk/block_device.h"
#include "disk/disk_info.h"
#include "disk/text_format.h"
#include "disk/texts.h"
#include "ntfs/data_writer.h"
#include "ntfs/destination_check.h"
#include "ntfs/save_target.h"

namespace salvor {

bool IsExcludedType(std::string_view name, std::span<const std::string> excluded) {
  const std::size_t dot = name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot + 1);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::any_of(excluded.begin(), excluded.end(), [&](const std::string& type) {
    return type.size() == extension.size() &&
           std::equal(type.begin(), type.end(), extension.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
  });
}

namespace {

// Midnight (UTC) of a DOS date; nullopt for a date that was never set or
// cannot be one.
std::optional<timespec> DosDateMidnight(std::uint16_t dos) {
  using namespace std::chrono;
  const std::optional<DosDate> fields = DecodeDosDate(dos);
  if (!fields) return std::nullopt;
  const year_month_day date{year{static_cast<int>(fields->year)}, month{fields->month},
                            day{fields->day}};
  if (!date.ok()) return std::nullopt;  // 31 April, say
  timespec t{};
  t.tv_sec = static_cast<time_t>(sys_seconds{sys_days{date}}.time_since_epoch().count());
  return t;
}

// The last-access date becomes the modification time; access time stays as
// the system set it.
void SetFileTimes(int fd, const EntryNode& entry) {
  auto modified = DosDateMidnight(entry.access_date);
  if (!modified) return;
  const timespec times[2] = {{0, UTIME_OMIT}, *modified};
  futimens(fd, times);  // a file system without times keeps the data all the same
}

class Saver {
 public:
  Saver(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request)
      : state_(state), db_(db), request_(request), host_(state.host()) {}

  SaveSummary& summary() { return summary_; }

  // Saves the tree below `root` into `dir`; false when the walk must end.
  // Folders are levels of an explicit stack rather than recursion: a deep
  // hostile tree cannot exhaust the call stack.
  bool SaveTree(const EntryNode& root, int dir) {
    levels_.clear();
    if (!SaveItem(root, dir)) return false;
    while (!levels_.empty()) {
      Level& level = levels_.back();
      if (level.next == level.children.size()) {
        levels_.pop_back();
        continue;
      }
      const EntryNode child = std::move(level.children[level.next++]);
      if (!SaveItem(child, level.dir.get())) return false;
    }
    return true;
  }

  // The file `entry` into `dir`; the name it was created under, or nullopt
  // when it was not created.
  std::optional<std::string> SaveFile(const EntryNode& entry, int dir) {
    if (IsExcludedType(Utf16ToUtf8(entry.name), request_.excluded_types)) {
      ++summary_.excluded;
      return std::nullopt;
    }
    auto target = CreateTarget(host_, dir, entry.name, false);
    if (!target) {
      ++summary_.skipped;
      return std::nullopt;
    }
    FdSink sink(host_, target->fd.get());
    const SaveDataResult data =
        SaveFileData(state_, entry.record_sector, sink, request_.quiet ? nullptr : &host_);
    sink.Finish();
    SetFileTimes(target->fd.get(), entry);
    if (int error = target->fd.Reset()) {
      // Some file systems report a full disk only when the file is closed.
      host_.ShowError(ErrorText(error));
      throw UserException(ErrorText(error));
    }
    summary_.bytes += data.bytes;
    if (data.ok) {
      ++summary_.files;
    } else {
      ++summary_.failed;
      if (!request_.quiet)
        host_.AddLogEntry({target->name, std::string(text::kFileSavingFailed), {}, LogKind::kFailure});
    }
    return target->name;
  }

 private:
  // A folder being written: its open directory and the children still to do
  // (files first, then subfolders, as the database lists them).
  struct Level {
    UniqueFd dir;
    std::vector<EntryNode> children;
    std::size_t next = 0;
  };

  // One entry of the walk; a folder with children adds a level. False when
  // the walk must end (stopped).
  bool SaveItem(const EntryNode& entry, int dir) {
    if (entry.folder())
      SaveFolder(entry, dir);
    else
      SaveFile(entry, dir);
    if (!state_.run().IsRunning()) {
      summary_.stopped = true;
      return false;
    }
    return true;
  }

  void SaveFolder(const EntryNode& entry, int dir) {
    // A damaged database could list a folder inside itself: each children
    // list is entered once.
    if (!entered_.insert(entry.child_block).second) return;
    auto target = CreateTarget(host_, dir, entry.name, true);
    if (!target) {
      ++summary_.skipped;
      return;
    }
    ++summary_.folders;
    ChildList list = db_.ListChildren(entry.child_block, true);
    if (!list.error.empty()) {
      // One message for the folder, however many children it lost.
      host_.ShowError(list.error);
      throw UserException(list.error);
    }
    if (list.children.empty()) return;  // created, not entered
    levels_.push_back({std::move(target->fd), std::move(list.children), 0});
  }

  EngineState& state_;
  ScanDatabaseReader& db_;
  const SaveRequest& request_;
  Host& host_;
  SaveSummary summary_;
  std::set<std::uint32_t> entered_;
  std::vector<Level> levels_;
};

// The destination, open, and not on the source disk; nullopt after showing why.
std::optional<UniqueFd> OpenTargetFolder(EngineState& state, const std::string& path) {
  int error = 0;
  auto dir = OpenDestination(path, &error);
  if (!dir) {
    state.host().ShowError(ErrorText(error));
    return std::nullopt;
  }
  if (state.source.device() && DestinationOnSource(dir->get(), *state.source.device())) {
    state.host().ShowError(text::kDestinationOnSource);
    return std::nullopt;
  }
  return dir;
}

}  // namespace

SaveSummary SaveEntries(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request) {
  Saver saver(state, db, request);
  SaveSummary& summary = saver.summary();
  auto dir = OpenTargetFolder(state, request.destination);
  if (!dir) {
    summary.abandoned = true;
    return summary;
  }
  try {
    for (auto root = request.entries.rbegin(); root != request.entries.rend(); ++root) {
      std::optional<EntryNode> entry = db.ReadEntry(*root);
      if (!entry) {
        if (!db.error().empty()) state.host().ShowError(db.error());
        summary.abandoned = true;
        break;
      }
      if (!saver.SaveTree(*entry, dir->get())) break;
    }
  } catch (const UserException&) {
    summary.abandoned = true;  // the error has been shown where it happened
  }
  return summary;
}

std::optional<std::filesystem::path> ExtractFileQuietly(EngineState& state, ScanDatabaseReader& db,
                                                        std::uint32_t entry,
                                                        const std::filesystem::path& folder) {
  SaveRequest request;
  request.entries = {entry};
  request.destination = folder.string();
  request.quiet = true;
  auto dir = OpenTargetFolder(state, request.destination);
  if (!dir) return std::nullopt;
  try {
    std::optional<EntryNode> node = db.ReadEntry(entry);
    if (!node || node->folder()) return std::nullopt;
    Saver saver(state, db, request);
    auto name = saver.SaveFile(*node, dir->get());
    if (!name) return std::nullopt;
    return folder / *name;
  } catch (const UserException&) {
    return std::nullopt;
  }
}

}  // namespace salvor
