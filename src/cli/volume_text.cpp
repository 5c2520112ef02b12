#include "cli/volume_text.h"

#include "cli/json_writer.h"
#include "disk/sector_source.h"
#include "disk/texts.h"

namespace salvor::cli {

std::string SerialHex(std::uint64_t serial) {
  return Format("%016llX", static_cast<unsigned long long>(serial));
}

std::string VolumeJson(unsigned drive, const VolumeInfo& v, std::uint16_t source_bps) {
  CurrentVolume g = SelectVolume(v, source_bps);
  return JsonLine()
      .Field("drive", std::uint64_t{drive})
      .Field("first_sector", v.first_sector)
      .Field("length", v.length)
      .Field("mft_sector", v.mft_sector)
      .Field("mft_lcn", v.mft_lcn)
      .Field("mftmirr_lcn", v.mftmirr_lcn)
      .Field("serial", SerialHex(v.serial))
      .Field("bytes_per_sector", std::uint64_t{g.bytes_per_sector})
      .Field("bytes_per_cluster", std::uint64_t{g.bytes_per_cluster})
      .Field("bytes_per_file_record", std::uint64_t{g.bytes_per_file_record})
      .Field("sectors_per_cluster", std::uint64_t{v.sectors_per_cluster})
      .Field("origin_flags", std::uint64_t{v.origin_flags})
      .str();
}

std::string VolumeText(unsigned drive, const VolumeInfo& v, std::uint16_t source_bps) {
  CurrentVolume g = SelectVolume(v, source_bps);
  std::string out = Format(text::kLogicalDrive, drive);
  out += Format(
      "\n  first sector %llu, length %llu sectors\n"
      "  $MFT sector %llu, MFT LCN %llu, MFTMirr LCN %llu\n"
      "  serial %s\n"
      "  %u bytes per sector, %u bytes per cluster (%u sectors), %u bytes per file record, "
      "%u bytes per index record\n",
      static_cast<unsigned long long>(v.first_sector), static_cast<unsigned long long>(v.length),
      static_cast<unsigned long long>(v.mft_sector), static_cast<unsigned long long>(v.mft_lcn),
      static_cast<unsigned long long>(v.mftmirr_lcn), SerialHex(v.serial).c_str(),
      unsigned{g.bytes_per_sector}, g.bytes_per_cluster, unsigned{v.sectors_per_cluster},
      g.bytes_per_file_record, g.bytes_per_index_record);
  if (v.origin_flags) out += Format("  origin flags 0x%02X\n", unsigned{v.origin_flags});
  return out;
}

}  // namespace salvor::cli
