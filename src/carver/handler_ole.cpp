// OLE compound documents (doc, xls, ppt). The FAT tells how far the file
// reaches (its highest used sector), the directory which application wrote
// it. Sectors are 512 or 4096 bytes, as the header's sector shift says.
#include <algorithm>
#include <vector>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kLastRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kHeaderFatSectors = 109;  // FAT sector numbers held by the header
constexpr std::uint32_t kMostFatSectors = 1u << 16;  // more would map beyond 4 GiB
constexpr std::uint32_t kMostDirectorySectors = 4096;
constexpr std::size_t kEntryBytes = 128;

bool StartsWithUtf16(std::span<const std::uint8_t> bytes, std::string_view text) {
  if (bytes.size() < text.size() * 2) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (bytes[2 * i] != static_cast<std::uint8_t>(text[i]) || bytes[2 * i + 1] != 0) return false;
  }
  return true;
}

// A directory entry's whole name (its stored length counts the terminator).
bool NameIs(std::span<const std::uint8_t> entry, std::string_view name) {
  const std::size_t stored = LoadU16(entry.data() + 64);
  return stored == 2 * name.size() + 2 && StartsWithUtf16(entry, name);
}

class CompoundFile {
 public:
  CompoundFile(HandlerContext& ctx, std::uint64_t start) : ctx_(ctx), file_(ctx.reader, start, 8) {
    const std::uint16_t shift = file_.LE16(0x1E);
    shift_ = shift == 12 ? 12 : 9;
    fat_sectors_ = file_.LE32(0x2C);
    directory_ = file_.LE32(0x30);
    difat_ = file_.LE32(0x44);
  }

  std::uint64_t SectorBytes() const { return std::uint64_t{1} << shift_; }
  std::uint32_t EntriesPerFatSector() const { return static_cast<std::uint32_t>(SectorBytes() / 4); }
  std::uint64_t Offset(std::uint32_t sector) const { return (std::uint64_t{sector} + 1) << shift_; }
  std::uint32_t fat_sectors() const { return fat_sectors_; }
  std::uint32_t directory() const { return directory_; }
  FileBytes& file() { return file_; }

  // The file sector holding FAT sector `index`, from the header or the DIFAT
  // chain (read once, as far as the FAT reaches).
  std::uint32_t FatSector(std::uint32_t index) {
    if (!fat_listed_) ListFatSectors();
    return index < fat_.size() ? fat_[index] : kFreeSector;
  }

  std::uint32_t Next(std::uint32_t sector) {
    const std::uint32_t fat = FatSector(sector / EntriesPerFatSector());
    if (fat > kLastRegularSector) return kFreeSector;
    return file_.LE32(Offset(fat) + 4 * std::uint64_t{sector % EntriesPerFatSector()});
  }

  // The end of the highest sector the FAT marks used; 0 when none is.
  std::uint64_t UsedEnd() {
    if (fat_sectors_ > kMostFatSectors) return 0;
    for (std::uint32_t i = fat_sectors_; i-- > 0 && ctx_.KeepGoing();) {
      const std::uint32_t fat = FatSector(i);
      if (fat > kLastRegularSector) continue;
      auto entries = file_.Bytes(Offset(fat), SectorBytes());
      for (std::uint32_t e = EntriesPerFatSector(); e-- > 0;) {
        if (LoadU32(entries.data() + 4 * e) != kFreeSector) {
          return Offset(i * EntriesPerFatSector() + e) + SectorBytes();
        }
      }
    }
    return 0;
  }

  // doc, xls or ppt by the streams named anywhere in the directory; empty
  // when none of them is.
  std::string TypeFromDirectory() {
    bool word = false, excel = false, powerpoint = false;
    std::uint32_t sector = directory_;
    for (std::uint32_t n = 0; n < kMostDirectorySectors && sector <= kLastRegularSector && ctx_.KeepGoing();
         ++n, sector = Next(sector)) {
      for (std::uint64_t at = 0; at + kEntryBytes <= SectorBytes(); at += kEntryBytes) {
        auto entry = file_.Bytes(Offset(sector) + at, kEntryBytes);
        word = word || NameIs(entry, "WordDocument");
        excel = excel || NameIs(entry, "Workbook") || NameIs(entry, "Book");
        powerpoint = powerpoint || NameIs(entry, "PowerPoint Document");
      }
    }
    // Documents embed one another's streams below their own storages; the
    // writer's own stream decides, Word and PowerPoint before an embedded sheet.
    if (word) return "doc";
    if (powerpoint) return "ppt";
    if (excel) return "xls";
    return {};
  }

 private:
  void ListFatSectors() {
    fat_listed_ = true;
    const std::uint32_t wanted = std::min(fat_sectors_, kMostFatSectors);
    for (std::uint32_t i = 0; i < wanted && i < kHeaderFatSectors; ++i) {
      fat_.push_back(file_.LE32(0x4C + 4 * std::uint64_t{i}));
    }
    const std::uint32_t per = EntriesPerFatSector() - 1;  // the last entry links on
    std::uint32_t difat = difat_;
    // Each DIFAT sector adds `per` entries, so a chain that loops ends here too.
    while (fat_.size() < wanted && difat <= kLastRegularSector && ctx_.KeepGoing()) {
      auto entries = file_.Bytes(Offset(difat), SectorBytes());
      for (std::uint32_t e = 0; e < per && fat_.size() < wanted; ++e) {
        fat_.push_back(LoadU32(entries.data() + 4 * e));
      }
      difat = LoadU32(entries.data() + 4 * std::uint64_t{per});
    }
  }

  HandlerContext& ctx_;
  FileBytes file_;
  std::uint32_t shift_ = 9;
  std::uint32_t fat_sectors_ = 0;
  std::uint32_t directory_ = 0;
  std::uint32_t difat_ = 0;
  bool fat_listed_ = false;
  std::vector<std::uint32_t> fat_;  // file sector of each FAT sector
};

// Without a known stream name: the first four entries of the first directory
// sector, by the beginning of their names.
std::string TypeFromFirstEntries(std::span<const std::uint8_t> sector) {
  for (std::size_t entry = 0; entry < 4 && (entry + 1) * kEntryBytes <= sector.size(); ++entry) {
    auto name = sector.subspan(entry * kEntryBytes, kEntryBytes);
    if (StartsWithUtf16(name, "Word")) return "doc";
    if (StartsWithUtf16(name, "Work")) return "xls";
  }
  return "ppt";
}

}  // namespace

HandlerResult HandleOle(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  CompoundFile ole(ctx, start);
  const std::uint64_t sector_bytes = ole.SectorBytes();
  auto first_directory = ole.file().Bytes(ole.Offset(ole.directory()), sector_bytes);
  if (!StartsWithUtf16(first_directory, "Root")) return HandlerResult::kRejected;
  std::string extension = TypeFromFirstEntries(first_directory);
  const std::string named = ole.TypeFromDirectory();
  if (!named.empty()) extension = named;
  // The most the FAT can map is the length when it marks no sector used; the
  // end of the highest used sector never lies beyond it.
  const std::uint64_t mapped =
      (std::uint64_t{ole.fat_sectors()} * ole.EntriesPerFatSector() + 1) * sector_bytes;
  const std::uint64_t used = ole.UsedEnd();
  rec.extension = extension;
  rec.found_length = ClampLength(used != 0 ? used : mapped);
  rec.skip_length = ClampLength(ole.Offset(ole.directory()) + sector_bytes);
  rec.skip_valid = 1;
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver
