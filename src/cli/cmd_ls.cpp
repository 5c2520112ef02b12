// salvor-cli ls: rebuilds a volume's tree into the scan database and lists
// it breadth first from the top entry, present and deleted entries alike.

#include <unistd.h>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <deque>
#include <unordered_set>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/volume_tree.h"
#include "disk/text_format.h"
#include "disk/texts.h"
#include "ntfs/scan_database_reader.h"

namespace salvor::cli {
namespace {

// "YYYY-MM-DD" of a DOS date, or nothing for a date that was never set.
std::optional<std::string> DateText(std::uint16_t dos) {
  const std::optional<DosDate> date = DecodeDosDate(dos);
  if (!date) return std::nullopt;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", date->year, date->month, date->day);
  return std::string(buf);
}

void AppendNumber(std::string& out, std::uint64_t value) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, end);
}

// YYYY-MM-DD written digit by digit: formatting two dates per entry with
// printf cost a tenth of a large listing.
void AppendJsonDate(std::string& out, std::uint16_t dos) {
  const std::optional<DosDate> date = DecodeDosDate(dos);
  if (!date) {
    out += "null";
    return;
  }
  const auto [year, month, day] = *date;
  const char text[] = {'"',
                       static_cast<char>('0' + year / 1000),
                       static_cast<char>('0' + year / 100 % 10),
                       static_cast<char>('0' + year / 10 % 10),
                       static_cast<char>('0' + year % 10),
                       '-',
                       static_cast<char>('0' + month / 10),
                       static_cast<char>('0' + month % 10),
                       '-',
                       static_cast<char>('0' + day / 10),
                       static_cast<char>('0' + day % 10),
                       '"'};
  out.append(text, sizeof text);
}

// A JSON string appended in place; only '"', '\\' and control characters
// need escaping in UTF-8 text.
void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text.substr(plain, i - plain));
    out += JsonQuote(text.substr(i, 1)).substr(1, std::string::npos);
    out.pop_back();
    plain = i + 1;
  }
  out.append(text.substr(plain));
  out += '"';
}

void AppendJsonLine(std::string& out, const EntryNode& e, const std::string& path) {
  out += "{\"entry\":";
  AppendNumber(out, e.entry_number);
  out += ",\"path\":";
  AppendJsonString(out, path);
  out += ",\"size\":";
  AppendNumber(out, e.size);
  out += e.folder() ? ",\"folder\":true" : ",\"folder\":false";
  out += e.present() ? ",\"deleted\":false" : ",\"deleted\":true";
  out += ",\"flags\":";
  AppendNumber(out, e.flags);
  out += ",\"record\":";
  AppendNumber(out, e.own_record);
  out += ",\"parent\":";
  AppendNumber(out, e.parent_record);
  out += ",\"created\":";
  AppendJsonDate(out, e.creation_date);
  out += ",\"accessed\":";
  AppendJsonDate(out, e.access_date);
  out += ",\"record_sector\":";
  AppendNumber(out, e.record_sector);
  out += "}\n";
}

void AppendTextLine(std::string& out, const EntryNode& e, const std::string& path) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%-6s  %-7s  %12llu  %-10s  %-10s  %10u  %10u  ",
                e.folder() ? "folder" : "file", e.present() ? "present" : "deleted",
                static_cast<unsigned long long>(e.size),
                DateText(e.creation_date).value_or("-").c_str(),
                DateText(e.access_date).value_or("-").c_str(), e.own_record, e.parent_record);
  out += buf;
  out += path;
  out += '\n';
}

// Prints the tree breadth first from entry 0; only the folders waiting their
// turn are held in memory. False when the database cannot be read.
bool ListTree(ScanDatabaseReader& db, bool json) {
  std::string out;
  out.reserve(1 << 16);
  auto flush = [&out] {
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
  };
  if (!json) {
    out += kLsHeader;
    out += '\n';
  }
  struct Pending {
    std::uint32_t block;
    std::string path;
  };
  std::deque<Pending> folders{{0, std::string()}};
  std::unordered_set<std::uint32_t> listed{0};  // a damaged tree must not loop
  bool readable = true;
  while (readable && !folders.empty()) {
    Pending folder = std::move(folders.front());
    folders.pop_front();
    readable = db.VisitChildren(folder.block, [&](const EntryNode& e) {
      std::string path = folder.path;
      if (!path.empty()) path += '/';
      path += Utf16ToUtf8(e.name);
      if (json)
        AppendJsonLine(out, e, path);
      else
        AppendTextLine(out, e, path);
      if (out.size() > (1 << 16) - 1024) flush();
      if (e.folder() && listed.insert(e.child_block).second)
        folders.push_back({e.child_block, std::move(path)});
      return true;
    });
  }
  flush();
  return readable;
}

void RunLs(CliContext& ctx, const std::string& source, const VolumeOptions& options) {
  VolumeTree tree;
  if (!OpenVolumeTree(ctx, source, options, tree)) return;
  // The walk is over: a further Ctrl+C ends the listing at once.
  std::signal(SIGINT, SIG_DFL);
  if (!isatty(STDOUT_FILENO)) std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
  if (!ListTree(tree.db, ctx.options.json)) {
    ctx.host.ShowError(tree.db.error());
    ctx.exit_status = kExitFailure;
    return;
  }
  std::fflush(stdout);
  ctx.host.AddLogEntry({std::string(text::kCompletedPopulating), "", "", LogKind::kCompleted});
  ctx.exit_status = tree.stopped ? kExitStopped : kExitOk;
}

}  // namespace

void AddLsCommand(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand(
      "ls", "Rebuild a volume's tree and list every entry, deleted ones included");
  auto source = std::make_shared<std::string>();
  auto options = std::make_shared<VolumeOptions>();
  auto* source_option = cmd->add_option("SOURCE", *source, "Block device or image file");
  AddVolumeTreeOptions(cmd, *options, source_option);
  cmd->callback([&ctx, source, options] { RunLs(ctx, *source, *options); });
}

}  // namespace salvor::cli
