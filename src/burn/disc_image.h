#pragma once
// The disc image of one folder: ISO 9660 level 3 (files over 4 GiB become
// multi-extent files) with Rock Ridge and Joliet names, so long Unicode names
// read back on every system. The volume label is the product's own.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace burn {
struct burn_source;
}

namespace salvor::burn {

struct BurnSourceDeleter {
  void operator()(::burn::burn_source* source) const;
};
using BurnSourcePtr = std::unique_ptr<::burn::burn_source, BurnSourceDeleter>;

struct DiscImage {
  BurnSourcePtr source;     // the image bytes, produced while they are written
  std::uint64_t size = 0;   // bytes
  std::string error;        // why there is no image, when `source` is empty
};

// Lays out `folder` with everything below it as the disc's root. Needs a live
// BurnLibrary. The files are read while the image is written, not now.
DiscImage BuildDiscImage(const std::filesystem::path& folder, const std::string& volume_label);

}  // namespace salvor::burn
