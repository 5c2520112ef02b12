#include "disk/disk_service.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// A loop device over a patterned file, a private bus standing in for the
// system bus, and the fake disk service on it. Needs root for the loop device.
class DiskServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "loop devices need root";
    if (!testing::HaveCommand("dbus-daemon")) GTEST_SKIP() << "dbus-daemon is not installed";
    const fs::path image = scratch_.path() / "disk.img";
    std::string pattern(1 << 20, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 7 + 3);
    std::ofstream(image, std::ios::binary) << pattern;
    const auto attach = RunCommand("losetup -f --show '" + image.string() + "'");
    if (attach.status != 0) GTEST_SKIP() << "no loop device: " << attach.output;
    device_ = FirstLine(attach.output);
    const auto bus = RunCommand("dbus-daemon --session --fork --print-address=1 --print-pid=1");
    ASSERT_EQ(bus.status, 0) << bus.output;
    bus_address_ = FirstLine(bus.output);
    bus_pid_ = FirstLine(bus.output.substr(bus.output.find('\n') + 1));
    setenv("DBUS_SYSTEM_BUS_ADDRESS", bus_address_.c_str(), 1);
  }

  void StartService(const std::string& mode) {
    const fs::path ready = scratch_.path() / ("ready-" + mode);
    const fs::path script = testing::SourceDir() / "tests" / "disk" / "fake_udisks.py";
    const auto started = RunCommand("/usr/bin/python3 '" + script.string() + "' " + mode + " '" +
                                    ready.string() + "' > /dev/null 2>&1 & echo $!");
    service_pid_ = FirstLine(started.output);
    for (int i = 0; i < 100 && !fs::exists(ready); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(ready)) << "the fake disk service did not start";
  }

  void TearDown() override {
    if (!service_pid_.empty()) RunCommand("kill " + service_pid_);
    if (!bus_pid_.empty()) RunCommand("kill " + bus_pid_);
    if (!device_.empty()) RunCommand("losetup -d " + device_);
    unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }

  testing::ScratchDir scratch_;
  std::string device_, bus_address_, bus_pid_, service_pid_;
};

TEST_F(DiskServiceTest, GrantedDescriptorsReadTheDeviceInTheAskedMode) {
  StartService("grant");
  const DiskServiceOpen reading = OpenThroughDiskService(device_, DiskServiceAccess::kRead);
  ASSERT_GE(reading.fd, 0) << reading.error;
  EXPECT_EQ(fcntl(reading.fd, F_GETFL) & O_ACCMODE, O_RDONLY);
  char bytes[4] = {};
  ASSERT_EQ(pread(reading.fd, bytes, 4, 1000), 4);
  EXPECT_EQ(bytes[1], static_cast<char>(1001 * 7 + 3));
  close(reading.fd);

  const DiskServiceOpen writing = OpenThroughDiskService(device_, DiskServiceAccess::kReadWrite);
  ASSERT_GE(writing.fd, 0) << writing.error;
  EXPECT_EQ(fcntl(writing.fd, F_GETFL) & O_ACCMODE, O_RDWR);
  close(writing.fd);
}

TEST_F(DiskServiceTest, RefusalAndAMissingServiceAreToldApart) {
  const DiskServiceOpen missing = OpenThroughDiskService(device_, DiskServiceAccess::kRead);
  EXPECT_LT(missing.fd, 0);
  EXPECT_TRUE(missing.service_missing) << missing.error;

  StartService("refuse");
  const DiskServiceOpen refused = OpenThroughDiskService(device_, DiskServiceAccess::kRead);
  EXPECT_LT(refused.fd, 0);
  EXPECT_FALSE(refused.service_missing);
  EXPECT_NE(refused.error.find(device_), std::string::npos);
  EXPECT_NE(refused.error.find("Not authorized"), std::string::npos) << refused.error;
}

}  // namespace
}  // namespace salvor
