#pragma once
// What burning asks of the disc-authoring component: write a folder, with
// everything in it, onto the medium in the chosen writer.

#include <filesystem>
#include <functional>
#include <string_view>

#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor::carver {

// The status line's text while a long step runs ("Finalizing ...").
using StatusListener = std::function<void(std::string_view status)>;

class DiscWriter {
 public:
  virtual ~DiscWriter() = default;
  // False when the disc was not finished (a failure the writer has shown, or a stop).
  virtual bool WriteFolder(const std::filesystem::path& folder, Host& host, RunControl& run,
                           const StatusListener& on_status) = 0;
};

}  // namespace salvor::carver
