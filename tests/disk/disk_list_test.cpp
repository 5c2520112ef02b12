#include "disk/disk_list.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "disk/sysfs_disks.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {
namespace fs = std::filesystem;

TEST(DiskSizeText, SwitchesFromMegabytesToGigabytesAtOneGigabyte) {
  EXPECT_EQ(DiskSizeText(80'026'361'856ull), "74.53 GB");
  EXPECT_EQ(DiskSizeText(536'870'912ull), "512.00 MB");
  EXPECT_EQ(DiskSizeText(0), "0.00 MB");
  // Single precision rounds a size one byte short of 1 GiB up to 1.0.
  EXPECT_EQ(DiskSizeText(1'073'741'823ull), "1.00 GB");
  EXPECT_EQ(DiskSizeText(1'073'000'000ull), "1023.29 MB");
}

DiskProperties SataDisk() {
  DiskProperties p;
  p.name = "sda";
  p.bytes_per_sector = 512;
  p.size_bytes = 80'026'361'856ull;
  p.interface_type = "IDE";
  p.serial_number = "WD-WCAV12345";
  p.firmware = "__3.06__";
  p.model = "ST380011A";
  return p;
}

TEST(MakeDiskListEntry, FillsTheElevenTextsInOrder) {
  DiskProperties p = SataDisk();
  p.heads = 255;
  p.sectors_per_track = 63;
  DiskListEntry e = MakeDiskListEntry(p, std::nullopt);
  auto texts = DiskListTexts(e);
  std::array<std::string_view, kDiskListFieldCount> expected = {
      "sda",      "Fixed hard disk media", "IDE",       "156301488", "9729", "255",
      "74.53 GB", "WD-WCAV12345",          "3.06",      "ST380011A", "512"};
  EXPECT_EQ(texts, expected);
}

TEST(MakeDiskListEntry, TheDevicesOwnSizeWinsOverTheKernelsCount) {
  DiskProperties p = SataDisk();
  p.bytes_per_sector = 4096;
  DiskListEntry e = MakeDiskListEntry(p, 536'870'912ull);
  EXPECT_EQ(e.total_sectors, "131072");
  EXPECT_EQ(e.size, "512.00 MB");
  EXPECT_EQ(e.bytes_per_sector, "4096");
}

TEST(MakeDiskListEntry, UsbDisksAreRemovableWithTheGenericModel) {
  DiskProperties p = SataDisk();
  p.interface_type = "usb";  // compared without case
  DiskListEntry e = MakeDiskListEntry(p, std::nullopt);
  EXPECT_EQ(e.model, "USB mobile disk ");
  EXPECT_EQ(e.media_type, "Removable media");
}

TEST(MakeDiskListEntry, MissingGeometryAndSerialReadNotAvailable) {
  DiskProperties p = SataDisk();
  p.serial_number.clear();
  p.removable = true;
  DiskListEntry e = MakeDiskListEntry(p, std::nullopt);
  EXPECT_EQ(e.total_cylinders, "N/A");
  EXPECT_EQ(e.total_heads, "N/A");
  EXPECT_EQ(e.serial_number, "N/A");
  EXPECT_EQ(e.media_type, "Removable media");
  EXPECT_EQ(e.model, "ST380011A");
}

TEST(IsWholeDiskName, AcceptsDisksAndRefusesPartitionsAndVirtualDevices) {
  for (const char* n : {"sda", "sdaa", "hdb", "vda", "xvdc", "nvme0n1", "nvme12n3", "mmcblk0", "loop7"})
    EXPECT_TRUE(IsWholeDiskName(n)) << n;
  for (const char* n : {"sda1", "nvme0n1p2", "nvme0", "mmcblk0p1", "mmcblk0boot0", "zram0", "dm-0",
                        "md127", "sr0", "loop", "sd", "nvmen1"})
    EXPECT_FALSE(IsWholeDiskName(n)) << n;
}

// A fake sysfs: block/<name> links into devices/<bus path>/block/<name>.
class FakeSysfs {
 public:
  explicit FakeSysfs(const fs::path& root) : root_(root) { fs::create_directories(root / "block"); }

  fs::path AddDisk(const std::string& name, const std::string& bus_path, std::uint64_t size_512,
                   std::uint32_t logical_block = 512) {
    fs::path dir = root_ / "devices" / bus_path / "block" / name;
    fs::create_directories(dir / "queue");
    fs::create_directories(dir / "device");
    Write(dir / "size", std::to_string(size_512));
    Write(dir / "queue" / "logical_block_size", std::to_string(logical_block));
    Write(dir / "removable", "0");
    fs::create_directory_symlink(fs::relative(dir, root_ / "block"), root_ / "block" / name);
    return dir;
  }
  static void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
  }

 private:
  fs::path root_;
};

class EnumerateDisksTest : public ::testing::Test {
 protected:
  testing::ScratchDir scratch;
  DiskListRoots roots{scratch.path() / "sys", scratch.path() / "dev"};
  FakeSysfs sysfs{roots.sysfs};
  testing::RecordingHost host;
  std::map<std::string, DeviceProperties> udev;

  std::vector<DiskListEntry> Run() {
    fs::create_directories(roots.dev);
    return EnumerateDisks(host, roots, [this](std::string_view name) {
      auto it = udev.find(std::string(name));
      return it == udev.end() ? DeviceProperties{} : it->second;
    });
  }
};

TEST_F(EnumerateDisksTest, ReadsEveryBusFromTheTree) {
  fs::path sata = sysfs.AddDisk("sda", "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0",
                                156'301'488);
  FakeSysfs::Write(sata / "device" / "model", "ST380011A       ");
  FakeSysfs::Write(sata / "device" / "rev", "3.06");
  udev["sda"] = {{"ID_SERIAL_SHORT", "5JVABC12"}, {"ID_BUS", "ata"}};

  fs::path usb = sysfs.AddDisk(
      "sdb", "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0", 1'048'576);
  FakeSysfs::Write(usb / "device" / "model", "Cruzer Blade");
  FakeSysfs::Write(usb / "removable", "1");

  fs::path nvme = sysfs.AddDisk("nvme0n1", "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0",
                                2'000'409'264, 4096);
  FakeSysfs::Write(nvme / "device" / "model", "Samsung SSD 970 EVO Plus 1TB");
  FakeSysfs::Write(nvme / "device" / "serial", "S4EWNX0R123456K   ");
  FakeSysfs::Write(nvme / "device" / "firmware_rev", "2B2QEXM7");

  sysfs.AddDisk("vda", "pci0000:00/0000:00:02.0/virtio1", 2048);
  udev["vda"] = {{"ID_MODEL", "QEMU_HARDDISK"}};

  auto entries = Run();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1].device_name, "sda");
  EXPECT_EQ(entries[1].interface_type, "IDE");
  EXPECT_EQ(entries[1].model, "ST380011A");
  EXPECT_EQ(entries[1].serial_number, "5JVABC12");
  EXPECT_EQ(entries[1].firmware, "3.06");
  EXPECT_EQ(entries[1].total_sectors, "156301488");
  EXPECT_EQ(entries[1].size, "74.53 GB");

  EXPECT_EQ(entries[2].device_name, "sdb");
  EXPECT_EQ(entries[2].interface_type, "USB");
  EXPECT_EQ(entries[2].model, "USB mobile disk ");
  EXPECT_EQ(entries[2].media_type, "Removable media");
  EXPECT_EQ(entries[2].serial_number, "N/A");

  EXPECT_EQ(entries[3].device_name, "vda");
  EXPECT_EQ(entries[3].interface_type, "VirtIO");
  EXPECT_EQ(entries[3].model, "QEMU HARDDISK");
  EXPECT_EQ(entries[3].size, "1.00 MB");

  EXPECT_EQ(entries[0].device_name, "nvme0n1");
  EXPECT_EQ(entries[0].interface_type, "NVMe");
  EXPECT_EQ(entries[0].bytes_per_sector, "4096");
  // sysfs counts 512-byte units whatever the sector size.
  EXPECT_EQ(entries[0].total_sectors, "250051158");
  EXPECT_EQ(entries[0].serial_number, "S4EWNX0R123456K");
  EXPECT_EQ(entries[0].firmware, "2B2QEXM7");
  for (const auto& e : entries) {
    EXPECT_EQ(e.total_heads, "N/A") << e.device_name;  // regular files have no geometry
    EXPECT_EQ(e.media_type, e.device_name == "sdb" ? "Removable media" : "Fixed hard disk media");
  }
}

TEST_F(EnumerateDisksTest, ADiskTheSizeQueryCannotOpenKeepsTheKernelsSize) {
  sysfs.AddDisk("sda", "pci0000:00/ata1/host0", 1024);
  sysfs.AddDisk("sdb", "pci0000:00/ata2/host1", 1024);
  fs::create_directories(roots.dev);
  std::ofstream(roots.dev / "sdb").write(std::string(4096, '\0').data(), 4096);

  auto entries = Run();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].total_sectors, "1024");
  EXPECT_EQ(entries[1].total_sectors, "8");  // the device's own 4096 bytes
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Information");
  EXPECT_EQ(host.messages[0].text, "Disk Opening Error #2");
}

// Without root a disk cannot be opened: it is listed from the kernel's
// tables, marked, and no message is shown for it.
TEST_F(EnumerateDisksTest, ADiskThisUserMayNotOpenIsMarkedWithoutAMessage) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  sysfs.AddDisk("sda", "pci0000:00/ata1/host0", 1024);
  fs::create_directories(roots.dev);
  std::ofstream(roots.dev / "sda").write(std::string(4096, '\0').data(), 4096);
  fs::permissions(roots.dev / "sda", fs::perms::none);
  for (fs::path p = roots.dev; p != p.root_path(); p = p.parent_path())
    fs::permissions(p, fs::perms::others_exec, fs::perm_options::add);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setuid(65534) != 0) _exit(3);
    const auto entries = Run();
    const bool right = entries.size() == 1 && !entries[0].readable &&
                       entries[0].total_sectors == "1024" && host.messages.empty();
    _exit(right ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(EnumerateDisksTest, LeavesOutDisksWithoutMediumAndDetachedLoops) {
  sysfs.AddDisk("mmcblk0", "platform/mmc0/mmc0:0001", 0);  // card reader, no card
  sysfs.AddDisk("loop1", "virtual", 8);                     // nothing attached
  fs::path loop = sysfs.AddDisk("loop0", "virtual", 8);
  FakeSysfs::Write(loop / "loop" / "backing_file", "/tmp/disk.img");
  sysfs.AddDisk("zram0", "virtual", 8);

  auto entries = Run();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].device_name, "loop0");
  EXPECT_EQ(entries[0].interface_type, "Loop");
}

TEST_F(EnumerateDisksTest, ListsDisksInTheKernelsCountingOrder) {
  for (const char* n : {"sdaa", "sdb", "sdz", "sda"}) sysfs.AddDisk(n, std::string("scsi/") + n, 8);
  for (const char* n : {"nvme0n10", "nvme0n2", "nvme1n1"})
    sysfs.AddDisk(n, std::string("nvme/") + n, 8);
  std::vector<std::string> names;
  for (const auto& e : Run()) names.push_back(e.device_name);
  EXPECT_EQ(names, (std::vector<std::string>{"nvme0n2", "nvme0n10", "nvme1n1", "sda", "sdb", "sdz",
                                             "sdaa"}));
}

TEST(EnumerateDisksOnThisMachine, ListsWithoutFailing) {
  testing::RecordingHost host;
  for (const DiskListEntry& e : EnumerateDisks(host)) {
    EXPECT_FALSE(e.device_name.empty());
    EXPECT_NE(e.bytes_per_sector, "0");
    EXPECT_FALSE(e.size.empty());
  }
}

}  // namespace
}  // namespace salvor
