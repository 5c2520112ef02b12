#pragma once
// What burning asks of the disc-authoring component: write a folder, with
// everything in it, onto the medium in the chosen writer.

#include <filesystem>

#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor::carver {

class DiscWriter {
 public:
  virtual ~DiscWriter() = default;
  // False when the disc was not finished (a failure the writer has shown, or a stop).
  virtual bool WriteFolder(const std::filesystem::path& folder, Host& host, RunControl& run) = 0;
};

}  // namespace salvor::carver
