// GPT header and entry array parsing over arbitrary bytes. The first 512
// bytes are taken as a header sector at LBA 1; the rest as an entry array,
// parsed with the header's geometry when it passed (its CRC checks aside,
// which random input rarely meets) and with a fixed one otherwise.
// Also the whole reading behind a protective MBR over the input as a disk.

#include <cstddef>
#include <cstdint>

#include "disk/host.h"
#include "fuzz/memory_block_device.h"
#include "partitions/gpt_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  std::span<const std::uint8_t> input(data, size);
  const std::size_t head = std::min<std::size_t>(size, 512);
  auto header = salvor::ParseGptHeader(input.first(head), 1);
  salvor::GptHeader geometry = header.value_or(salvor::GptHeader{0, 0, 128, 128, 0});
  (void)salvor::ParseGptEntries(input.subspan(head), geometry);

  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::SectorSource source(host, run);
  source.Attach(std::make_unique<salvor::fuzz::MemoryBlockDevice>(input), "fuzz", 512);
  (void)salvor::ReadGptTable(source);
  return 0;
}
