#include "app/recovery_report.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/json_line.h"
#include "app/sha256.h"

namespace salvor {
namespace {

std::string XmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\'': out += "&apos;"; break;
      case '"': out += "&quot;"; break;
      default:
        // XML 1.0 has no form for most control characters.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += '?';
        else
          out.push_back(c);
    }
  }
  return out;
}

std::string JsonRecord(const ReportItem& item) {
  JsonLine line;
  if (item.entry) line.Field("entry", std::uint64_t{*item.entry});
  if (item.start_sector) line.Field("start_sector", *item.start_sector);
  if (item.record) line.Field("record", std::uint64_t{*item.record});
  else line.Null("record");
  line.Field("path", item.original_path);
  if (item.written_path.empty()) line.Null("written");
  else line.Field("written", item.written_path);
  line.Field("size", item.size);
  if (item.sha256.empty()) line.Null("sha256");
  else line.Field("sha256", item.sha256);
  line.Field("outcome", OutcomeName(item.outcome));
  if (!item.reason.empty()) line.Field("reason", item.reason);
  return line.str() + "\n";
}

std::string DfxmlRecord(const ReportItem& item) {
  std::string x = "  <fileobject>\n";
  x += "    <filename>" + XmlEscape(item.original_path) + "</filename>\n";
  x += "    <filesize>" + std::to_string(item.size) + "</filesize>\n";
  if (item.deleted) x += std::string("    <alloc>") + (*item.deleted ? "0" : "1") + "</alloc>\n";
  if (item.record) x += "    <inode>" + std::to_string(*item.record) + "</inode>\n";
  if (item.source_offset) {
    x += "    <byte_runs>\n      <byte_run file_offset='0' img_offset='" +
         std::to_string(*item.source_offset) + "' len='" + std::to_string(item.size) + "'/>\n";
    x += "    </byte_runs>\n";
  }
  if (!item.sha256.empty()) x += "    <hashdigest type='sha256'>" + item.sha256 + "</hashdigest>\n";
  x += "  </fileobject>\n";
  return x;
}

}  // namespace

std::optional<ReportFormat> ParseReportFormat(std::string_view name) {
  if (name == "jsonl") return ReportFormat::kJsonLines;
  if (name == "dfxml") return ReportFormat::kDfxml;
  return std::nullopt;
}

std::string_view OutcomeName(ReportOutcome outcome) {
  switch (outcome) {
    case ReportOutcome::kSaved: return "saved";
    case ReportOutcome::kRenamed: return "renamed";
    case ReportOutcome::kSkipped: return "skipped";
    case ReportOutcome::kFailed: return "failed";
  }
  return "failed";
}

RecoveryReport::RecoveryReport(std::FILE* file, std::string path, ReportFormat format)
    : file_(file), path_(std::move(path)), format_(format) {}

RecoveryReport::~RecoveryReport() {
  if (file_) std::fclose(file_);
}

std::unique_ptr<RecoveryReport> RecoveryReport::Open(const std::string& path, ReportFormat format,
                                                     std::string_view source, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "we");
  if (file == nullptr) {
    error = path + ": " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<RecoveryReport> report(new RecoveryReport(file, path, format));
  if (format == ReportFormat::kDfxml) {
    std::fprintf(file,
                 "<?xml version='1.0' encoding='UTF-8'?>\n"
                 "<dfxml xmlns='http://www.forensicswiki.org/wiki/Category:Digital_Forensics_XML'"
                 " xmlns:dc='http://purl.org/dc/elements/1.1/' version='1.0'>\n"
                 "  <creator>\n    <program>salvor-cli</program>\n    <version>%s</version>\n"
                 "  </creator>\n"
                 "  <source>\n    <image_filename>%s</image_filename>\n  </source>\n",
                 SALVOR_VERSION, XmlEscape(source).c_str());
  }
  return report;
}

void RecoveryReport::Add(const ReportItem& item) {
  const std::string text = format_ == ReportFormat::kDfxml ? DfxmlRecord(item) : JsonRecord(item);
  std::fputs(text.c_str(), file_);
}

bool RecoveryReport::Close(std::string& error) {
  if (format_ == ReportFormat::kDfxml) std::fputs("</dfxml>\n", file_);
  const bool written = std::ferror(file_) == 0;
  const int saved_errno = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (written && closed) return true;
  error = path_ + ": " + std::strerror(written ? errno : saved_errno);
  return false;
}

std::string FileSha256(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return {};
  Sha256 hash;
  std::vector<std::uint8_t> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return {};
    }
    if (n == 0) break;
    hash.Update(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
  }
  ::close(fd);
  return hash.HexDigest();
}

}  // namespace salvor
