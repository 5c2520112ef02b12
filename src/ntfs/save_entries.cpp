#include "ntfs/save_entries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <set>
#include <unordered_map>

#include "disk/block_device.h"
#include "disk/disk_info.h"
#include "disk/text_format.h"
#include "disk/texts.h"
#include "ntfs/data_writer.h"
#include "ntfs/destination_check.h"
#include "ntfs/record_links.h"
#include "ntfs/safe_name.h"
#include "ntfs/save_target.h"

namespace salvor {

bool IsExcludedType(std::string_view name, std::span<const std::string> excluded) {
  const std::size_t dot = name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot + 1);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::any_of(excluded.begin(), excluded.end(), [&](std::string_view type) {
    if (type.starts_with('.')) type.remove_prefix(1);  // ".txt" as users write it
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

// Where an item lies: its folder's path from the save's root on the disk,
// and the path that folder got below the destination.
struct ItemPaths {
  std::string source;
  std::string target;
};

class Saver {
 public:
  Saver(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request)
      : state_(state), db_(db), request_(request), host_(state.host()) {
    if (!request.quiet) progress_.emplace(host_, ProgressPhase::kSave, ProgressUnit::kBytes);
  }

  // Hard links are made only where the names of one record are known and
  // `destination` is the folder every saved path is relative to.
  void LinkNamesOfOneRecord(const RecordLinks* links, int destination) {
    links_ = links;
    destination_ = destination;
  }

  SaveSummary& summary() { return summary_; }

  // Saves the tree below `root` into `dir`; false when the walk must end.
  // Folders are levels of an explicit stack rather than recursion: a deep
  // hostile tree cannot exhaust the call stack.
  bool SaveTree(const EntryNode& root, int dir) {
    levels_.clear();
    if (!SaveItem(root, dir, {})) return false;
    while (!levels_.empty()) {
      Level& level = levels_.back();
      if (level.next == level.children.size()) {
        levels_.pop_back();
        continue;
      }
      const EntryNode child = std::move(level.children[level.next++]);
      if (!SaveItem(child, level.dir.get(), level.paths)) return false;
    }
    return true;
  }

  // The file `entry` into `dir`; the name it was created under, or nullopt
  // when it was not created.
  std::optional<std::string> SaveFile(const EntryNode& entry, int dir, const ItemPaths& in = {}) {
    if (IsExcludedType(Utf16ToUtf8(entry.name), request_.excluded_types)) {
      ++summary_.excluded;
      Tell(entry, in, nullptr, SavedOutcome::kExcluded, 0);
      return std::nullopt;
    }
    if (request_.dry_run) {
      ++summary_.files;
      summary_.bytes += entry.size;
      const std::string name = SafeTargetName(entry.name);
      Tell(entry, in, &name, SavedOutcome::kSaved, entry.size);
      return name;
    }
    auto target = CreateTarget(host_, dir, entry.name, false);
    if (!target) {
      ++summary_.skipped;
      Tell(entry, in, nullptr, SavedOutcome::kSkipped, 0);
      return std::nullopt;
    }
    if (target->shortened) ++summary_.renamed;
    const std::string saved_path = Joined(in.target, target->name);
    const bool linked_record = links_ && links_->Names(entry) > 1;
    if (linked_record) {
      auto first = saved_.find(entry.record_sector);
      if (first != saved_.end() && LinkTo(first->second, dir, *target)) {
        ++summary_.linked;
        Tell(entry, in, &target->name, CreatedOutcome(entry, target->name), entry.size);
        return target->name;
      }
    }
    FdSink sink(host_, target->fd.get());
    const SaveDataResult data = SaveFileData(state_, entry.record_sector, sink,
                                             progress_ ? &*progress_ : nullptr);
    if (data.stopped) {
      // Half a file would pass for the whole one: it goes.
      target->fd.Reset();
      unlinkat(dir, target->name.c_str(), 0);
      ++summary_.stopped_files;
      return std::nullopt;
    }
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
      if (linked_record) saved_.try_emplace(entry.record_sector, saved_path);
    } else {
      ++summary_.failed;
      if (!request_.quiet)
        host_.AddLogEntry({target->name, std::string(text::kFileSavingFailed), {}, LogKind::kFailure});
    }
    Tell(entry, in, &target->name, data.ok ? CreatedOutcome(entry, target->name) : SavedOutcome::kFailed,
         data.bytes);
    return target->name;
  }

 private:
  // A folder being written: its open directory, the children still to do
  // (files first, then subfolders, as the database lists them) and its paths.
  struct Level {
    UniqueFd dir;
    std::vector<EntryNode> children;
    std::size_t next = 0;
    ItemPaths paths;
  };

  // Makes the just created, empty `target` in `dir` a hard link to the file
  // saved at `first` instead. False, with `target` open again and empty,
  // when the file system cannot link there (another file system below the
  // destination, one without links, a path too long): the data is then
  // written again.
  bool LinkTo(const std::string& first, int dir, CreatedTarget& target) {
    target.fd.Reset();
    if (unlinkat(dir, target.name.c_str(), 0) == 0 &&
        linkat(destination_, first.c_str(), dir, target.name.c_str(), 0) == 0)
      return true;
    int fd = openat(dir, target.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0666);
    if (fd < 0) {
      const int error = errno;
      host_.ShowError(ErrorText(error));
      throw UserException(ErrorText(error));
    }
    target.fd = UniqueFd(fd);
    return false;
  }

  static std::string Joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
  }

  static SavedOutcome CreatedOutcome(const EntryNode& entry, const std::string& name) {
    return name == SafeTargetName(entry.name) ? SavedOutcome::kSaved : SavedOutcome::kRenamed;
  }

  void Tell(const EntryNode& entry, const ItemPaths& in, const std::string* created,
            SavedOutcome outcome, std::uint64_t bytes) {
    if (!request_.on_item) return;
    request_.on_item(SavedItem{entry, Joined(in.source, Utf16ToUtf8(entry.name)),
                               created ? Joined(in.target, *created) : std::string(), outcome, bytes});
  }

  // One entry of the walk; a folder with children adds a level. False when
  // the walk must end (stopped).
  bool SaveItem(const EntryNode& entry, int dir, const ItemPaths& in) {
    if (entry.folder())
      SaveFolder(entry, dir, in);
    else
      SaveFile(entry, dir, in);
    if (!state_.run().Checkpoint()) {
      summary_.stopped = true;
      return false;
    }
    return true;
  }

  void SaveFolder(const EntryNode& entry, int dir, const ItemPaths& in) {
    // A damaged database could list a folder inside itself: each children
    // list is entered once.
    if (!entered_.insert(entry.child_block).second) return;
    std::optional<CreatedTarget> target =
        request_.dry_run ? CreatedTarget{SafeTargetName(entry.name), UniqueFd(), false}
                         : CreateTarget(host_, dir, entry.name, true);
    if (!target) {
      ++summary_.skipped;
      Tell(entry, in, nullptr, SavedOutcome::kSkipped, 0);
      return;
    }
    ++summary_.folders;
    if (target->shortened) ++summary_.renamed;
    Tell(entry, in, &target->name, CreatedOutcome(entry, target->name), 0);
    const ItemPaths below{Joined(in.source, Utf16ToUtf8(entry.name)), Joined(in.target, target->name)};
    ChildList list = db_.ListChildren(entry.child_block, true);
    if (!list.error.empty()) {
      // One message for the folder, however many children it lost.
      host_.ShowError(list.error);
      throw UserException(list.error);
    }
    if (list.children.empty()) return;  // created, not entered
    levels_.push_back({std::move(target->fd), std::move(list.children), 0, below});
  }

  EngineState& state_;
  ScanDatabaseReader& db_;
  const SaveRequest& request_;
  Host& host_;
  SaveSummary summary_;
  std::optional<ProgressReporter> progress_;
  std::set<std::uint32_t> entered_;
  std::vector<Level> levels_;
  const RecordLinks* links_ = nullptr;
  int destination_ = -1;
  // Where the first name of each linked record was saved, by record sector.
  std::unordered_map<std::uint64_t, std::string> saved_;
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
  auto dir = request.dry_run ? std::optional<UniqueFd>(UniqueFd())
                             : OpenTargetFolder(state, request.destination);
  if (!dir) {
    summary.abandoned = true;
    return summary;
  }
  const RecordLinks links = RecordLinks::Count(db);
  saver.LinkNamesOfOneRecord(&links, dir->get());
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
    auto name = saver.SaveFile(*node, dir->get(), {});
    if (!name) return std::nullopt;
    return folder / *name;
  } catch (const UserException&) {
    return std::nullopt;
  }
}

}  // namespace salvor
