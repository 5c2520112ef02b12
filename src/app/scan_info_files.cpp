#include "app/scan_info_files.h"
#include "disk/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "app/mapped_file.h"
#include "app/scan_info_format.h"
#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/destination_check.h"
#include "ntfs/scan_database.h"

namespace salvor {
namespace {

constexpr std::size_t kCopyPiece = 1 << 20;

void Log(Host& host, std::string text, std::string detail, LogKind kind) {
  host.AddLogEntry({std::move(text), std::move(detail), "", kind});
}

std::string FolderOf(const std::filesystem::path& path) {
  return std::filesystem::absolute(path).parent_path().string();
}

// Appends one database file behind its separator and length. 0 or an errno.
int CopySection(int out, const std::filesystem::path& from) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  int error = 0;
  struct stat st {};
  if (fstat(in, &st) != 0) error = errno;
  auto length = static_cast<std::uint64_t>(st.st_size);
  if (!error && length > kScanInfoSectionLimit) error = EFBIG;
  if (!error) error = WriteFully(out, SectionHeader(length));
  std::vector<std::uint8_t> piece(kCopyPiece);
  for (std::uint64_t left = length; !error && left != 0;) {
    ssize_t n = read(in, piece.data(), std::min<std::uint64_t>(piece.size(), left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;  // the file shrank under us: the length is wrong
      break;
    }
    left -= static_cast<std::uint64_t>(n);
    error = WriteFully(out, std::span(piece).first(static_cast<std::size_t>(n)));
  }
  close(in);
  return error;
}

// Writes a scan information file: `head`, then the database files when a
// folder is given. A file that is not written whole is removed. 0 or an errno.
int WriteScanInfo(const std::filesystem::path& path, std::span<const std::uint8_t> head,
                  const std::filesystem::path* database_folder) {
  int out = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) return errno;
  int error = WriteFully(out, head);
  if (database_folder)
    for (const char* name : {kTreeFileName, kEntryFileName, kNameFileName})
      if (!error) error = CopySection(out, *database_folder / name);
  if (!error && fsync(out) != 0 && errno != EINVAL) error = errno;
  if (close(out) != 0 && !error) error = errno;
  if (error) unlink(path.c_str());
  return error;
}

// Scan results saved onto the disk being recovered would overwrite what is
// still to be recovered.
bool OnSource(const EngineState& state, const std::filesystem::path& path) {
  if (!state.source.device()) return false;
  int dir = open(std::filesystem::absolute(path).parent_path().c_str(),
                 O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;  // creating the file will fail and say why
  bool on_source = DestinationOnSource(dir, *state.source.device());
  close(dir);
  return on_source;
}

// True when `path` names the medium `source` reads.
bool NamesSource(const std::string& path, const BlockDevice& source) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  if (S_ISBLK(st.st_mode)) return source.IsBlockDevice() && st.st_rdev == source.DeviceId();
  return !source.IsBlockDevice() && st.st_dev == source.DeviceId() &&
         st.st_ino == source.Inode();
}

// The source as the file stores it: its full path, so that the file can be
// loaded from any folder. The path must fit the record whole and still name
// the open source (a cut path would name something else). 0 or an errno.
int SourceScanInfo(const EngineState& state, DiskScanInfo& info) {
  info = {state.source.info(), state.partitions};
  std::string path = std::filesystem::absolute(Utf16ToUtf8(info.disk.device_path)).string();
  info.disk.device_path = Utf8ToUtf16(path);
  if (info.disk.device_path.size() >= kDevicePathUnits) return ENAMETOOLONG;
  if (!state.source.device() || !NamesSource(path, *state.source.device())) return ENOENT;
  return 0;
}

// Opens the stored source again, read-only. A disk keeps the stored
// geometry; an image is opened as images are, then given the stored sector
// size that the saved volumes were found with. 0 or an errno.
int ReopenSource(EngineState& state, const DiskInfo& stored) {
  ResetSource(state);
  std::string path = Utf16ToUtf8(stored.device_path);
  OpenResult probe = OpenBlockDeviceReadOnly(path);
  if (!probe.device) return probe.error;
  bool disk = probe.device->IsBlockDevice();
  probe.device.reset();
  bool opened = disk ? state.source.OpenDisk(path, stored.bytes_per_sector, stored.total_sectors)
                     : state.source.OpenImage(path);
  if (!opened) return errno ? errno : ENOENT;
  if (!disk) state.source.SetBytesPerSector(stored.bytes_per_sector);
  return 0;
}

// Creates one database file from a section of the loaded file. 0 or an errno.
int RestoreSection(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  DatabaseFile file;
  if (int e = file.Create(path)) return e;
  for (std::size_t at = 0; at < bytes.size(); at += kCopyPiece) {
    auto piece = bytes.subspan(at, std::min(kCopyPiece, bytes.size() - at));
    if (int e = file.WriteAt(piece, at)) return e;
  }
  return file.Close();
}

void LogProcessing(Host& host, const std::filesystem::path& file) {
  Log(host, Format(text::kProcessingScanInfoFile, file.filename().c_str()),
      Format(text::kProcessingScanInfoLocation, FolderOf(file).c_str()), LogKind::kInformation);
}

}  // namespace

