// SHA-256 against the published test vectors, fed in pieces that cross the
// 64-byte block boundaries, including the padding's two-block case.
#include <gtest/gtest.h>

#include <string_view>

#include "app/sha256.h"

namespace salvor {
namespace {

std::string Digest(std::string_view text, std::size_t piece) {
  Sha256 hash;
  for (std::size_t at = 0; at < text.size(); at += piece) {
    const auto part = text.substr(at, piece);
    hash.Update({reinterpret_cast<const std::uint8_t*>(part.data()), part.size()});
  }
  return hash.HexDigest();
}

TEST(Sha256Test, KnownVectorsInAnyPieces) {
  const std::string million(1'000'000, 'a');
  for (std::size_t piece : {1u, 7u, 64u, 1000u}) {
    SCOPED_TRACE(piece);
    EXPECT_EQ(Digest("", piece), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Digest("abc", piece), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", piece),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Digest(million, piece * 997),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  }
}

}  // namespace
}  // namespace salvor
