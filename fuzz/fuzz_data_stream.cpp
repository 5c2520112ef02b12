// Locating and writing a file's unnamed data stream from hostile bytes. Input:
// a small volume image whose first 1024 bytes are the file's record; the
// $MFT is taken to start at cluster 1, so attribute lists name records of the
// input too, and run lists point into it. The stream is cut at 256 KiB so
// that claimed sizes cannot make a run last.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz/fuzz_volume.h"
#include "disk/host.h"
#include "memory_block_device.h"
#include "ntfs/data_sink.h"
#include "ntfs/data_stream.h"
#include "ntfs/data_writer.h"
#include "ntfs/file_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kRecord = 1024;
  constexpr std::uint64_t kCut = 256 * 1024;
  if (size < kRecord) return 0;
  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state(host, run);
  salvor::CurrentVolume& v = state.volume;
  salvor::fuzz::UseFuzzGeometry(v, kRecord);
  state.mft_runs = {salvor::Run{64, 1}};
  state.source.Attach(std::make_unique<salvor::fuzz::MemoryBlockDevice>(
                          std::span<const std::uint8_t>(data, size)),
                      "fuzz", 512);

  std::vector<std::uint8_t> record(data, data + kRecord);
  if (!salvor::CheckFileRecord(record)) return 0;
  salvor::StreamLookup lookup = salvor::LocateDataStream(state, record);
  if (lookup.status != salvor::StreamStatus::kFound) return 0;
  salvor::DataStream& stream = lookup.stream;
  stream.size = std::min(stream.size, kCut);
  stream.initialized_size = std::min(stream.initialized_size, kCut);
  std::vector<std::uint8_t> out(kCut);
  salvor::MemorySink sink(out);
  const std::uint64_t written = salvor::WriteDataAttribute(state, stream, sink, nullptr).bytes;
  if (!stream.resident && written > stream.size) __builtin_trap();
  return 0;
}
