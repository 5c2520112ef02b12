#include "carver/carved_copy.h"
#include "disk/fd_io.h"

#include <unistd.h>

#include <cerrno>
#include <span>
#include <vector>

namespace salvor::carver {

CopyResult CopyFileData(SectorReader& reader, const FoundNode& file, int out_fd, RunControl& run) {
  CopyResult result;
  const std::uint32_t sector_size = reader.sector_size();
  // Whole sectors, even for a sector size that does not divide 1 MiB.
  std::vector<std::uint8_t> piece((kCopyPieceBytes + sector_size - 1) / sector_size * sector_size);
  std::uint64_t sector = file.StartSector();
  std::uint64_t left = file.length;
  while (left > 0) {
    if (!run.Checkpoint()) {
      result.stopped = true;
      return result;
    }
    const std::uint64_t bytes = left < kCopyPieceBytes ? left : kCopyPieceBytes;
    // The tail is read as whole sectors and written with its exact length.
    const std::uint64_t sectors = (bytes + sector_size - 1) / sector_size;
    const auto span = std::span<std::uint8_t>(piece).first(static_cast<std::size_t>(sectors * sector_size));
    reader.Read(span, sector);
    result.write_error = WriteFully(out_fd, std::span(piece).first(static_cast<std::size_t>(bytes)));
    if (result.write_error != 0) return result;
    sector += sectors;
    left -= bytes;
  }
  return result;
}

}  // namespace salvor::carver
