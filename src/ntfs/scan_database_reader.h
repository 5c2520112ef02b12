#pragma once
// A reader of a scan database written by ScanDatabaseWriter. Each reader
// holds its own handles, buffers and page caches, so that readers on
// different threads (a view listing a folder while a worker saves or
// counts) never share state; the writer must have flushed or closed the
// files first. Failures come back as values, never shown from in here: a
// front end listing a damaged folder shows one error, not one per child.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ntfs/database_entry.h"
#include "ntfs/database_file.h"
#include "ntfs/tree_block.h"

namespace salvor {

// The children of one folder's list with what they add up to.
struct ChildList {
  // Files first, then folders, each in the reverse of the slot order.
  std::vector<EntryNode> children;
  std::uint32_t files = 0;    // every file child, kept or not
  std::uint32_t folders = 0;
  std::uint64_t bytes = 0;    // the sizes of all children
  // The first failed read; the list then holds what was read before it.
  std::string error;
};

class ScanDatabaseReader {
 public:
  ScanDatabaseReader() = default;
  ScanDatabaseReader(const ScanDatabaseReader&) = delete;
  ScanDatabaseReader& operator=(const ScanDatabaseReader&) = delete;

  // Opens the three files of `folder` for reading. False (all closed,
  // error() says why) when any cannot be opened.
  bool Open(const std::filesystem::path& folder);
  void Close();

  bool is_open() const { return entries_.is_open() && names_.is_open() && tree_.is_open(); }
  std::uint32_t entry_count() const;
  // The last failure: of Open, or of a read.
  const std::string& error() const { return error_; }

  // Entry n. Past the end of the entry file: an all-zero entry with an empty
  // name. nullopt (error() set) when the entry file cannot be read; a name
  // that cannot be read is left short.
  std::optional<EntryNode> ReadEntry(std::uint32_t n);

  // The list that starts at tree-file offset `block`; files are kept only
  // when `keep_files` is set (they are counted either way).
  ChildList ListChildren(std::uint32_t block, bool keep_files);

  // Calls `visit` for each child of the list at `block`, in slot order, one
  // entry in memory at a time; `visit` returns false to stop. False (error()
  // set) when a read failed.
  bool VisitChildren(std::uint32_t block, const std::function<bool(const EntryNode&)>& visit);

 private:
  // The next block of a children list; false (error() set) on a failed read.
  bool ReadTreeBlock(std::uint32_t at, TreeBlock& block);

  DatabaseFile entries_;  // NSE.VKT
  DatabaseFile names_;    // NSN.VKT
  DatabaseFile tree_;     // NST.VKT
  std::string error_;
};

}  // namespace salvor
