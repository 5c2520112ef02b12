#pragma once
// What to tell the user when a disk or image cannot be opened. A desktop user
// usually lacks the rights to read raw disks; a bare error code does not say
// how to get them, so that case is put in plain words.

#include <string>

namespace salvor {

// Missing rights rather than a missing or broken source.
bool IsPermissionError(int error);

// The text for a failed open of `path` with errno `error`: for missing rights
// to a device, the group that owns it and how to join it (or sudo); for
// missing rights to a file, that its owner must grant them; else the
// platform's text for the error.
std::string OpenFailureText(const std::string& path, int error);

}  // namespace salvor
