// salvor-cli recover and cat on the sample disk and the hostile-names
// fixture: every recoverable file with the manifest's sha256, nothing
// outside the destination, conflicts, excluded types, and cat's bytes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_runner.h"
#include "support/test_paths.h"

namespace {

namespace fs = std::filesystem;
using salvor::testing::BinDir;
using salvor::testing::SamplesDir;
using salvor::testing::ScratchDir;
using salvor::testing::Sha256OfFile;
using salvor::testing::SourceDir;

struct Ran {
  int status = -1;
  std::string out;
};

// Runs a shell command line; stdout is captured, stderr goes to the test log.
Ran Shell(const std::string& command) {
  Ran r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Cli() { return salvor::testing::SalvorCliCommand(); }
std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

class RecoverCommandTest : public ::testing::Test {
 protected:
  // Recovers volume `volume` (1-based) of the sample disk and checks it.
  void CheckVolume(int volume, int at_least) {
    const fs::path image = SamplesDir() / "sample-disk.img";
    const fs::path out = scratch.path() / "out";
    const fs::path ls = scratch.path() / "ls.json";
    Ran r = Shell(Cli() + " recover " + Quote(image) + " --volume " + std::to_string(volume) +
                  " --out " + Quote(out));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(" 0 skipped, 0 failed"), std::string::npos) << r.out;
    ASSERT_EQ(Shell(Cli() + " --json ls " + Quote(image) + " --volume " + std::to_string(volume) +
                    " > " + Quote(ls))
                  .status,
              0);
    Ran check = Shell("python3 " + Quote(SourceDir() / "tests/cli/check_recovered.py") + " " +
                      Quote(SamplesDir() / "sample-disk.json") + " " +
                      std::to_string(volume - 1) + " " + Quote(ls) + " " + Quote(out));
    unsigned good = 0, bad = 0;
    const std::size_t at = check.out.rfind("ok ");
    ASSERT_NE(at, std::string::npos) << check.out;
    ASSERT_EQ(std::sscanf(check.out.c_str() + at, "ok %u bad %u", &good, &bad), 2) << check.out;
    EXPECT_EQ(bad, 0u) << check.out;
    EXPECT_GE(good, static_cast<unsigned>(at_least)) << check.out;
    kinds = check.out;
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
  Ran r = Shell(Cli() + " recover " + Quote(SamplesDir() / "hostile-names.img") + " --out " +
                Quote(out));
  ASSERT_EQ(r.status, 0) << r.out;
  for (const auto& e : fs::recursive_directory_iterator(scratch.path()))
    EXPECT_EQ(e.path().string().rfind(out.string(), 0), 0u) << e.path();
  // The manifest's files at their safe paths, byte for byte.
  Ran list = Shell("python3 -c \"import json,sys; [print(f['path']+'\\t'+f['sha256']) for f in "
                   "json.load(open(sys.argv[1]))['files']]\" " +
                   Quote(SamplesDir() / "hostile-names.json"));
  std::istringstream lines(list.out);
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
  ASSERT_EQ(Shell(Cli() + " recover " + Quote(image) + readme).status, 0);
  const std::string first = Sha256OfFile(out / "#" / " Root" / "readme.txt");
  // Again, skipping: the top folder "#" is taken, so the whole tree is skipped.
  Ran skip = Shell(Cli() + " --log " + Quote(log) + " recover " + Quote(image) + readme);
  EXPECT_EQ(skip.status, 0);
  EXPECT_NE(skip.out.find("0 files, 0 folders, 0 bytes saved; 1 skipped"), std::string::npos)
      << skip.out;
  std::ifstream in(log);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("file skipped"), std::string::npos) << text;
  // And renaming: "# (1)" holds a second copy.
  Ran rename = Shell(Cli() + " recover " + Quote(image) + readme + " --on-conflict rename");
  EXPECT_EQ(rename.status, 0);
  EXPECT_EQ(Sha256OfFile(out / "# (1)" / " Root" / "readme.txt"), first);
  EXPECT_EQ(Sha256OfFile(out / "#" / " Root" / "readme.txt"), first);
}

TEST_F(RecoverCommandTest, ExcludedTypesAreLeftOut) {
  const fs::path out = scratch.path() / "out";
  Ran r = Shell(Cli() + " recover " + Quote(SamplesDir() / "sample-disk.img") +
                " --volume 2 --exclude TXT,wav --out " + Quote(out));
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("5 excluded"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(out / "#" / " Root" / "readme.txt"));
  EXPECT_TRUE(fs::exists(out / "#" / " Root" / "Archive" / "notes.md"));
}

TEST_F(RecoverCommandTest, CatWritesOneFilesBytes) {
  const fs::path image = SamplesDir() / "sample-disk.img";
  // The entry of the compressed log, as ls numbers it.
  Ran find = Shell(Cli() + " --json ls " + Quote(image) +
                   " | python3 -c \"import json,sys; [print(e['entry']) for e in map(json.loads, "
                   "sys.stdin) if e['path'].endswith('Compressed/log-2023.txt')]\"");
  ASSERT_FALSE(find.out.empty());
  const fs::path data = scratch.path() / "log.bin";
  ASSERT_EQ(Shell(Cli() + " cat " + Quote(image) + " --entry " + find.out.substr(0, find.out.find('\n')) +
                  " > " + Quote(data))
                .status,
            0);
  EXPECT_EQ(Sha256OfFile(data), "1ca695a0e93ea549111628d31c56b0dd091d5cd00c4ab7ed6003a7276556595d");
  EXPECT_EQ(Shell(Cli() + " cat " + Quote(image) + " --entry 1 > /dev/null").status, 2);
}

}  // namespace
