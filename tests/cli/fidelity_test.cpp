// salvor-cli on the fidelity fixtures: names longer than the destination
// takes, 150 hard links, a deleted file named only in extension records,
// files called "." and "..", and volumes with 128 KiB and 2 MiB clusters.
// Every file must come back byte-exact under every one of its names.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "cli_runner.h"
#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::Quote;
using testing::RunShell;
using testing::SalvorCli;
using testing::SamplesDir;
using testing::SourceDir;

struct Checked {
  unsigned ok = 0, bad = 0, inodes = 0;
  std::string text;
};

// Recovers `fixture` with `options` and checks it against its manifest;
// `change`, when given, makes a changed copy of the image in the scratch
// folder and gives its path.
Checked RecoverAndCheck(const std::string& fixture, const std::string& options,
                        std::string* summary = nullptr,
                        const std::function<fs::path(const fs::path&)>& change = {}) {
  testing::ScratchDir dir;
  fs::path image = SamplesDir() / (fixture + ".img");
  if (change) image = change(dir.path());
  const fs::path out = dir.path() / "out";
  const fs::path ls = dir.path() / "ls.json";
  Checked c;
  testing::CliRun run = SalvorCli("recover " + Quote(image.string()) + options + " --out " +
                                  Quote(out.string()), false);
  EXPECT_EQ(run.status, 0) << run.output;
  if (summary) *summary = run.output;
  EXPECT_EQ(RunShell(testing::SalvorCliCommand() + " --json ls " + Quote(image.string()) + options +
                     " > " + Quote(ls.string()))
                .status,
            0);
  c.text = RunShell("python3 " + Quote((SourceDir() / "tests/cli/check_fidelity.py").string()) +
                    " " + Quote((SamplesDir() / (fixture + ".json")).string()) + " " +
                    Quote(ls.string()) + " " + Quote(out.string()))
               .output;
  const std::size_t at = c.text.rfind("ok ");
  EXPECT_NE(at, std::string::npos) << c.text;
  if (at == std::string::npos) return c;
  EXPECT_EQ(std::sscanf(c.text.c_str() + at, "ok %u bad %u inodes %u", &c.ok, &c.bad, &c.inodes), 3);
  return c;
}

// By the MFT walk and by the Turbo Scan alike.
TEST(Fidelity, EveryNameSavedByteExactLongNamesShortenedLinksLinked) {
  for (const char* options : {"", " --turbo"}) {
    std::string summary;
    Checked c = RecoverAndCheck("names-and-links", options, &summary);
    EXPECT_EQ(c.bad, 0u) << options << c.text;
    EXPECT_EQ(c.ok, 190u) << options << c.text;
    // shared_target.txt and the deleted ext_only.bin: one file each on disk.
    EXPECT_EQ(c.inodes, 2u) << options << c.text;
    // Three files and one folder shortened, none skipped; 149 + 33 names linked.
    EXPECT_NE(summary.find("0 skipped, 0 failed, 0 excluded, 4 renamed, 182 linked"),
              std::string::npos)
        << options << summary;
  }
}

TEST(Fidelity, VolumesWithClustersAbove64KiB) {
  for (const char* fixture : {"ntfs-128k-clusters", "ntfs-2m-clusters"}) {
    for (const char* options : {"", " --search thorough --volume 1"}) {
      Checked c = RecoverAndCheck(fixture, options);
      EXPECT_EQ(c.bad, 0u) << fixture << options << c.text;
      EXPECT_EQ(c.ok, 4u) << fixture << options << c.text;
    }
  }
  // Both boot sectors gone: the volume is rebuilt from its $MFT and mirror.
  auto wipe_boot_sectors = [](const fs::path& dir) {
    const fs::path wiped = dir / "wiped.img";
    fs::copy_file(SamplesDir() / "ntfs-2m-clusters.img", wiped);
    const std::string zeros(512, '\0');
    std::fstream f(wiped, std::ios::in | std::ios::out | std::ios::binary);
    f.write(zeros.data(), 512);
    f.seekp(static_cast<std::streamoff>(fs::file_size(wiped) - 512));
    f.write(zeros.data(), 512);
    return wiped;
  };
  Checked c = RecoverAndCheck("ntfs-2m-clusters", " --search thorough --volume 1", nullptr,
                              wipe_boot_sectors);
  EXPECT_EQ(c.bad, 0u) << c.text;
  EXPECT_EQ(c.ok, 4u) << c.text;
}

}  // namespace
}  // namespace salvor
