#include "ntfs/tree_builder.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ntfs/entry_info.h"
#include "ntfs/file_record.h"
#include "ntfs/mft_locator.h"
#include "ntfs/record_entry_store.h"
#include "ntfs/record_parser.h"

namespace salvor {
namespace {

class TreeWalk {
 public:
  TreeWalk(EngineState& state, ScanDatabaseWriter& db) : state_(state), db_(db) {}

  // One record at `sector`, the `position`-th of the $MFT.
  void Take(std::span<std::uint8_t> record, std::uint64_t sector, std::uint32_t position) {
    if (BaseRecordReference(record) != 0) return;  // extension records reach their base by its list
    if (!CheckFileRecord(record)) return;
    entry_ = EntryInfo{};
    if (!ParseFileRecord(state_, record, entry_)) return;

    // New headers carry their own number; an old one leaves the folder's
    // number from its index root, or the record's place in the $MFT.
    if (UpdateSequenceOffset(record) == file_record::kNewHeader)
      entry_.own_record = HeaderRecordNumber(record);
    else if (entry_.own_record == 0)
      entry_.own_record = position;
    entry_.record_sector = sector;
    StoreRecordEntry(db_, entry_,
                     (FileRecordFlags(record) & file_record::kFlagDirectory) != 0, counter_);
  }

  std::uint32_t& counter() { return counter_; }

 private:
  EngineState& state_;
  ScanDatabaseWriter& db_;
  EntryInfo entry_;
  std::uint32_t counter_ = 2;
};

}  // namespace

bool BuildTree(EngineState& state, ScanDatabaseWriter& db) {
  const CurrentVolume& v = state.volume;
  const std::uint64_t spc = v.sectors_per_cluster;
  const std::uint64_t spr = v.sectors_per_file_record;
  const std::size_t bps = state.source.bytes_per_sector();
  const std::size_t record_size = v.bytes_per_file_record;
  if (record_size == 0 || spr == 0 || spc == 0 || bps == 0 || !db.is_open()) return false;

  // Consecutive records lie back to back when a record fills its sectors
  // exactly; otherwise each is read on its own.
  const std::size_t stride = static_cast<std::size_t>(spr) * bps;
  const bool packed = stride == record_size;
  const std::size_t per_read = packed ? std::max<std::size_t>(1, kMftReadBytes / stride) : 1;
  const std::size_t read_bytes = packed ? per_read * stride : (record_size + bps - 1) / bps * bps;
  std::vector<std::uint8_t> buffer(read_bytes);

  TreeWalk walk(state, db);
  std::uint32_t position = 0;
  bool stopped = false;
  bool read_failed = false;
  const std::uint64_t total = v.mft_record_count;
  try {
    for (const Run& run : state.mft_runs) {
      std::uint64_t positions = (run.length * spc + spr - 1) / spr;
      if (run.sparse()) {  // no clusters on disk: nothing to read there
        position += static_cast<std::uint32_t>(positions);
        continue;
      }
      const std::uint64_t start = ClusterSector(v, run.lcn);
      // A damaged run list may reach far beyond the volume: nothing of the
      // $MFT lies there, and reading it would only take time.
      if (v.length != 0) {
        const std::uint64_t volume_end = v.first_sector + v.length;
        if (start >= volume_end)
          positions = 0;
        else
          positions = std::min(positions, (volume_end - start + spr - 1) / spr);
      }
      for (std::uint64_t i = 0; i < positions && !stopped;) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(per_read, positions - i));
        if (!state.run().IsRunning()) {
          stopped = true;
          break;
        }
        state.host().Progress(position, total);
        const std::size_t bytes = packed ? n * stride : read_bytes;
        std::fill_n(buffer.begin(), bytes, std::uint8_t{0});
        try {
          state.source.ReadSectors(std::span<std::uint8_t>(buffer).first(bytes), start + i * spr);
        } catch (const UserException&) {
          // The user has been shown the error. The sectors in front of the
          // failed one were read; the rest of the buffer stays cleared, so
          // the records read whole are still taken and the walk ends there.
          read_failed = true;
        }
        for (std::size_t k = 0; k < n; ++k) {
          if (k > 0) {
            if (!state.run().IsRunning()) {
              stopped = true;
              break;
            }
            state.host().Progress(position, total);
          }
          walk.Take(std::span<std::uint8_t>(buffer).subspan(k * stride, record_size),
                    start + (i + k) * spr, position);
          ++position;
        }
        i += n;
        if (read_failed) break;
      }
      if (stopped || read_failed) break;
    }
  } catch (const std::exception&) {
    // A failed database write (shown or logged where it happened): the walk
    // ends with what it has.
  }
  if (!db.failed) {
    try {
      AddLostFolders(db, walk.counter());
    } catch (const std::exception&) {
    }
  }
  return !stopped && !db.failed;
}

}  // namespace salvor
