#pragma once
// The data of the hex preview: a file entry's contents loaded into memory
// straight from the volume's clusters, read the way a save reads them.

#include <cstdint>
#include <optional>
#include <vector>

#include "ntfs/database_entry.h"
#include "ntfs/engine_state.h"
#include "ntfs/run.h"

namespace salvor {

// Only files of 1 byte to 30 MiB get a preview.
inline constexpr std::uint64_t kPreviewSizeLimit = 31457280;

struct PreviewData {
  // (size / cluster size + 1) clusters, zeros where nothing was read.
  std::vector<std::uint8_t> buffer;
  std::uint64_t length = 0;  // valid bytes from the start
};

// Allocates the buffer and fills it (FillPreview). nullopt for a size of 0 or
// above the limit, or when the memory cannot be had.
std::optional<PreviewData> LoadPreview(EngineState& state, const EntryNode& entry);

// Reads the entry's unnamed stream into the buffer. Nothing is loaded when
// the record fails its check. A compressed stream (any compression bits,
// sparse or not) is not shown: the host hears "Preview not available",
// captioned "Compressed data".
void FillPreview(EngineState& state, const EntryNode& entry, PreviewData& preview);

// Copies the clusters of `runs` into the buffer from the current length on,
// sparse runs as zeros, up to the entry's size.
void FillPreviewRuns(EngineState& state, const EntryNode& entry, const RunList& runs,
                     PreviewData& preview);

}  // namespace salvor
