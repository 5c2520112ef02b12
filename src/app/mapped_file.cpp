#include "app/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace salvor {

MappedFile::~MappedFile() {
  if (mapping_) munmap(mapping_, size_);
}

int MappedFile::Open(const std::filesystem::path& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  int error = 0;
  if (fstat(fd, &st) != 0) {
    error = errno;
  } else if (!S_ISREG(st.st_mode)) {
    error = EINVAL;
  } else if (st.st_size > 0) {
    size_ = static_cast<std::size_t>(st.st_size);
    void* m = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (m == MAP_FAILED) {
      error = errno;
      size_ = 0;
    } else {
      mapping_ = m;
      data_ = static_cast<const std::uint8_t*>(m);
    }
  }
  close(fd);
  return error;
}

}  // namespace salvor
