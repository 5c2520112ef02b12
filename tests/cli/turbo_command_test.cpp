// salvor-cli ls --turbo and recover --turbo on the Turbo Scan fixtures: a
// volume whose MFT start and two folder records were wiped, and a volume
// formatted again over an older one.

#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::Quote;
using testing::SalvorCli;

struct TurboCommand : ::testing::Test {
  testing::ScratchDir dir;

  std::string Image(const std::string& name) const {
    return (testing::SamplesDir() / (name + ".img")).string();
  }
  std::string Manifest(const std::string& name) const {
    return (testing::SamplesDir() / (name + ".json")).string();
  }
  // Lists `image` with the Turbo Scan into a file; returns its path.
  std::string TurboListing(const std::string& image) {
    const std::string listing = (dir.path() / "listing.json").string();
    testing::CliRun run = SalvorCli("--json ls --turbo " + Quote(image), false);
    EXPECT_EQ(run.status, 0);
    std::ofstream(listing) << run.output;
    return listing;
  }
  std::string Check(const std::string& manifest, const std::string& listing,
                    const std::string& out = {}) {
    const std::string script = (testing::SourceDir() / "tests/cli/check_turbo.py").string();
    return testing::RunShell("python3 " + Quote(script) + " " + Quote(manifest) + " " +
                             Quote(listing) + (out.empty() ? "" : " " + Quote(out)))
        .output;
  }
};

TEST_F(TurboCommand, DamagedMftIsRebuiltFromRecordsAndIndexBlocks) {
  // The ordinary walk cannot even find this $MFT.
  EXPECT_EQ(SalvorCli("ls " + Quote(Image("damaged-mft"))).status, 1);

  const std::string listing = TurboListing(Image("damaged-mft"));
  const std::string out = (dir.path() / "out").string();
  testing::CliRun recovered =
      SalvorCli("recover --turbo " + Quote(Image("damaged-mft")) + " --out " + Quote(out));
  EXPECT_EQ(recovered.status, 0) << recovered.output;
  const std::string report = Check(Manifest("damaged-mft"), listing, out);
  EXPECT_NE(report.find("ok 140 bad 0"), std::string::npos) << report;
}

TEST_F(TurboCommand, OldRecordsOfAReformattedVolumeAreFound) {
  const std::string listing = TurboListing(Image("reformatted"));
  const std::string report = Check(Manifest("reformatted"), listing);
  // Every surviving old record and every new one; the old records the
  // second format overwrote are not on the disk any more.
  EXPECT_NE(report.find("ok 51 bad 0"), std::string::npos) << report;
}

}  // namespace
}  // namespace salvor
