#include <libudev.h>

#include <memory>

#include "disk/disk_list.h"

namespace salvor {
namespace {

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};

}  // namespace

std::vector<DiskListEntry> EnumerateDisks(Host& host) {
  std::unique_ptr<udev, UdevDeleter> context(udev_new());
  auto lookup = [&context](std::string_view name) {
    DeviceProperties props;
    if (!context) return props;  // no udev here: sysfs alone fills the list
    std::unique_ptr<udev_device, UdevDeleter> device(
        udev_device_new_from_subsystem_sysname(context.get(), "block", std::string(name).c_str()));
    if (!device) return props;
    for (udev_list_entry* e = udev_device_get_properties_list_entry(device.get()); e;
         e = udev_list_entry_get_next(e)) {
      const char* value = udev_list_entry_get_value(e);
      props.emplace(udev_list_entry_get_name(e), value ? value : "");
    }
    return props;
  };
  return EnumerateDisks(host, DiskListRoots{}, lookup);
}

}  // namespace salvor
