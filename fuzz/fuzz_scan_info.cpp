// The two scan information file loaders on arbitrary bytes. Byte 0 picks the
// loader; the rest is the file. Whatever loads must store and load again to
// the same records (the stored form is canonical), and every section the
// partition loader hands out must lie inside the input.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/scan_info_format.h"
#include "disk/byte_writer.h"

namespace {

using namespace salvor;

bool Inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void CheckDiskFile(std::span<const std::uint8_t> file) {
  auto loaded = LoadDiskScanInfo(file);
  if (!loaded) return;
  auto again = LoadDiskScanInfo(StoreDiskScanInfo(*loaded));
  if (!again || again->volumes != loaded->volumes ||
      again->disk.device_path != loaded->disk.device_path)
    std::abort();
}

void CheckTreeFile(std::span<const std::uint8_t> file) {
  auto loaded = LoadTreeScanInfo(file);
  if (!loaded) return;
  const TreeScanSections& s = loaded->sections;
  if (!Inside(s.tree, file) || !Inside(s.entries, file) || !Inside(s.names, file)) std::abort();
  ByteWriter w;
  w.Bytes(StoreTreeScanHead(loaded->info));
  for (auto section : {s.tree, s.entries, s.names}) {
    w.Bytes(SectionHeader(section.size()));
    w.Bytes(section);
  }
  auto again = LoadTreeScanInfo(w.bytes());
  if (!again || again->info.volume != loaded->info.volume ||
      again->info.mft_runs != loaded->info.mft_runs ||
      again->info.disk.volumes != loaded->info.disk.volumes)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::span<const std::uint8_t> file(data + 1, size - 1);
  if (data[0] & 1)
    CheckTreeFile(file);
  else
    CheckDiskFile(file);
  return 0;
}
