// salvor-cli recover and cat on the sample disk and the hostile-names
// fixture: every recoverable file with the manifest's sha256, nothing
// outside the destination, conflicts, excluded types, and cat's bytes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_runner.h"
#include "support/shell.h"
#include "support/test_paths.h"

namespace {

namespace fs = std::filesystem;
using salvor::testing::BinDir;
using salvor::testing::RunShell;
using salvor::testing::SamplesDir;
using salvor::testing::ScratchDir;
using salvor::testing::ShellRun;
using salvor::testing::Sha256OfFile;
using salvor::testing::SourceDir;

std::string Cli() { return salvor::testing::SalvorCliCommand(); }
std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

class RecoverCommandTest : public ::testing::Test {
 protected:
  // Recovers volume `volume` (1-based) of the sample disk and checks it.
  void CheckVolume(int volume, int at_least) {
    const fs::path image = SamplesDir() / "sample-disk.img";
    const fs::path out = scratch.path() / "out";
    const fs::path ls = scratch.path() / "ls.json";
    ShellRun r = RunShell(Cli() + " recover " + Quote(image) + " --volume " + std::to_string(volume) +
                  " --out " + Quote(out));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(" 0 skipped, 0 failed"), std::string::npos) << r.output;
    ASSERT_EQ(RunShell(Cli() + " --json ls " + Quote(image) + " --volume " + std::to_string(volume) +
                    " > " + Quote(ls))
                  .status,
              0);
    ShellRun check = RunShell("python3 " + Quote(SourceDir() / "tests/cli/check_recovered.py") + " " +
                      Quote(SamplesDir() / "sample-disk.json") + " " +
                      std::to_string(volume - 1) + " " + Quote(ls) + " " + Quote(out));
    unsigned good = 0, bad = 0;
    const std::size_t at = check.output.rfind("ok ");
    ASSERT_NE(at, std::string::npos) << check.output;
    ASSERT_EQ(std::sscanf(check.output.c_str() + at, "ok %u bad %u", &good, &bad), 2) << check.output;
    EXPECT_EQ(bad, 0u) << check.output;
    EXPECT_GE(good, static_cast<unsigned>(at_least)) << check.output;
    kinds = check.output;
  }

  ScratchDir scratch;
  std::string kinds;
};

TEST_F(RecoverCommandTest, FirstVolumeRecoversEveryFileWithItsHash) {
  CheckVolume(1, 390);
  for (const char* kind : {"compressed=", "sparse=", "fragmented=", "attribute_list=",
                           "unicode=", "long_name=", "empty=", "deleted="})
    EXPECT_NE(kinds.find(kind), std::string::npos) << kind << " not covered: " << kinds;
}

TEST_F(RecoverCommandTest, SecondVolumeRecoversEveryFileWithItsHash) { CheckVolume(2, 9); }

TEST_F(RecoverCommandTest, HostileNamesStayInsideTheDestination) {
  const fs::path out = scratch.path() / "out";
  ShellRun r = RunShell(Cli() + " recover " + Quote(SamplesDir() / "hostile-names.img") + " --out " +
                Quote(out));
  ASSERT_EQ(r.status, 0) << r.output;
  for (const auto& e : fs::recursive_directory_iterator(scratch.path()))
    EXPECT_EQ(e.path().string().rfind(out.string(), 0), 0u) << e.path();
  // The manifest's files at their safe paths, byte for byte.
  ShellRun list = RunShell("python3 -c \"import json,sys; [print(f['path']+'\\t'+f['sha256']) for f in "
                   "json.load(open(sys.argv[1]))['files']]\" " +
                   Quote(SamplesDir() / "hostile-names.json"));
  std::istringstream lines(list.output);
  int files = 0;
  for (std::string line; std::getline(lines, line); ++files) {
    const auto tab = line.find('\t');
    const fs::path file = out / "#" / " Root" / line.substr(0, tab);
    EXPECT_EQ(Sha256OfFile(file), line.substr(tab + 1)) << file;
  }
  EXPECT_EQ(files, 5);
}

