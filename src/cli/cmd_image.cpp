#include <sys/statvfs.h>

#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/copy_command.h"
#include "disk/texts.h"

namespace salvor::cli {
namespace {

// Bytes the image may take in its folder: the space free to this user, plus
// the file it replaces.
std::optional<std::uint64_t> SpaceForImage(const std::string& out) {
  std::filesystem::path folder = std::filesystem::path(out).parent_path();
  if (folder.empty()) folder = ".";
  struct statvfs fs {};
  if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
  std::uint64_t space = std::uint64_t{fs.f_bavail} * fs.f_frsize;
  std::error_code ec;
  if (std::filesystem::is_regular_file(out, ec)) space += std::filesystem::file_size(out, ec);
  return space;
}

}  // namespace

void AddImageCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("image", "Copy a disk sector by sector into an image file");
  auto source = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  cmd->add_option("SOURCE", *source, "Block device or image file to copy")->required();
  cmd->add_option("OUT", *out, "Image file to create (.vk2), replaced if it exists")->required();
  cmd->add_flag("--force", *force, "Image even when the folder seems to lack the space");
  cmd->callback([&ctx, source, out, force] {
    if (!PrepareCopySource(ctx, *source, *out)) return;
    SectorSource& src = ctx.state.source;
    std::uint64_t need = std::uint64_t{src.bytes_per_sector()} * src.total_sectors();
    std::optional<std::uint64_t> space = SpaceForImage(*out);
    if (!space) {
      ctx.host.ShowMessage(MessageIcon::kInformation, text::kCaptionProduct,
                           text::kImageSpaceUnknown);
      ctx.exit_status = kExitFailure;
      return;
    }
    ctx.host.set_answer_yes(*force);
    if (need > *space && !ctx.host.AskYesNo(text::kCaptionProduct, text::kImageSpaceLow)) {
      std::fprintf(stderr,
                   "salvor-cli: the image needs %llu bytes and %llu are free; --force images "
                   "anyway\n",
                   static_cast<unsigned long long>(need), static_cast<unsigned long long>(*space));
      ctx.exit_status = kExitFailure;
      return;
    }
    DestinationOpen image = CreateImageFile(*out);
    if (!image.destination) {
      std::fprintf(stderr, "salvor-cli: cannot create %s: %s\n", out->c_str(),
                   ErrorText(image.error).c_str());
      ctx.exit_status = kExitFailure;
      return;
    }
    MediumLabel label = DescribeMedium(ctx, *source, need);
    LogEntry heading;
    heading.text = Format(text::kImagingDiskHeading, label.model.c_str(), label.size.c_str(),
                          label.serial.c_str());
    heading.detail = Format(text::kImagingDiskDetail, out->c_str());
    RunCopyCommand(ctx, CopyKind::kImaging, *image.destination, heading);
  });
}

}  // namespace salvor::cli
