#include "ntfs/record_links.h"

#include <algorithm>
#include <vector>

namespace salvor {

RecordLinks RecordLinks::Count(ScanDatabaseReader& db) {
  // Eight bytes a file while counting: sorted, equal sectors lie together.
  std::vector<std::uint64_t> sectors;
  const std::uint32_t count = db.entry_count();
  for (std::uint32_t n = 0; n < count; ++n) {
    const std::optional<EntryNode> e = db.ReadEntry(n);
    if (!e) break;
    // Folders and lost folders carry no record of their own to share.
    if (!e->folder() && e->record_sector != 0) sectors.push_back(e->record_sector);
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
