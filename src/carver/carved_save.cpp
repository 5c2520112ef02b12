#include "carver/carved_save.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "carver/carved_copy.h"
#include "carver/carved_name.h"
#include "carver/folder_handle.h"
#include "carver/output_folder.h"
#include "carver/save_selection.h"
#include "carver/texts.h"
#include "disk/block_device.h"
#include "disk/text_format.h"

namespace salvor::carver {
namespace {

namespace fs = std::filesystem;

// A folder being written to: its handle and the path it was reached by (the
// path only names staged files to the ZIP writer and the result).
struct Level {
  int fd = -1;
  fs::path path;
};

enum class CreateOutcome { kCreated, kSkipped, kAbandonLevel };

struct Created {
  CreateOutcome outcome = CreateOutcome::kCreated;
  std::string name;  // the name it got in its folder
  Level where;       // the folder it was created in
  bool orphan = false;
  UniqueFd handle;
};

std::string Prefixed(unsigned number, const std::string& name) {
  return "#" + std::to_string(number) + name;
}

int CreateNewFile(int parent, const std::string& name, UniqueFd& file) {
  const int fd = ::openat(parent, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  file = UniqueFd(fd);
  return 0;
}

std::string ErrorNumText(int error) { return Format(text::kErrorNum, static_cast<unsigned>(error)); }

class SaveWalk {
 public:
  SaveWalk(SectorReader& reader, const SaveSettings& settings, ArchiveSeries& series, Host& host,
           RunControl& run, const TargetListener& on_target)
      : reader_(reader), settings_(settings), series_(series), host_(host), run_(run),
        on_target_(on_target) {}

  SaveResult Run(const FoundTree& tree) {
    int error = 0;
    destination_ = OpenFolderPath(settings_.destination.string(), error);
    if (!destination_.valid()) {
      host_.ShowMessage(MessageIcon::kError, text::kCaptionError, text::kFailedToWriteDestination);
      return Failed();
    }
    std::optional<OutputFolder> out = CreateOutputFolder(destination_.get(), host_);
    if (!out) return Failed();
    result_.output_folder = settings_.destination / out->name;
    if (settings_.compress) {
      if (!PrepareArchives(out->name)) {
        RemoveFolderTree(destination_.get(), out->name);
        return Failed();
      }
    } else {
      Target(result_.output_folder);
    }
    items_total_ = CountItemsToSave(*tree.root);
    try {
      Walk(*tree.root, Level{out->folder.get(), result_.output_folder});
    } catch (const DiskDisconnected&) {
      failed_ = true;  // the reader has told the user
    }
    if (settings_.compress) {
      if (!FinishSeries(series_)) Fail(text::kFailedToCreateZip);
      out->folder = UniqueFd();
      RemoveFolderTree(destination_.get(), out->name);
    }
    if (failed_) result_.status = SaveStatus::kFailed;
    else if (!run_.IsRunning()) result_.status = SaveStatus::kStopped;
    return result_;
  }

 private:
  SaveResult Failed() {
    result_.status = SaveStatus::kFailed;
    return result_;
  }

  void Fail(std::string_view message) {
    host_.ShowMessage(MessageIcon::kError, text::kCaptionError, message);
    failed_ = true;
    ended_ = true;
  }

  void Target(const fs::path& target) {
    if (on_target_) on_target_(target);
  }

  // Archives lie beside the staging folder; when burning, in the cache's own
  // archive folder, which is what goes onto the disc.
  bool PrepareArchives(const std::string& staging_name) {
    result_.archive_folder = settings_.destination;
    if (settings_.mode == SaveMode::kBurn) {
      UniqueFd folder;
      const std::string name(text::kBurnArchiveFolder);
      if (const int error = OpenOrMakeSubfolder(destination_.get(), name, folder); error != 0) {
        host_.ShowError(ErrorText(error));
        return false;
      }
      result_.archive_folder /= name;
    }
    series_.stem = (result_.archive_folder / staging_name).string();
    return true;
  }

  void Walk(const FoundNode& node, const Level& level) {
    for (const auto& child : node.children) {
      run_.WaitWhilePaused();
      if (ended_ || !run_.IsRunning()) return;
      if (!child->checked) continue;
      std::string name = CarvedTargetName(child->name);
      if (settings_.mode == SaveMode::kBurn && name.size() > kBurnNameLimit) {
        std::optional<std::string> answer = host_.AskRename(name, text::kFileNameTooLong);
        if (!answer) continue;
        name = CarvedTargetName(*answer);
      }
      Created created = Create(level, name, child->IsFolder());
      if (created.outcome == CreateOutcome::kSkipped) continue;
      if (created.outcome == CreateOutcome::kAbandonLevel) return;
      ++result_.items_saved;
      host_.Progress(result_.items_saved, items_total_);
      if (!child->IsFolder()) {
        SaveFile(*child, created);
      } else if (created.orphan) {
        Walk(*child, orphan_level_);  // the rest of an orphaned folder lands beside it
      } else {
        Walk(*child, Level{created.handle.get(), level.path / created.name});
      }
    }
  }

  // Creates the file or folder, trying "#0name", "#1name", ... while the name
  // is taken, and "Orphan Files" when the folder cannot take the name.
  Created Create(const Level& level, std::string name, bool folder) {
    Created created;
    created.where = level;
    std::string attempt = name;
    unsigned prefix = 0;
    int error = EEXIST;
    for (unsigned tries = 0; tries < kNameTries; ++tries) {
      error = folder ? MakeSubfolder(created.where.fd, attempt, created.handle)
                     : CreateNewFile(created.where.fd, attempt, created.handle);
      if (error == 0) {
        created.name = attempt;
        return created;
      }
      if (error == ENOENT || error == ENAMETOOLONG) {
        if (!OpenOrphanFolder()) {
          created.outcome = CreateOutcome::kAbandonLevel;
          return created;
        }
        // Within "Orphan Files" only a new name can help.
        if (name.size() >= kOrphanNameLimit || created.orphan) {
          std::optional<std::string> answer = host_.AskRename(name, text::kFileNameTooLong);
          if (!answer) {
            created.outcome = CreateOutcome::kSkipped;
            return created;
          }
          name = CarvedTargetName(*answer);
        }
        created.where = orphan_level_;
        created.orphan = true;
      } else if (error != EEXIST) {
        break;
      }
      attempt = Prefixed(prefix++, name);
    }
    host_.ShowMessage(MessageIcon::kError, "", ErrorNumText(error));
    failed_ = true;
    created.outcome = CreateOutcome::kAbandonLevel;
    return created;
  }

  // "Orphan Files" inside the destination, made once per save.
  bool OpenOrphanFolder() {
    if (orphan_.valid()) return true;
    const std::string name(text::kOrphanFiles);
    if (const int error = OpenOrMakeSubfolder(destination_.get(), name, orphan_); error != 0) {
      Fail(ErrorText(error));
      return false;
    }
    orphan_level_ = Level{orphan_.get(), settings_.destination / name};
    return true;
  }

  void SaveFile(const FoundNode& node, Created& created) {
    const CopyResult copy = CopyFileData(reader_, node, created.handle.get(), run_);
    const int closed = created.handle.Reset();
    const int error = copy.write_error != 0 ? copy.write_error : closed;
    if (copy.stopped || error != 0) {
      // A cut-off copy would pass for a recovered file.
      ::unlinkat(created.where.fd, created.name.c_str(), 0);
      if (error != 0) Fail(ErrorText(error));
      return;
    }
    if (!settings_.compress) {
      ++result_.files_saved;
      return;
    }
    Archive(node, created);
  }

  void Archive(const FoundNode& node, const Created& staged) {
    PassTakenArchiveNumbers();
    const ArchiveAddResult added =
        AddToSeries(series_, staged.name, staged.where.path / staged.name, node.length);
    const int error = errno;
    if (added.new_archive && series_.current) {
      result_.archives.push_back(ArchivePath(series_, series_.counter));
      Target(result_.archives.back());
    }
    bool moved = false;
    switch (added.status) {
      case ArchiveStatus::kAdded:
        ++result_.files_saved;
        break;
      case ArchiveStatus::kTooLarge:
        if (host_.AskYesNo("", staged.name + std::string(text::kCannotSaveCompressed)))
          moved = KeepUncompressed(staged);
        break;
      case ArchiveStatus::kCreateFailed:
        Fail(text::kFailedToCreateZip);
        break;
      case ArchiveStatus::kSourceUnreadable:
      case ArchiveStatus::kWriteFailed:
        Fail(ErrorText(error != 0 ? error : EIO));
        break;
    }
    if (!moved) ::unlinkat(staged.where.fd, staged.name.c_str(), 0);
  }

  // The ZIP writer creates an archive over whatever has its name; numbers
  // that an earlier save already used are passed over instead.
  void PassTakenArchiveNumbers() {
    std::error_code ec;
    while (fs::exists(fs::symlink_status(ArchivePath(series_, series_.counter + 1), ec)))
      ++series_.counter;
  }

  // Moves a staged file that no archive can hold into the destination itself,
  // never over an existing file.
  bool KeepUncompressed(const Created& staged) {
    std::string target = staged.name;
    for (unsigned prefix = 0; prefix < kNameTries; ++prefix) {
      if (::renameat2(staged.where.fd, staged.name.c_str(), destination_.get(), target.c_str(),
                      RENAME_NOREPLACE) == 0) {
        ++result_.files_saved;
        return true;
      }
      if (errno != EEXIST) break;
      target = Prefixed(prefix, staged.name);
    }
    Fail(ErrorText(errno));
    return false;
  }

  SectorReader& reader_;
  const SaveSettings& settings_;
  ArchiveSeries& series_;
  Host& host_;
  RunControl& run_;
  const TargetListener& on_target_;
  UniqueFd destination_;
  UniqueFd orphan_;
  Level orphan_level_;
  SaveResult result_;
  std::uint64_t items_total_ = 0;
  bool failed_ = false;  // something was not saved: never reported as a success
  bool ended_ = false;   // a failure that ends the whole save
};

}  // namespace

SaveResult SaveCarvedFiles(const FoundTree& tree, SectorReader& reader, const SaveSettings& settings,
                           ArchiveSeries& series, Host& host, RunControl& run,
                           const TargetListener& on_target) {
  return SaveWalk(reader, settings, series, host, run, on_target).Run(tree);
}

}  // namespace salvor::carver
