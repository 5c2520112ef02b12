#pragma once
// Where tests find the unpacked sample images, the source tree and the built
// programs, and a private scratch folder per test.

#include <filesystem>
#include <string>

namespace salvor::testing {

std::filesystem::path SamplesDir();
std::filesystem::path SourceDir();
std::filesystem::path BinDir();
// A fresh empty folder named after the running test; removed by ScratchDir's destructor.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The sha256 of a file's bytes, as lower-case hex (computed with sha256sum).
std::string Sha256OfFile(const std::filesystem::path& file);

}  // namespace salvor::testing
