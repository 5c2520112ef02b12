#pragma once
// Copying a whole source sector by sector: the checks before a clone or an
// image is started (the destination is not the source, a clone target holds
// the source, the image's folder has room) and the copy itself. Each check
// that fails tells the user through the host or returns its text.

#include <cstdint>
#include <memory>
#include <string>

#include "app/operation_status.h"
#include "ntfs/engine_state.h"
#include "partitions/copy_destination.h"
#include "partitions/disk_copy.h"

namespace salvor {

// A copy ready to run: the destination opened for writing and the log
// heading that names both ends.
struct PreparedCopy {
  OperationStatus status;
  std::unique_ptr<CopyDestination> destination;
  LogEntry heading;
};

// Opens `source` (see OpenSource) and checks that `destination` does not lie
// on it; then that the clone target has the source's sector size and at least
// its sectors, and opens it for writing.
PreparedCopy PrepareClone(EngineState& state, const std::string& source,
                          std::uint16_t forced_sector_size, const std::string& destination);

struct PreparedImage : PreparedCopy {
  bool declined = false;  // the folder seemed too small and the user said no
  std::uint64_t bytes_needed = 0;
  std::uint64_t bytes_free = 0;
};

// Opens `source`, checks `image` against it and the space of the image's
// folder (asking the user when it seems too small), and creates the image.
PreparedImage PrepareImage(EngineState& state, const std::string& source,
                           std::uint16_t forced_sector_size, const std::string& image);

// Logs the heading and copies the whole source. Completed only when every
// sector reached the destination.
CopyOutcome CopyWholeSource(EngineState& state, CopyKind kind, PreparedCopy& copy,
                            RunControl& run);

}  // namespace salvor
