#include "disk/disk_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace salvor {
namespace {

constexpr const char* kService = "org.freedesktop.UDisks2";

struct BusDeleter {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageDeleter {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Bus = std::unique_ptr<sd_bus, BusDeleter>;
using Message = std::unique_ptr<sd_bus_message, MessageDeleter>;

// sd_bus_error with its cleanup.
struct BusError {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  ~BusError() { sd_bus_error_free(&error); }
  bool Is(const char* name) const { return sd_bus_error_has_name(&error, name); }
  std::string Text(int code) const {
    if (error.message != nullptr) return error.message;
    return std::strerror(-code);
  }
};

bool IsServiceMissing(const BusError& error) {
  return error.Is("org.freedesktop.DBus.Error.ServiceUnknown") ||
         error.Is("org.freedesktop.DBus.Error.NameHasNoOwner");
}

// The disk service's object of the block device, asked of the service itself.
std::string ResolveObject(sd_bus* bus, const std::string& device_path, DiskServiceOpen& result) {
  BusError error;
  sd_bus_message* raw_reply = nullptr;
  const int code = sd_bus_call_method(bus, kService, "/org/freedesktop/UDisks2/Manager",
                                      "org.freedesktop.UDisks2.Manager", "ResolveDevice",
                                      &error.error, &raw_reply, "a{sv}a{sv}", 1, "path", "s",
                                      device_path.c_str(), 0);
  Message reply(raw_reply);
  if (code < 0) {
    result.service_missing = IsServiceMissing(error);
    result.error = error.Text(code);
    return {};
  }
  const char* object = nullptr;
  if (sd_bus_message_enter_container(reply.get(), 'a', "o") < 0 ||
      sd_bus_message_read(reply.get(), "o", &object) <= 0 || object == nullptr) {
    result.error = device_path + ": the disk service does not know this device";
    return {};
  }
  return object;
}

}  // namespace

bool ShouldAskDiskService(const std::string& path, int error) {
  if (error != EACCES && error != EPERM) return false;
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode);
}

DiskServiceOpen OpenThroughDiskService(const std::string& device_path, DiskServiceAccess access) {
  DiskServiceOpen result;
  sd_bus* raw_bus = nullptr;
  if (const int code = sd_bus_open_system(&raw_bus); code < 0) {
    result.service_missing = true;
    result.error = std::string("system bus: ") + std::strerror(-code);
    return result;
  }
  Bus bus(raw_bus);
  // The service asks the user through the desktop's prompt before it answers.
  sd_bus_set_allow_interactive_authorization(bus.get(), 1);
  const std::string object = ResolveObject(bus.get(), device_path, result);
  if (object.empty()) return result;

  const bool writing = access == DiskServiceAccess::kReadWrite;
  BusError error;
  sd_bus_message* raw_reply = nullptr;
  const int code = sd_bus_call_method(bus.get(), kService, object.c_str(),
                                      "org.freedesktop.UDisks2.Block", "OpenDevice", &error.error,
                                      &raw_reply, "sa{sv}", writing ? "rw" : "r", 1, "flags", "i",
                                      writing ? O_EXCL : 0);
  Message reply(raw_reply);
  if (code < 0) {
    result.service_missing = IsServiceMissing(error);
    result.error = device_path + ": " + error.Text(code);
    return result;
  }
  int borrowed = -1;
  if (sd_bus_message_read(reply.get(), "h", &borrowed) <= 0 || borrowed < 0) {
    result.error = device_path + ": the disk service answered without a descriptor";
    return result;
  }
  // The message owns the descriptor it carried; ours is a copy.
  const int fd = fcntl(borrowed, F_DUPFD_CLOEXEC, 3);
  if (fd < 0) {
    result.error = device_path + ": " + std::strerror(errno);
    return result;
  }
  // Whatever the service handed over must be the device we asked for, and
  // open the way we asked: a source is never writable through us.
  struct stat wanted {};
  struct stat got {};
  const int mode = fcntl(fd, F_GETFL) & O_ACCMODE;
  const bool right_mode = writing ? mode == O_RDWR || mode == O_WRONLY : mode == O_RDONLY;
  if (stat(device_path.c_str(), &wanted) != 0 || fstat(fd, &got) != 0 || !S_ISBLK(got.st_mode) ||
      got.st_rdev != wanted.st_rdev || !right_mode) {
    close(fd);
    result.error = device_path + ": the disk service handed over another device or mode";
    return result;
  }
  result.fd = fd;
  return result;
}

}  // namespace salvor
