#pragma once
// The messages that pass between Salvor and Trawler over a local socket.
// Trawler is started with the name of Salvor's socket on its command line;
// it reports when its disk selection opens and when the user goes "Home",
// and Salvor asks it to close when Salvor itself exits.
//
// On the wire each message is its kind (32 bits), its payload length (32
// bits, little-endian) and the payload bytes. A stream may hold several
// messages or part of one: DecodePeerMessage takes one whole message at a time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace salvor {

enum class PeerMessageKind : std::uint32_t {
  kTrawlerOpened = 10,  // payload: the sender's process id, as text
  kClose = 16,          // Salvor to Trawler: close now
  kTrawlerHome = 20,    // the user went back to Salvor
};

struct PeerMessage {
  PeerMessageKind kind{};
  std::string payload;
};

// Payloads above this are refused by the decoder: no real message comes near it.
inline constexpr std::uint32_t kMaxPeerPayload = 64 * 1024;

std::string EncodePeerMessage(PeerMessageKind kind, std::string_view payload = {});

struct DecodedPeerMessage {
  PeerMessage message;
  std::size_t consumed = 0;  // bytes of the stream this message took
};

enum class PeerDecodeStatus { kMessage, kNeedMore, kInvalid };

// Reads the first message of `stream`. kNeedMore: the stream holds only part of
// one; kInvalid: an unknown kind or an oversized payload (drop the connection).
PeerDecodeStatus DecodePeerMessage(std::span<const std::uint8_t> stream, DecodedPeerMessage& out);

}  // namespace salvor
