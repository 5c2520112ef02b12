#include "app/peer_messages.h"

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {
namespace {

constexpr std::size_t kHeaderBytes = 8;

bool IsKnownKind(std::uint32_t kind) {
  switch (static_cast<PeerMessageKind>(kind)) {
    case PeerMessageKind::kTrawlerOpened:
    case PeerMessageKind::kClose:
    case PeerMessageKind::kTrawlerHome:
      return true;
  }
  return false;
}

}  // namespace

std::string EncodePeerMessage(PeerMessageKind kind, std::string_view payload) {
  ByteWriter writer;
  writer.U32(static_cast<std::uint32_t>(kind));
  writer.U32(static_cast<std::uint32_t>(payload.size()));
  std::string bytes(writer.bytes().begin(), writer.bytes().end());
  bytes.append(payload);
  return bytes;
}

PeerDecodeStatus DecodePeerMessage(std::span<const std::uint8_t> stream, DecodedPeerMessage& out) {
  const ByteReader reader(stream);
  const auto kind = reader.U32(0);
  const auto length = reader.U32(4);
  if (!kind || !length) return PeerDecodeStatus::kNeedMore;
  if (!IsKnownKind(*kind) || *length > kMaxPeerPayload) return PeerDecodeStatus::kInvalid;
  const auto payload = reader.Slice(kHeaderBytes, *length);
  if (!payload) return PeerDecodeStatus::kNeedMore;
  out.message.kind = static_cast<PeerMessageKind>(*kind);
  out.message.payload.assign(payload->begin(), payload->end());
  out.consumed = kHeaderBytes + *length;
  return PeerDecodeStatus::kMessage;
}

}  // namespace salvor
