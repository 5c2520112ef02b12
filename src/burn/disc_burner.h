#pragma once
// Writes a folder onto the medium of one writer: checks the medium, lays out
// the image, compares it with the free capacity, writes it with progress and
// finishes the medium. The writer is named as libburn names drives:
// "/dev/sr0", or "stdio:/path/file.iso" for an image file.

#include <string>

#include "carver/disc_writer.h"

namespace salvor::burn {

class DiscBurner final : public carver::DiscWriter {
 public:
  explicit DiscBurner(std::string drive_address) : address_(std::move(drive_address)) {}

  // Needs a live BurnLibrary for the whole call. False on failure (shown to
  // the user through the host) or when the run control stopped it.
  bool WriteFolder(const std::filesystem::path& folder, Host& host, RunControl& run,
                   const carver::StatusListener& on_status) override;

 private:
  std::string address_;
};

}  // namespace salvor::burn
