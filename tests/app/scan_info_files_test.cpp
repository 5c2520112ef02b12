#include "app/scan_info_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/scan_info_format.h"
#include "ntfs/scan_database.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;

// A source image, its state after a scan, and a built scan database.
struct SavedScan {
  SavedScan() : state(host, run), db(host) {
    source = dir.path() / "disk.img";
    std::ofstream(source, std::ios::binary) << std::string(512 * 400, '\x5A');
    EXPECT_TRUE(state.source.OpenImage(source.string()));
    VolumeInfo v;
    v.first_sector = 63;
    v.length = 300;
    v.mft_lcn = 4;
    v.mftmirr_lcn = 30;
    v.sectors_per_cluster = 8;
    v.serial = 77;
    state.partitions = {v};
    state.volume = SelectVolume(v, 512);
    state.volume.mft_record_count = 16;
    state.mft_runs = {{2, 4}, {2, 20}};
    database = dir.path() / "db";
    fs::create_directory(database);
    EXPECT_TRUE(CreateDatabase(db, database));
    EXPECT_TRUE(CloseDatabase(db));
  }

  testing::ScratchDir dir;
  RecordingHost host;
  RunControl run;
  EngineState state;
  ScanDatabaseWriter db;
  fs::path source;
  fs::path database;
};

TEST(ScanInfoNames, DefaultNameWritesSeptemberWithFourLetters) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 8;
  t.tm_mday = 9;
  t.tm_wday = 3;
  EXPECT_EQ(DefaultScanInfoName(t), "VK NTFS Scan Information # Wed, 09-Sept-2026");
}

TEST(ScanInfoNames, ExtensionIsAppendedUnlessExactlyPresent) {
  EXPECT_EQ(WithScanInfoExtension("scan", ".vkt"), fs::path("scan.vkt"));
  EXPECT_EQ(WithScanInfoExtension("scan.vkt", ".vkt"), fs::path("scan.vkt"));
  EXPECT_EQ(WithScanInfoExtension("scan.VKT", ".vkt"), fs::path("scan.VKT.vkt"));
  EXPECT_EQ(WithScanInfoExtension("dir.vkt/scan", ".vkd"), fs::path("dir.vkt/scan.vkd"));
}

TEST(TreeInfoFile, SavedAndLoadedGivesTheSameStateAndDatabase) {
  SavedScan scan;
  fs::path chosen = scan.dir.path() / "scan.VKT";
  ASSERT_TRUE(SaveTreeInfo(chosen, scan.state, scan.database, scan.host));
  fs::path saved = scan.dir.path() / "scan.VKT.vkt";
  ASSERT_TRUE(fs::exists(saved));
  ASSERT_EQ(scan.host.log.size(), 1u);
  EXPECT_EQ(scan.host.log[0].text, "Partition scan information saved successfully.");
  EXPECT_EQ(scan.host.log[0].detail, fs::absolute(saved).string());
  EXPECT_EQ(scan.host.log[0].kind, LogKind::kCompleted);

  RecordingHost host;
  RunControl run;
  EngineState loaded(host, run);
  ScanDatabaseReader db;
  fs::path restored = scan.dir.path() / "restored";
  fs::create_directory(restored);
  ASSERT_TRUE(LoadTreeInfo(saved, loaded, db, restored, host));
  EXPECT_EQ(loaded.partitions, scan.state.partitions);
  EXPECT_EQ(loaded.volume, scan.state.volume);
  EXPECT_EQ(loaded.mft_runs, scan.state.mft_runs);
  EXPECT_EQ(loaded.source.info().device_path, scan.state.source.info().device_path);
  EXPECT_EQ(loaded.source.total_sectors(), 400u);
  for (const char* name : {kTreeFileName, kEntryFileName, kNameFileName})
    EXPECT_EQ(testing::Sha256OfFile(restored / name), testing::Sha256OfFile(scan.database / name))
        << name;
  ASSERT_TRUE(db.is_open());
  auto root = db.ReadEntry(kRootEntry);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->name, u" Root");

  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_EQ(host.log[0].text, "Processing Scan Info File : scan.VKT.vkt");
  EXPECT_EQ(host.log[0].detail, "Location : " + fs::absolute(scan.dir.path()).string());
  EXPECT_EQ(host.log[1].text, "Partition scan information opened successfully.");
}

TEST(TreeInfoFile, DiskFileUnderThePartitionExtensionIsRejected) {
  SavedScan scan;
  ASSERT_TRUE(SavePartitionInfo(scan.dir.path() / "disk", scan.state, scan.host));
  fs::rename(scan.dir.path() / "disk.vkd", scan.dir.path() / "disk.vkt");
  RecordingHost host;
  ScanDatabaseReader db;
  EXPECT_FALSE(LoadTreeInfo(scan.dir.path() / "disk.vkt", scan.state, db, scan.database, host));
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_EQ(host.log[1].text, "Not a valid Partition scan information.");
  EXPECT_EQ(host.log[1].kind, LogKind::kFailure);
  EXPECT_TRUE(scan.state.source.IsOpen());  // a rejected file changes nothing
}

