#pragma once
// Refusing a destination that lies on the disk being recovered: writing
// there could overwrite the very clusters the save is reading.

#include "disk/block_device.h"

namespace salvor {

// True when the folder open as `dir_fd` is stored on the same disk as
// `source`. Partitions count as their whole disk, and a file system mounted
// through FUSE (ntfs-3g) counts as the device it was mounted from. An image
// file as source is never refused: the save writes new files beside it and
// never into it.
bool DestinationOnSource(int dir_fd, const BlockDevice& source);

}  // namespace salvor
