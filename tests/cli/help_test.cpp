// What a user finds without reading the README: --version, an example in
// every subcommand's --help, and carve --list-types.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace {

using salvor::testing::SalvorCli;

TEST(HelpTest, VersionExamplesAndTypeList) {
  auto version = SalvorCli("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output.rfind("salvor-cli ", 0), 0u) << version.output;
  for (const char* command :
       {"disks", "info", "partitions", "ls", "recover", "cat", "image", "clone", "carve"}) {
    auto help = SalvorCli(std::string(command) + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.output.find("Examples:\n  salvor-cli " + std::string(command)), std::string::npos)
        << help.output;
  }
  auto types = SalvorCli("carve --list-types");
  EXPECT_EQ(types.status, 0) << types.output;
  EXPECT_NE(types.output.find("Graphics\n  jpg    JPEG Image\n"), std::string::npos) << types.output;
  EXPECT_EQ(SalvorCli("carve").status, 2);
}

}  // namespace
