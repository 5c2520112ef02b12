// DecodePeerMessage over a whole stream, message after message, the way a
// desktop program reads its local socket.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/peer_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> exact(data, data + size);
  std::span<const std::uint8_t> rest(exact);
  salvor::DecodedPeerMessage decoded;
  while (salvor::DecodePeerMessage(rest, decoded) == salvor::PeerDecodeStatus::kMessage) {
    if (decoded.consumed == 0 || decoded.consumed > rest.size()) __builtin_trap();
    rest = rest.subspan(decoded.consumed);
  }
  return 0;
}
