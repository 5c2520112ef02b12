#include "ntfs/preview_data.h"

#include <new>

#include "disk/texts.h"
#include "ntfs/data_sink.h"
#include "ntfs/data_stream.h"
#include "ntfs/data_writer.h"
#include "ntfs/file_record.h"

namespace salvor {

std::optional<PreviewData> LoadPreview(EngineState& state, const EntryNode& entry) {
  const std::uint64_t cs = state.volume.bytes_per_cluster;
  if (entry.size == 0 || entry.size > kPreviewSizeLimit || cs == 0) return std::nullopt;
  PreviewData preview;
  try {
    preview.buffer.assign(static_cast<std::size_t>((entry.size / cs + 1) * cs), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  FillPreview(state, entry, preview);
  return preview;
}

void FillPreview(EngineState& state, const EntryNode& entry, PreviewData& preview) {
  std::vector<std::uint8_t> record(state.volume.bytes_per_file_record);
  if (record.empty()) return;
  state.source.ReadSectors(record, entry.record_sector);
  if (!CheckFileRecord(record)) return;
  StreamLookup lookup = LocateDataStream(state, record);
  if (lookup.status != StreamStatus::kFound) return;
  const DataStream& stream = lookup.stream;
  if (stream.resident) {
    MemorySink sink(preview.buffer);
    sink.Write(stream.value);
    preview.length = sink.length();
    return;
  }
  if (stream.compressed) {
    state.host().ShowMessage(MessageIcon::kWarning, text::kCaptionCompressedData,
                             text::kPreviewNotAvailable);
    return;
  }
  FillPreviewRuns(state, entry, stream.runs, preview);
}

void FillPreviewRuns(EngineState& state, const EntryNode& entry, const RunList& runs,
                     PreviewData& preview) {
  MemorySink sink(std::span(preview.buffer).subspan(
      static_cast<std::size_t>(std::min<std::uint64_t>(preview.length, preview.buffer.size()))));
  StreamWriter writer{state, sink, entry.size, entry.size, nullptr};
  WriteRuns(runs, writer);
  preview.length += sink.length();
}

}  // namespace salvor
