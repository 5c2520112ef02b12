#include "carver/output_folder.h"

#include <cerrno>

#include "carver/texts.h"

namespace salvor::carver {

std::optional<OutputFolder> CreateOutputFolder(int destination, Host& host, unsigned tries) {
  for (unsigned n = 0; n < tries; ++n) {
    OutputFolder out;
    out.number = n;
    out.name = std::string(text::kOutputFolderPrefix) + std::to_string(n);
    const int error = MakeSubfolder(destination, out.name, out.folder);
    if (error == 0) return out;
    if (error != EEXIST) break;
  }
  host.ShowMessage(MessageIcon::kError, text::kCaptionError, text::kFailedToWriteDestination);
  return std::nullopt;
}

}  // namespace salvor::carver
