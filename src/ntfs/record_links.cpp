#include "ntfs/record_links.h"

#include <algorithm>
#include <vector>

namespace salvor {

RecordLinks RecordLinks::Count(ScanDatabase& db) {
  // Eight bytes a file while counting: sorted, equal sectors lie together.
  std::vector<std::uint64_t> sectors;
  std::vector<std::uint8_t> chunk(kEntryRecordSize * 1024);
  std::uint64_t at = 0;
  for (;;) {
    std::size_t got = 0;
    if (db.entries.ReadAt(chunk, at, got) != 0 || got < kEntryRecordSize) break;
    for (std::size_t i = 0; i + kEntryRecordSize <= got; i += kEntryRecordSize) {
      const EntryNode e = LoadEntryRecord(std::span<const std::uint8_t, kEntryRecordSize>(
          chunk.data() + i, kEntryRecordSize));
      // Folders and lost folders carry no record of their own to share.
      if (!e.folder() && e.record_sector != 0) sectors.push_back(e.record_sector);
    }
    at += got - got % kEntryRecordSize;
  }
  std::sort(sectors.begin(), sectors.end());
  RecordLinks links;
  for (std::size_t i = 0; i < sectors.size();) {
    std::size_t j = i + 1;
    while (j < sectors.size() && sectors[j] == sectors[i]) ++j;
    if (j - i > 1) links.many_.emplace(sectors[i], static_cast<std::uint32_t>(j - i));
    i = j;
  }
  return links;
}

std::uint32_t RecordLinks::Names(const EntryNode& e) const {
  if (e.folder()) return 1;
  auto it = many_.find(e.record_sector);
  return it == many_.end() ? 1 : it->second;
}

}  // namespace salvor
