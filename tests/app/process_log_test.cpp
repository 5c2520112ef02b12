#include "app/process_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

std::tm MakeTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  std::time_t when = std::mktime(&t);
  std::tm back{};
  localtime_r(&when, &back);
  return back;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

const std::string kRule(68, '-');
const std::string kHeader =
    "------------------------Varnok NTFS Data Recovery v2\t.0.1  Process "
    "Log------------------------\r\n\r\n";

TEST(LogTime, YearMovesInFrontOfTheTimeAndTheDayHasTwoDigits) {
  EXPECT_EQ(LogTimeText(MakeTime(1980, 1, 2, 2, 3, 55)), "Wed Jan 02 1980 02:03:55");
  // The C date text abbreviates September to three letters, unlike default file names.
  EXPECT_EQ(LogTimeText(MakeTime(2026, 9, 9, 23, 59, 7)), "Wed Sep 09 2026 23:59:07");
}

TEST(ProcessLog, AddingStampsTheTimeAndKeepsTheOrder) {
  ProcessLog log;
  std::tm t = MakeTime(1980, 1, 2, 2, 3, 55);
  std::time_t when = std::mktime(&t);
  AddLogEntry(log, {"first", "one", "sender's time is replaced", LogKind::kInformation}, when);
  AddLogEntry(log, {"second", "", "", LogKind::kFailure}, when);
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[0].text, "first");
  EXPECT_EQ(log.entries[0].time, "Wed Jan 02 1980 02:03:55");
  EXPECT_EQ(log.entries[1].kind, LogKind::kFailure);
}

TEST(LogFile, EmptyLogIsTheHeaderAndOneRule) {
  EXPECT_EQ(LogFileText({}), kHeader + "\r\n" + kRule);
}

TEST(LogFile, TwoEntriesMatchTheLayoutByteForByte) {
  testing::ScratchDir dir;
  std::vector<LogEntry> entries = {
      {"Selected NTFS logical drive 1", "Starting Sector 63, Size  10.000 MB",
       "Wed Jan 02 1980 02:03:55", LogKind::kInformation},
      {"Completed Imaging Disk :disk,  1.00 GB, Serial:N/A", "", "Thu Jan 03 1980 10:00:00",
       LogKind::kCompleted}};
  auto path = dir.path() / "log.txt";
  testing::RecordingHost host;
  ASSERT_TRUE(SaveLogFile(path, entries, host));
  std::string expected = kHeader + "\r\n" + kRule +                          //
                         "\r\nSelected NTFS logical drive 1"                  //
                         "\r\n\t\tStarting Sector 63, Size  10.000 MB"        //
                         "\r\n\t\tWed Jan 02 1980 02:03:55\r\n" + kRule +     //
                         "\r\nCompleted Imaging Disk :disk,  1.00 GB, Serial:N/A"  //
                         "\r\n\t\t"                                           //
                         "\r\n\t\tThu Jan 03 1980 10:00:00\r\n" + kRule;
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_TRUE(host.messages.empty());
}

TEST(LogFile, UncreatableFileIsReportedAndLeavesNothingBehind) {
  testing::ScratchDir dir;
  testing::RecordingHost host;
  auto path = dir.path() / "missing-folder" / "log.txt";
  EXPECT_FALSE(SaveLogFile(path, {}, host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].text, "Error creating log file");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LogFile, AFullDiskIsAFailureAndTheShortFileIsRemoved) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  testing::ScratchDir dir;
  auto link = dir.path() / "full.txt";
  std::filesystem::create_symlink("/dev/full", link);
  testing::RecordingHost host;
  EXPECT_FALSE(SaveLogFile(link, {}, host));
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace salvor
