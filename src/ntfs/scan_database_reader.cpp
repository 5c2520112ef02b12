#include "ntfs/scan_database_reader.h"

#include <algorithm>
#include <array>

#include "disk/block_device.h"
#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/scan_database.h"

namespace salvor {

bool ScanDatabaseReader::Open(const std::filesystem::path& folder) {
  Close();
  error_.clear();
  for (auto [file, name] : {std::pair{&entries_, kEntryFileName}, std::pair{&names_, kNameFileName},
                            std::pair{&tree_, kTreeFileName}}) {
    if (int e = file->Open(folder / name)) {
      error_ = Format(text::kScanDatabaseOpenFailed, (folder / name).c_str(), ErrorText(e).c_str());
      Close();
      return false;
    }
  }
  tree_.UsePageCache(kTreePageSize, kTreePages);
  entries_.UsePageCache(kReaderPageSize, kReaderPages);
  names_.UsePageCache(kReaderPageSize, kReaderPages);
  return true;
}

void ScanDatabaseReader::Close() {
  // Nothing is written through a reader: closing cannot fail.
  entries_.Close();
  names_.Close();
  tree_.Close();
}

std::uint32_t ScanDatabaseReader::entry_count() const {
  return static_cast<std::uint32_t>(entries_.size() / kEntryRecordSize);
}

std::optional<EntryNode> ScanDatabaseReader::ReadEntry(std::uint32_t n) {
  if (!entries_.is_open()) return std::nullopt;
  std::array<std::uint8_t, kEntryRecordSize> bytes{};
  std::size_t got = 0;
  if (int e = entries_.ReadAt(bytes, std::uint64_t{n} * kEntryRecordSize, got)) {
    error_ = ErrorText(e);
    return std::nullopt;
  }
  EntryNode node = LoadEntryRecord(bytes);
  if (node.name_length == 0) return node;
  std::vector<std::uint8_t> name(2u * node.name_length, 0);
  std::size_t name_got = 0;
  names_.ReadAt(name, node.name_offset, name_got);  // a failure leaves the name short
  node.name.resize(name_got / 2);
  for (std::size_t i = 0; i < node.name.size(); ++i)
    node.name[i] = static_cast<char16_t>(name[2 * i] | (name[2 * i + 1] << 8));
  return node;
}

bool ScanDatabaseReader::ReadTreeBlock(std::uint32_t at, TreeBlock& block) {
  std::array<std::uint8_t, kTreeBlockSize> bytes{};  // past the end of the file: zeros
  std::size_t got = 0;
  if (int e = tree_.ReadAt(bytes, at, got)) {
    error_ = ErrorText(e);
    return false;
  }
  block = LoadTreeBlock(bytes);
  return true;
}

ChildList ScanDatabaseReader::ListChildren(std::uint32_t block, bool keep_files) {
  ChildList list;
  std::vector<EntryNode> folder_list;
  const bool complete = VisitChildren(block, [&](const EntryNode& node) {
    list.bytes += node.size;
    if (node.folder()) {
      ++list.folders;
      folder_list.push_back(node);
    } else {
      ++list.files;
      if (keep_files) list.children.push_back(node);
    }
    return true;
  });
  if (!complete) list.error = error_;
  std::reverse(list.children.begin(), list.children.end());
  list.children.insert(list.children.end(), std::make_move_iterator(folder_list.rbegin()),
                       std::make_move_iterator(folder_list.rend()));
  return list;
}

bool ScanDatabaseReader::VisitChildren(std::uint32_t block,
                                       const std::function<bool(const EntryNode&)>& visit) {
  // A damaged chain cannot hold more blocks than the file.
  std::uint64_t hops = tree_.size() / kTreeBlockSize + 1;
  std::uint32_t at = block;
  do {
    TreeBlock b;
    if (!ReadTreeBlock(at, b)) return false;
    for (std::uint32_t n : b.children) {
      if (n == 0) continue;
      std::optional<EntryNode> node = ReadEntry(n);
      if (!node) return false;
      if (!visit(*node)) return true;
    }
    at = b.next;
  } while (at != 0 && --hops > 0);
  return true;
}

}  // namespace salvor
