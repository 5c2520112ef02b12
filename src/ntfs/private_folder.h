#pragma once
// Where the scan database lives: a private folder of the user's under the
// temporary folder ($TEMP, else $TMPDIR, else /tmp), so that no other local
// user can plant links or files where Salvor writes NSE.VKT, NSN.VKT and
// NST.VKT.

#include <filesystem>
#include <optional>
#include <string>

namespace salvor {

// The temporary folder: $TEMP, else $TMPDIR, else /tmp (empty values count
// as unset).
std::filesystem::path TemporaryBase();

// The user's database folder below the temporary folder ("salvor-<uid>"),
// made private by MakePrivateFolder. nullopt with the reason in `error`
// when it cannot be had safely.
std::optional<std::filesystem::path> PrivateDatabaseFolder(std::string& error);

// Creates `folder` with mode 0700 when it is missing. An existing one must be
// a real folder (not a symbolic link) owned by the user; a wider mode is
// narrowed to 0700. False with the reason in `error` otherwise.
bool MakePrivateFolder(const std::filesystem::path& folder, std::string& error);

// An advisory lock on a database folder, held while the object lives, so
// that two runs of the same user never write one database at the same time
// (the file names are fixed).
class DatabaseFolderLock {
 public:
  DatabaseFolderLock() = default;
  ~DatabaseFolderLock();
  DatabaseFolderLock(const DatabaseFolderLock&) = delete;
  DatabaseFolderLock& operator=(const DatabaseFolderLock&) = delete;

  // Takes the lock without waiting. False with the reason in `error` when
  // another process holds it or the lock file cannot be made.
  bool Acquire(const std::filesystem::path& folder, std::string& error);

 private:
  int fd_ = -1;
};

}  // namespace salvor
