#include "app/rescue_map_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "disk/fd_io.h"

namespace salvor {
namespace {

std::string Failure(const std::filesystem::path& path, int code) {
  return path.string() + ": " + std::strerror(code);
}

}  // namespace

std::filesystem::path RescueMapPathOf(const std::filesystem::path& image) {
  std::filesystem::path map = image;
  map += ".map";
  return map;
}

std::string WriteRescueMapFile(const std::filesystem::path& path, const RescueMap& map,
                               const std::string& command) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  const std::string text = FormatRescueMap(map, command);
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Failure(temporary, errno);
  int code = WriteFully(fd, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  // The map must not claim more than the disk holds after a power cut.
  if (code == 0 && fsync(fd) != 0) code = errno;
  if (close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) code = errno;
  if (code != 0) {
    std::remove(temporary.c_str());
    return Failure(path, code);
  }
  return {};
}

std::optional<RescueMap> ReadRescueMapFile(const std::filesystem::path& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = Failure(path, errno != 0 ? errno : ENOENT);
    return std::nullopt;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string why;
  auto map = ParseRescueMap(text, &why);
  if (!map) error = path.string() + ": " + why;
  return map;
}

}  // namespace salvor
