#include "app/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/peer_messages.h"

namespace salvor {
namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("lock-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(InstanceLockTest, OneHolderAtATimeAndFreedWhenReleased) {
  EXPECT_FALSE(InstanceLock::IsHeld("GlobalMutexTest"));
  {
    auto first = InstanceLock::Acquire("GlobalMutexTest");
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(InstanceLock::IsHeld("GlobalMutexTest"));
    EXPECT_FALSE(InstanceLock::Acquire("GlobalMutexTest").has_value());
    EXPECT_FALSE(InstanceLock::IsHeld("GlobalMutexOther"));
  }
  EXPECT_FALSE(InstanceLock::IsHeld("GlobalMutexTest"));
  EXPECT_TRUE(InstanceLock::Acquire("GlobalMutexTest").has_value());
}

TEST_F(InstanceLockTest, LockOfADeadProcessIsTakenOver) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Take the lock and die without releasing it, as a crashed program would.
    auto lock = InstanceLock::Acquire("GlobalMutexTest");
    _exit(lock ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(std::filesystem::exists(InstanceLock::PathOf("GlobalMutexTest")));
  EXPECT_FALSE(InstanceLock::IsHeld("GlobalMutexTest"));
  EXPECT_TRUE(InstanceLock::Acquire("GlobalMutexTest").has_value());
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(PeerMessagesTest, StreamOfMessagesDecodesOneAtATime) {
  const std::string stream = EncodePeerMessage(PeerMessageKind::kTrawlerOpened, "4242") +
                             EncodePeerMessage(PeerMessageKind::kTrawlerHome);
  DecodedPeerMessage decoded;
  ASSERT_EQ(DecodePeerMessage(Bytes(stream), decoded), PeerDecodeStatus::kMessage);
  EXPECT_EQ(decoded.message.kind, PeerMessageKind::kTrawlerOpened);
  EXPECT_EQ(decoded.message.payload, "4242");
  const std::string rest = stream.substr(decoded.consumed);
  ASSERT_EQ(DecodePeerMessage(Bytes(rest), decoded), PeerDecodeStatus::kMessage);
  EXPECT_EQ(decoded.message.kind, PeerMessageKind::kTrawlerHome);
  EXPECT_EQ(decoded.consumed, rest.size());
  // A message cut anywhere waits for more bytes.
  for (std::size_t cut = 0; cut < 12; ++cut) {
    EXPECT_EQ(DecodePeerMessage(Bytes(stream.substr(0, cut)), decoded), PeerDecodeStatus::kNeedMore);
  }
}

TEST(PeerMessagesTest, UnknownKindsAndHugePayloadsAreRefused) {
  std::string unknown = EncodePeerMessage(PeerMessageKind::kClose);
  unknown[0] = 11;
  DecodedPeerMessage decoded;
  EXPECT_EQ(DecodePeerMessage(Bytes(unknown), decoded), PeerDecodeStatus::kInvalid);
  std::string huge = EncodePeerMessage(PeerMessageKind::kClose);
  huge[7] = 0x7f;  // length 0x7f000000
  EXPECT_EQ(DecodePeerMessage(Bytes(huge), decoded), PeerDecodeStatus::kInvalid);
}

}  // namespace
}  // namespace salvor
