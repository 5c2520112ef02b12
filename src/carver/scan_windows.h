#pragma once
// The carving scan's windows, read many at a time: one read of about 1 MiB
// serves every window inside it, where a read per window would cost a system
// call per 32 KiB. A window's bytes are those a read of that window alone
// gives: when a large read fails, the windows it covered are read one by one,
// so a bad or vanished sector affects exactly the windows it would have.

#include <cstdint>
#include <span>
#include <vector>

#include "carver/carve_disk.h"

namespace salvor::carver {

class ScanWindows {
 public:
  ScanWindows(SectorReader& reader, std::uint64_t window_sectors);

  // The window_sectors sectors from first_sector on; valid until the next call.
  std::span<const std::uint8_t> Window(std::uint64_t first_sector);

 private:
  std::span<const std::uint8_t> Held(std::uint64_t first_sector) const;

  SectorReader& reader_;
  std::uint64_t window_sectors_;
  std::uint64_t buffer_sectors_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t held_first_ = 0;    // the sectors the buffer holds from a large read
  std::uint64_t held_sectors_ = 0;
  std::uint64_t one_by_one_until_ = 0;  // after a failed large read: window reads up to here
};

}  // namespace salvor::carver
