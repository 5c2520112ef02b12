#pragma once
// The unnamed data stream of a file: where its bytes are, gathered from its
// base record or, through an $ATTRIBUTE_LIST, from its extension records.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ntfs/attribute.h"
#include "ntfs/engine_state.h"
#include "ntfs/run.h"

namespace salvor {

namespace attr {
inline constexpr std::size_t kFlags = 0x0C;            // u16
inline constexpr std::size_t kInitializedSize = 0x38;  // u64, non-resident
inline constexpr std::uint16_t kCompressionMask = 0x00FF;
}  // namespace attr

struct DataStream {
  bool resident = true;
  std::vector<std::uint8_t> value;  // a resident stream's bytes
  RunList runs;                     // a non-resident stream's runs, in VCN order
  std::uint64_t size = 0;           // bytes of the stream
  // Bytes ever written; NTFS reads everything beyond them as zeros.
  std::uint64_t initialized_size = 0;
  bool compressed = false;
  std::uint32_t unit_clusters = 0;  // clusters per compression unit
};

// The first unnamed $DATA attribute of one record; named streams never count.
std::optional<Attribute> FindUnnamedData(std::span<const std::uint8_t> record);

// The stream one $DATA attribute describes on its own. Compressed means any
// compression bits are set: the sparse flag 0x8000 beside them does not make
// it a plain stream.
DataStream StreamOfAttribute(const Attribute& data);

enum class StreamStatus { kFound, kNoData, kBadRecord };
struct StreamLookup {
  StreamStatus status = StreamStatus::kNoData;
  DataStream stream;
};

// The unnamed stream of the file whose checked base record is `record`. With
// an $ATTRIBUTE_LIST, only the unnamed stream's extents count, each VCN range
// once, in VCN order; gaps between extents read as zeros. kBadRecord when an
// extension record holding an extent fails its check.
StreamLookup LocateDataStream(EngineState& state, std::span<const std::uint8_t> record);

// The bytes of an attribute list, resident or not, up to the size NTFS
// allows such a list.
std::vector<std::uint8_t> AttributeListBytes(EngineState& state, const Attribute& list);

}  // namespace salvor
