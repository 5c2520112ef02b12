// The private folder of the scan database: created 0700, a wider mode
// narrowed, and a link, a file or another user's folder refused.

#include "ntfs/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::ScratchDir;

mode_t ModeOf(const std::filesystem::path& p) {
  struct stat st {};
  EXPECT_EQ(lstat(p.c_str(), &st), 0);
  return st.st_mode & 07777;
}

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(PrivateFolderTest, MissingFolderIsCreatedPrivate) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(MakePrivateFolder(dir.path() / "db", error)) << error;
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "db"));
  EXPECT_EQ(ModeOf(dir.path() / "db"), 0700u);
}

TEST(PrivateFolderTest, WiderModeIsNarrowed) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "db");
  chmod((dir.path() / "db").c_str(), 0777);
  std::string error;
  ASSERT_TRUE(MakePrivateFolder(dir.path() / "db", error)) << error;
  EXPECT_EQ(ModeOf(dir.path() / "db"), 0700u);
}

TEST(PrivateFolderTest, SymbolicLinkIsRefused) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "elsewhere");
  chmod((dir.path() / "elsewhere").c_str(), 0755);
  std::filesystem::create_directory_symlink(dir.path() / "elsewhere", dir.path() / "db");
  std::string error;
  EXPECT_FALSE(MakePrivateFolder(dir.path() / "db", error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
  EXPECT_EQ(ModeOf(dir.path() / "elsewhere"), 0755u);  // the link's target is left alone
}

TEST(PrivateFolderTest, FileIsRefused) {
  ScratchDir dir;
  std::ofstream(dir.path() / "db") << "x";
  std::string error;
  EXPECT_FALSE(MakePrivateFolder(dir.path() / "db", error));
  EXPECT_NE(error.find("not a folder"), std::string::npos) << error;
}

TEST(PrivateFolderTest, AnotherUsersFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a folder away";
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "db");
  ASSERT_EQ(chown((dir.path() / "db").c_str(), 65534, 65534), 0);
  chmod((dir.path() / "db").c_str(), 0700);
  std::string error;
  EXPECT_FALSE(MakePrivateFolder(dir.path() / "db", error));
  EXPECT_NE(error.find("another user"), std::string::npos) << error;
}

TEST(PrivateFolderTest, TemporaryBaseIsTempThenTmpdirThenTmp) {
  {
    ScopedEnv temp("TEMP", "/some/temp");
    ScopedEnv tmpdir("TMPDIR", "/some/tmpdir");
    EXPECT_EQ(TemporaryBase(), "/some/temp");
  }
  {
    ScopedEnv temp("TEMP", "");
    ScopedEnv tmpdir("TMPDIR", "/some/tmpdir");
    EXPECT_EQ(TemporaryBase(), "/some/tmpdir");
  }
  {
    ScopedEnv temp("TEMP", nullptr);
    ScopedEnv tmpdir("TMPDIR", nullptr);
    EXPECT_EQ(TemporaryBase(), "/tmp");
  }
}

TEST(PrivateFolderTest, DatabaseFolderIsPerUserUnderTheTemporaryFolder) {
  ScratchDir dir;
  ScopedEnv temp("TEMP", dir.path().c_str());
  std::string error;
  auto folder = PrivateDatabaseFolder(error);
  ASSERT_TRUE(folder) << error;
  EXPECT_EQ(*folder, dir.path() / ("salvor-" + std::to_string(geteuid())));
  EXPECT_EQ(ModeOf(*folder), 0700u);
}

TEST(PrivateFolderTest, MissingTemporaryFolderIsReported) {
  ScratchDir dir;
  ScopedEnv temp("TEMP", (dir.path() / "gone").c_str());
  std::string error;
  EXPECT_FALSE(PrivateDatabaseFolder(error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace salvor