TEST_F(RecoverCommandTest, ConflictsAreSkippedOrRenamedNeverOverwritten) {
  const fs::path image = SamplesDir() / "sample-disk.img";
  const fs::path out = scratch.path() / "out";
  const fs::path log = scratch.path() / "log.txt";
  const std::string readme = " --entry 0 --volume 2 --out " + Quote(out);
  ASSERT_EQ(RunShell(Cli() + " recover " + Quote(image) + readme).status, 0);
  const std::string first = Sha256OfFile(out / "#" / " Root" / "readme.txt");
  // Again, skipping: the top folder "#" is taken, so the whole tree is skipped.
  ShellRun skip = RunShell(Cli() + " --log " + Quote(log) + " recover " + Quote(image) + readme);
  EXPECT_EQ(skip.status, 0);
  EXPECT_NE(skip.output.find("0 files, 0 folders, 0 bytes saved; 1 skipped"), std::string::npos)
      << skip.output;
  std::ifstream in(log);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("file skipped"), std::string::npos) << text;
  // And renaming: "# (1)" holds a second copy.
  ShellRun rename = RunShell(Cli() + " recover " + Quote(image) + readme + " --on-conflict rename");
  EXPECT_EQ(rename.status, 0);
  EXPECT_EQ(Sha256OfFile(out / "# (1)" / " Root" / "readme.txt"), first);
  EXPECT_EQ(Sha256OfFile(out / "#" / " Root" / "readme.txt"), first);
}

TEST_F(RecoverCommandTest, ExcludedTypesAreLeftOut) {
  const fs::path out = scratch.path() / "out";
  ShellRun r = RunShell(Cli() + " recover " + Quote(SamplesDir() / "sample-disk.img") +
                " --volume 2 --exclude TXT,wav --out " + Quote(out));
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("5 excluded"), std::string::npos) << r.output;
  EXPECT_FALSE(fs::exists(out / "#" / " Root" / "readme.txt"));
  EXPECT_TRUE(fs::exists(out / "#" / " Root" / "Archive" / "notes.md"));
}

std::string CheckReport(const fs::path& report, const char* form, const fs::path& out) {
  return RunShell("python3 " + Quote(SourceDir() / "tests/cli/check_report.py") + " " + Quote(report) +
                  " " + form + " " + Quote(out))
      .output;
}

// A report names every item with its outcome and the digest of what was
// written; it is opened before the work, so a report that cannot be
// written stops the run before anything is saved.
TEST_F(RecoverCommandTest, ReportRecordsEveryItemWithTheDigestOfWhatWasWritten) {
  const fs::path image = SamplesDir() / "sample-disk.img";
  const fs::path out = scratch.path() / "out";
  const std::string recover = Cli() + " recover " + Quote(image) + " --volume 2 --out " + Quote(out);
  ShellRun r = RunShell(recover + " --report " + Quote(scratch.path() / "r.jsonl"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(CheckReport(scratch.path() / "r.jsonl", "jsonl", out),
            "records 19 saved 19 renamed 0 skipped 0 failed 0 ok 12 bad 0\n");
  r = RunShell(recover + " --on-conflict rename --report-format dfxml --report " +
               Quote(scratch.path() / "r.xml"));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(CheckReport(scratch.path() / "r.xml", "dfxml", out).find(" ok 12 bad 0"), std::string::npos);

  const fs::path elsewhere = scratch.path() / "elsewhere";
  r = RunShell(Cli() + " recover " + Quote(image) + " --volume 2 --out " + Quote(elsewhere) +
               " --report " + Quote(scratch.path() / "no" / "r.jsonl") + " 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find((scratch.path() / "no" / "r.jsonl").string() + ": No such file or directory"),
            std::string::npos) << r.output;
  EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(RecoverCommandTest, DryRunCountsAndCreatesNothing) {
  const fs::path out = scratch.path() / "out";
  ShellRun r = RunShell(Cli() + " recover " + Quote(SamplesDir() / "sample-disk.img") +
                        " --volume 2 --exclude .wav --dry-run --report " + Quote(scratch.path() / "r") +
                        " --out " + Quote(out));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("dry run: 10 files, 7 folders"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("2 excluded"), std::string::npos) << r.output;
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(scratch.path() / "r"));
}

TEST_F(RecoverCommandTest, CatWritesOneFilesBytes) {
  const fs::path image = SamplesDir() / "sample-disk.img";
  // The entry of the compressed log, as ls numbers it.
  ShellRun find = RunShell(Cli() + " --json ls " + Quote(image) +
                   " | python3 -c \"import json,sys; [print(e['entry']) for e in map(json.loads, "
                   "sys.stdin) if e['path'].endswith('Compressed/log-2023.txt')]\"");
  ASSERT_FALSE(find.output.empty());
  const fs::path data = scratch.path() / "log.bin";
  ASSERT_EQ(RunShell(Cli() + " cat " + Quote(image) + " --entry " + find.output.substr(0, find.output.find('\n')) +
                  " > " + Quote(data))
                .status,
            0);
  EXPECT_EQ(Sha256OfFile(data), "1ca695a0e93ea549111628d31c56b0dd091d5cd00c4ab7ed6003a7276556595d");
  EXPECT_EQ(RunShell(Cli() + " cat " + Quote(image) + " --entry 1 > /dev/null").status, 2);
}

}  // namespace