TEST(TreeInfoFile, SourceThatIsGoneFailsToOpen) {
  SavedScan scan;
  fs::path saved = scan.dir.path() / "scan.vkt";
  ASSERT_TRUE(SaveTreeInfo(saved, scan.state, scan.database, scan.host));
  fs::remove(scan.source);
  RecordingHost host;
  ScanDatabaseReader db;
  EXPECT_FALSE(LoadTreeInfo(saved, scan.state, db, scan.database, host));
  EXPECT_EQ(host.log.back().text, "Failed to open Partition scan information. Errorcode =2");
  EXPECT_FALSE(db.is_open());
}

TEST(TreeInfoFile, FileThatCannotBeWrittenIsReportedAndRemoved) {
  SavedScan scan;
  EXPECT_FALSE(SaveTreeInfo(scan.dir.path() / "missing" / "scan", scan.state, scan.database,
                            scan.host));
  EXPECT_EQ(scan.host.log.back().text, "Failed to save Partition scan information. Errorcode =2");
  EXPECT_EQ(scan.host.log.back().kind, LogKind::kFailure);

  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::path full = scan.dir.path() / "full.vkt";
  fs::create_symlink("/dev/full", full);
  EXPECT_FALSE(SaveTreeInfo(full, scan.state, scan.database, scan.host));
  EXPECT_EQ(scan.host.log.back().text, "Failed to save Partition scan information. Errorcode =28");
  EXPECT_FALSE(fs::is_symlink(full));  // the partial file is deleted
}

TEST(TreeInfoFile, MissingDatabaseFileFailsTheSave) {
  SavedScan scan;
  fs::remove(scan.database / kNameFileName);
  fs::path saved = scan.dir.path() / "scan.vkt";
  EXPECT_FALSE(SaveTreeInfo(saved, scan.state, scan.database, scan.host));
  EXPECT_FALSE(fs::exists(saved));
}

TEST(DiskScanInfoFile, SourcePathTooLongForTheRecordIsNotSaved) {
  SavedScan scan;
  fs::path deep = scan.dir.path();
  while (deep.string().size() < 300) deep /= std::string(60, 'd');
  fs::create_directories(deep);
  fs::path source = deep / "disk.img";
  fs::copy_file(scan.source, source);
  ASSERT_TRUE(scan.state.source.OpenImage(source.string()));
  EXPECT_FALSE(SavePartitionInfo(scan.dir.path() / "disk", scan.state, scan.host));
  EXPECT_EQ(scan.host.log.back().text, "Failed to save Disk scan information. Errorcode =36");
  EXPECT_FALSE(fs::exists(scan.dir.path() / "disk.vkd"));
}

TEST(DiskScanInfoFile, SavedAndLoadedGivesTheSameVolumes) {
  SavedScan scan;
  ASSERT_TRUE(SavePartitionInfo(scan.dir.path() / "disk", scan.state, scan.host));
  ASSERT_EQ(scan.host.log.size(), 2u);
  EXPECT_EQ(scan.host.log[0].text, "Saving Scan Info File : disk.vkd");
  EXPECT_EQ(scan.host.log[0].detail, "To Location : " + fs::absolute(scan.dir.path()).string());
  EXPECT_EQ(scan.host.log[0].kind, LogKind::kInformation);
  EXPECT_EQ(scan.host.log[1].text, "Disk scan information saved successfully.");
  EXPECT_EQ(fs::file_size(scan.dir.path() / "disk.vkd"), 4u + 542 + 76);

  RecordingHost host;
  RunControl run;
  EngineState loaded(host, run);
  ASSERT_TRUE(LoadPartitionInfo(scan.dir.path() / "disk.vkd", loaded, host));
  EXPECT_EQ(loaded.partitions, scan.state.partitions);
  EXPECT_TRUE(loaded.source.IsOpen());
  EXPECT_EQ(host.log.back().text, "Disk scan information opened successfully.");
}

TEST(DiskScanInfoFile, PartitionFileUnderTheDiskExtensionIsRejected) {
  SavedScan scan;
  ASSERT_TRUE(SaveTreeInfo(scan.dir.path() / "scan.vkt", scan.state, scan.database, scan.host));
  fs::rename(scan.dir.path() / "scan.vkt", scan.dir.path() / "scan.vkd");
  EXPECT_FALSE(LoadPartitionInfo(scan.dir.path() / "scan.vkd", scan.state, scan.host));
  EXPECT_EQ(scan.host.log.back().text, "Not a valid Disk scan information");
}

}  // namespace
}  // namespace salvor
