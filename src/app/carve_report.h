#pragma once
// The recovery report's records of a carve: one per found file, in start
// sector order, with what the save did with it.

#include <filesystem>
#include <map>

#include "app/recovery_report.h"
#include "carver/carve_disk.h"
#include "carver/found_tree.h"

namespace salvor {

class CarveReport {
 public:
  // For SaveEvents::on_file.
  void Saved(const carver::FoundNode& file, const std::filesystem::path& written, bool renamed);
  // Writes a record for every found file: those the save told of with the
  // digest of their bytes (read again from the source, as the save copied
  // them), the others as skipped (`excluded`: by their type) or not saved.
  void Write(RecoveryReport& report, const carver::FoundTree& tree, carver::SectorReader& reader) const;

 private:
  struct Written {
    std::filesystem::path path;
    bool renamed;
  };
  std::map<const carver::FoundNode*, Written> saved_;
};

// SHA-256 of `length` bytes from `start_sector` of the source.
std::string SourceSha256(carver::SectorReader& reader, std::uint64_t start_sector, std::uint64_t length);

}  // namespace salvor
