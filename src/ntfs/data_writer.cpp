#include "ntfs/data_writer.h"

#include <algorithm>
#include <vector>

#include "ntfs/file_record.h"
#include "ntfs/lznt1.h"
#include "ntfs/mft_locator.h"

namespace salvor {
namespace {

// Reads in pieces of about this size: large sequential reads keep the save
// near the speed of a plain copy of the disk.
constexpr std::uint64_t kReadPiece = 1 << 20;

// A unit larger than this comes only from a damaged compression-unit field.
constexpr std::uint32_t kMaxUnitClusters = 256;

void Report(StreamWriter& w) {
  if (w.progress) w.progress->Report(w.written, w.size);
}

// The check point before each piece; false (and `stopped`) when the stream
// must end.
bool GoOn(StreamWriter& w) {
  if (w.run && !w.run->Checkpoint()) w.stopped = true;
  return !w.stopped;
}

// Clears `buffer` and reads it from the clusters starting at `lcn`; false
// when a stop cut the read short.
bool ReadClusters(StreamWriter& w, std::span<std::uint8_t> buffer, std::uint64_t lcn) {
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  if (w.state.source.ReadSectors(buffer, ClusterSector(w.state.volume, lcn)) != kReadStopped)
    return true;
  w.stopped = true;
  return false;
}

// The bytes `clusters` clusters hold, saturating.
std::uint64_t ClusterBytes(std::uint64_t clusters, std::uint64_t cluster_size) {
  return clusters > UINT64_MAX / cluster_size ? UINT64_MAX : clusters * cluster_size;
}

}  // namespace

void WriteRuns(const RunList& runs, StreamWriter& w) {
  const std::uint64_t cs = w.state.volume.bytes_per_cluster;
  if (cs == 0) return;
  // No larger than the stream needs: most files are small, and a piece
  // buffer cleared per file would cost more than reading them.
  const std::uint64_t left = (w.size - std::min(w.written, w.size) + cs - 1) / cs * cs;
  const std::uint64_t piece = std::max<std::uint64_t>(cs, std::min(kReadPiece / cs * cs, left));
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(piece));
  for (const Run& run : runs) {
    if (w.written >= w.size || !GoOn(w)) break;
    const std::uint64_t run_bytes = std::min(ClusterBytes(run.length, cs), w.size - w.written);
    if (run.sparse()) {
      w.sink.WriteZeros(run_bytes);
      w.written += run_bytes;
      Report(w);
      continue;
    }
    for (std::uint64_t at = 0; at < run_bytes;) {
      if (at != 0 && !GoOn(w)) return;
      const std::uint64_t n = std::min(piece, run_bytes - at);
      const std::uint64_t on_disk =
          w.written < w.initialized_size ? std::min(n, w.initialized_size - w.written) : 0;
      if (on_disk == 0) {
        w.sink.WriteZeros(n);
      } else {
        const std::uint64_t read = (on_disk + cs - 1) / cs * cs;
        if (!ReadClusters(w, std::span(buffer).first(static_cast<std::size_t>(read)),
                          run.lcn + at / cs))
          return;
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(on_disk),
                  buffer.begin() + static_cast<std::ptrdiff_t>(n), std::uint8_t{0});
        w.sink.Write(std::span(buffer).first(static_cast<std::size_t>(n)));
      }
      at += n;
      w.written += n;
      Report(w);
    }
  }
}

void WriteCompressedRuns(const RunList& runs, std::uint32_t unit_clusters, StreamWriter& w) {
  const std::uint64_t cs = w.state.volume.bytes_per_cluster;
  if (cs == 0) return;
  if (unit_clusters == 0 || unit_clusters > kMaxUnitClusters) return WriteRuns(runs, w);
  const std::size_t unit_bytes = static_cast<std::size_t>(unit_clusters * cs);
  std::vector<std::uint8_t> input(unit_bytes);
  std::vector<std::uint8_t> output(unit_bytes);
  std::size_t index = 0;     // run under the cursor
  std::uint64_t offset = 0;  // clusters of it already taken
  while (w.written < w.size && index < runs.size() && GoOn(w)) {
    // Gather one unit: its clusters on disk are packed at the input's start.
    std::fill(input.begin(), input.end(), std::uint8_t{0});
    std::uint32_t taken = 0;
    std::uint32_t on_disk = 0;
    while (taken < unit_clusters && index < runs.size()) {
      const Run& run = runs[index];
      const auto k = static_cast<std::uint32_t>(
          std::min<std::uint64_t>(run.length - offset, unit_clusters - taken));
      if (!run.sparse() && k > 0) {
        if (!ReadClusters(w, std::span(input).subspan(on_disk * cs, k * cs), run.lcn + offset))
          return;
        on_disk += k;
      }
      taken += k;
      offset += k;
      if (offset >= run.length) {
        ++index;
        offset = 0;
      }
    }
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(unit_bytes, w.size - w.written));
    const std::span<const std::uint8_t> packed = std::span(input).first(on_disk * cs);
    if (on_disk == 0) {
      w.sink.WriteZeros(n);
    } else if (on_disk < unit_clusters && IsCompressedStream(packed)) {
      std::fill(output.begin(), output.end(), std::uint8_t{0});
      DecompressLznt1(packed, output);
      w.sink.Write(std::span(output).first(n));
    } else {
      // A whole unit on disk was stored uncompressed; a short one that is no
      // chunk chain is written as it stands, as damaged data best is.
      w.sink.Write(std::span(input).first(n));
    }
    w.written += n;
    Report(w);
  }
}

SaveDataResult WriteDataAttribute(EngineState& state, const DataStream& stream, DataSink& sink,
                                  ProgressReporter* progress, RunControl* run) {
  if (stream.resident) {
    sink.Write(stream.value);
    if (progress) progress->Report(stream.value.size(), stream.value.size());
    return {true, stream.value.size()};
  }
  StreamWriter w{state, sink, stream.size, stream.initialized_size, progress, 0, run};
  if (stream.compressed)
    WriteCompressedRuns(stream.runs, stream.unit_clusters, w);
  else
    WriteRuns(stream.runs, w);
  return {true, w.written, w.stopped};
}

SaveDataResult SaveFileData(EngineState& state, std::uint64_t record_sector, DataSink& sink,
                            ProgressReporter* progress) {
  std::vector<std::uint8_t> record(state.volume.bytes_per_file_record);
  if (record.empty()) return {};
  state.source.ReadSectors(record, record_sector);
  if (!CheckFileRecord(record)) return {};
  StreamLookup lookup = LocateDataStream(state, record);
  if (lookup.status == StreamStatus::kBadRecord) return {};
  if (lookup.status == StreamStatus::kNoData) return {true, 0};
  return WriteDataAttribute(state, lookup.stream, sink, progress, &state.run());
}

}  // namespace salvor
