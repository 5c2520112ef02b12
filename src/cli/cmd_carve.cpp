// salvor-cli carve: Trawler's carving scan from the command line.

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/carving_operations.h"
#include "cli/carve_save_options.h"
#include "cli/commands.h"
#include "cli/json_writer.h"

namespace salvor::cli {
namespace {

using namespace salvor::carver;

struct CarveOptions {
  std::string source;
  std::string types;
  std::string category;
  bool all = false;
  std::string max_size = "1K";  // the file type page starts at 1 KB
  std::string signatures;
  CarveSaveOptions save;
};

// "1024", "64K", "2M", "1G" (binary units); nullopt when malformed, zero or
// above 4 GiB, the range the file type page accepts.
std::optional<std::uint64_t> ParseSize(std::string text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t unit = 1;
  const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
  if (last == 'K' || last == 'M' || last == 'G') {
    unit = last == 'K' ? 1024 : last == 'M' ? 1u << 20 : 1u << 30;
    text.pop_back();
  }
  if (text.empty() || text.size() > 10 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const std::uint64_t value = std::stoull(text) * unit;
  if (value == 0 || value > (std::uint64_t{1} << 32)) return std::nullopt;
  return value;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ',')) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

struct Listed {
  std::uint64_t start;
  std::string name, category, extension;
  std::uint64_t length;
};

void Run(CliContext& ctx, const CarveOptions& o) {
  const auto max_size = ParseSize(o.max_size);
  if (!max_size) {
    std::fprintf(stderr, "salvor-cli: --max-size must be 1 byte to 4G (e.g. 512K, 10M)\n");
    ctx.exit_status = kExitUsage;
    return;
  }
  auto list = LoadSignatures(
      o.signatures.empty() ? DefaultSignaturePath() : std::filesystem::path(o.signatures),
      ctx.host);
  if (!list) {
    ctx.exit_status = kExitFailure;
    return;
  }
  SignatureSelection selection{o.all, std::nullopt, o.category, *max_size};
  if (!o.types.empty()) selection.extensions = SplitList(o.types);
  const SignatureList selected = SelectSignatures(*list, selection);
  if (selected.empty()) {
    std::fprintf(stderr, "salvor-cli: no file type selected\n");
    ctx.exit_status = kExitUsage;
    return;
  }

  CarveDisk disk;
  const OperationStatus opened = OpenCarveSource(disk, o.source, ctx.options.sector_size);
  if (!opened.completed()) {
    PrintFailure(opened);
    ctx.exit_status = kExitFailure;
    return;
  }
  ctx.host.set_progress_label("Carving");
  ctx.host.set_progress_unit_bytes(disk.sector_size);
  CarvingScanResult result = CarveSource(disk, selected, ctx.host, ctx.run, false);
  ctx.host.FinishProgress();

  std::vector<Listed> files;
  for (const auto& category : result.tree.raw_data->children) {
    for (const auto& extension : category->children) {
      for (const auto& file : extension->children) {
        files.push_back({file->StartSector(), file->name, category->name, extension->name,
                         file->length});
      }
    }
  }
  std::sort(files.begin(), files.end(),
            [](const Listed& a, const Listed& b) { return a.start < b.start; });
  for (const Listed& f : files) {
    if (ctx.options.json) {
      JsonLine line;
      line.Field("name", f.name).Field("category", f.category).Field("extension", f.extension);
      line.Field("start_sector", f.start).Field("length", f.length);
      std::printf("%s\n", line.str().c_str());
    } else {
      std::printf("%12llu %12llu  %s/%s/%s\n", static_cast<unsigned long long>(f.start),
                  static_cast<unsigned long long>(f.length), f.category.c_str(),
                  f.extension.c_str(), f.name.c_str());
    }
  }
  std::fflush(stdout);
  if (!ctx.options.json) {
    std::fprintf(stderr, "%u file(s) found in %llu sectors of %u bytes\n", result.files_found,
                 static_cast<unsigned long long>(disk.total_sectors), disk.sector_size);
  }
  if (result.disconnected) ctx.exit_status = kExitFailure;
  else if (!result.completed) ctx.exit_status = kExitStopped;
  SaveCarvedOutput(o.save, result, disk, ctx);
}

}  // namespace

void AddCarveCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("carve", "Find files by their signatures at every sector start");
  auto o = std::make_shared<CarveOptions>();
  cmd->add_option("SOURCE", o->source, "Block device or image file to scan")->required();
  auto* types = cmd->add_option("--types", o->types, "Extensions to look for, e.g. jpg,png,pdf");
  auto* category = cmd->add_option("--category", o->category, "A category, e.g. Graphics");
  auto* all = cmd->add_flag("--all", o->all, "Every type of the database");
  types->excludes(category)->excludes(all);
  category->excludes(all);
  cmd->add_option("--max-size", o->max_size,
                  "Length of found files that have no measure of their own (default 1K)");
  cmd->add_option("--signatures", o->signatures,
                  "Signature database (default: Signature beside the program)");
  AddCarveSaveOptions(*cmd, o->save);
  cmd->callback([&ctx, o] { Run(ctx, *o); });
}

}  // namespace salvor::cli
