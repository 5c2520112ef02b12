#include "app/carve_report.h"

#include <algorithm>
#include <vector>

#include "app/sha256.h"
#include "carver/carved_copy.h"
#include "disk/texts.h"

namespace salvor {

void CarveReport::Saved(const carver::FoundNode& file, const std::filesystem::path& written,
                        bool renamed) {
  saved_[&file] = {written, renamed};
}

std::string SourceSha256(carver::SectorReader& reader, std::uint64_t start_sector, std::uint64_t length) {
  Sha256 hash;
  std::vector<std::uint8_t> piece;
  const std::uint64_t sector_size = reader.sector_size();
  for (std::uint64_t done = 0; done < length;) {
    const std::uint64_t bytes = std::min(carver::kCopyPieceBytes, length - done);
    piece.assign((bytes + sector_size - 1) / sector_size * sector_size, 0);
    reader.Read(piece, start_sector + done / sector_size);
    hash.Update(std::span<const std::uint8_t>(piece.data(), bytes));
    done += bytes;
  }
  return hash.HexDigest();
}

void CarveReport::Write(RecoveryReport& report, const carver::FoundTree& tree,
                        carver::SectorReader& reader) const {
  std::vector<const carver::FoundNode*> files;
  carver::ForEachFile(*tree.root, [&](const carver::FoundNode& f) { files.push_back(&f); });
  std::stable_sort(files.begin(), files.end(), [](const auto* a, const auto* b) {
    return a->StartSector() < b->StartSector();
  });
  for (const carver::FoundNode* f : files) {
    ReportItem item;
    item.start_sector = f->StartSector();
    item.source_offset = f->StartSector() * reader.sector_size();
    item.original_path = f->parent && f->parent->parent
                             ? f->parent->parent->name + "/" + f->parent->name + "/" + f->name
                             : f->name;
    item.size = f->length;
    const auto saved = saved_.find(f);
    if (saved != saved_.end()) {
      item.written_path = saved->second.path.string();
      item.outcome = saved->second.renamed ? ReportOutcome::kRenamed : ReportOutcome::kSaved;
      item.sha256 = SourceSha256(reader, f->StartSector(), f->length);
    } else {
      item.outcome = ReportOutcome::kSkipped;
      item.reason = f->checked ? text::kReportNotSaved : text::kReportExcluded;
    }
    report.Add(item);
  }
}

}  // namespace salvor