std::string DefaultScanInfoName(const std::tm& local) {
  int weekday = local.tm_wday >= 0 && local.tm_wday < 7 ? local.tm_wday : 0;
  int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
  return Format(text::kScanInfoDefaultName, text::kWeekdayNames[weekday], local.tm_mday,
                text::kMonthNames[month], static_cast<unsigned>(local.tm_year + 1900));
}

std::filesystem::path WithScanInfoExtension(const std::filesystem::path& chosen,
                                            std::string_view extension) {
  std::string name = chosen.string();
  if (name.size() >= extension.size() &&
      std::string_view(name).substr(name.size() - extension.size()) == extension)
    return chosen;
  return name + std::string(extension);
}

bool SaveTreeInfo(const std::filesystem::path& chosen, const EngineState& state,
                  const std::filesystem::path& database_folder, Host& host) {
  std::filesystem::path path = WithScanInfoExtension(chosen, kTreeInfoExtension);
  if (OnSource(state, path)) {
    Log(host, std::string(text::kDestinationOnSource), path.string(), LogKind::kFailure);
    return false;
  }
  TreeScanInfo info{{}, state.volume, state.mft_runs};
  int e = SourceScanInfo(state, info.disk);
  if (!e) e = WriteScanInfo(path, StoreTreeScanHead(info), &database_folder);
  if (e) {
    Log(host, Format(text::kTreeInfoSaveFailed, static_cast<unsigned>(e)), path.string(),
        LogKind::kFailure);
    return false;
  }
  Log(host, std::string(text::kTreeInfoSaved), std::filesystem::absolute(path).string(),
      LogKind::kCompleted);
  return true;
}

bool SavePartitionInfo(const std::filesystem::path& chosen, const EngineState& state,
                       Host& host) {
  std::filesystem::path path = WithScanInfoExtension(chosen, kDiskScanInfoExtension);
  Log(host, Format(text::kSavingScanInfoFile, path.filename().c_str()),
      Format(text::kSavingScanInfoLocation, FolderOf(path).c_str()), LogKind::kInformation);
  if (OnSource(state, path)) {
    Log(host, std::string(text::kDestinationOnSource), path.string(), LogKind::kFailure);
    return false;
  }
  DiskScanInfo source;
  int e = SourceScanInfo(state, source);
  if (!e) e = WriteScanInfo(path, StoreDiskScanInfo(source), nullptr);
  if (e) {
    Log(host, Format(text::kDiskInfoSaveFailed, static_cast<unsigned>(e)), path.string(),
        LogKind::kFailure);
    return false;
  }
  Log(host, std::string(text::kDiskInfoSaved), std::filesystem::absolute(path).string(),
      LogKind::kCompleted);
  return true;
}

bool LoadTreeInfo(const std::filesystem::path& file, EngineState& state, ScanDatabaseReader& db,
                  const std::filesystem::path& database_folder, Host& host) {
  LogProcessing(host, file);
  db.Close();
  auto fail = [&](std::string text) {
    Log(host, std::move(text), file.string(), LogKind::kFailure);
    return false;
  };
  MappedFile mapped;
  if (int e = mapped.Open(file)) return fail(Format(text::kTreeInfoOpenFailed, unsigned(e)));
  std::optional<LoadedTreeScanInfo> loaded = LoadTreeScanInfo(mapped.bytes());
  if (!loaded) return fail(std::string(text::kTreeInfoInvalid));
  if (int e = ReopenSource(state, loaded->info.disk.disk))
    return fail(Format(text::kTreeInfoOpenFailed, unsigned(e)));
  state.partitions = std::move(loaded->info.disk.volumes);
  state.volume = loaded->info.volume;
  state.mft_runs = std::move(loaded->info.mft_runs);

  const TreeScanSections& s = loaded->sections;
  if (RestoreSection(database_folder / kTreeFileName, s.tree) ||
      RestoreSection(database_folder / kEntryFileName, s.entries) ||
      RestoreSection(database_folder / kNameFileName, s.names) ||
      !db.Open(database_folder))
    return fail(std::string(text::kSupportingFilesNotOpened));
  Log(host, std::string(text::kTreeInfoOpened), std::filesystem::absolute(file).string(),
      LogKind::kCompleted);
  return true;
}

bool LoadPartitionInfo(const std::filesystem::path& file, EngineState& state, Host& host) {
  LogProcessing(host, file);
  auto fail = [&](std::string text) {
    Log(host, std::move(text), file.string(), LogKind::kFailure);
    return false;
  };
  MappedFile mapped;
  if (int e = mapped.Open(file)) return fail(Format(text::kDiskInfoOpenFailed, unsigned(e)));
  std::optional<DiskScanInfo> loaded = LoadDiskScanInfo(mapped.bytes());
  if (!loaded) return fail(std::string(text::kDiskInfoInvalid));
  if (int e = ReopenSource(state, loaded->disk))
    return fail(Format(text::kDiskInfoOpenFailed, unsigned(e)));
  state.partitions = std::move(loaded->volumes);
  Log(host, std::string(text::kDiskInfoOpened), std::filesystem::absolute(file).string(),
      LogKind::kCompleted);
  return true;
}

}  // namespace salvor
