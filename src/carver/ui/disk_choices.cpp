#include "carver/ui/disk_choices.h"

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {
namespace {

QString Heading() {
  return QStringLiteral(
             "<table width=\"100%\" cellpadding=\"6\" bgcolor=\"#3c5a78\"><tr><td align=\"center\">"
             "<span style=\"color:white; font-weight:bold; font-family:Tahoma,sans-serif; "
             "font-size:large\">%1</span></td></tr></table><hr style=\"color:#d0d0d0\">")
      .arg(Text(text::kProgramTitle));
}

QString Line(std::string_view label, const QString& value) {
  return QStringLiteral("<p>&#9679; <b>%1</b> <span style=\"color:black\">%2</span></p>")
      .arg(Text(label).toHtmlEscaped(), value.toHtmlEscaped());
}

QString Footer() { return QStringLiteral("<hr style=\"color:#6a7f99\">"); }

QString DiskLines(const DiskListEntry& disk);

QString Shown(const std::string& value) {
  return value.empty() ? QStringLiteral("N/A") : QString::fromStdString(value);
}

}  // namespace

DiskSource MachineDisks() {
  DiskSource source;
  source.list = [](Host& host) { return EnumerateDisks(host); };
  return source;
}

std::vector<DiskChoice> MakeDiskChoices(const std::vector<DiskListEntry>& disks,
                                        const std::filesystem::path& device_dir) {
  std::vector<DiskChoice> choices;
  choices.reserve(disks.size());
  for (std::size_t i = 0; i < disks.size(); ++i) {
    choices.push_back({Text(text::kDiskLabel) + QString::number(i), device_dir / disks[i].device_name,
                       disks[i]});
  }
  return choices;
}

QString DiskPanelHtml(const DiskChoice& disk) {
  return Heading() + Line(text::kPanelDevice, QString::fromStdString(disk.device_path.string())) +
         DiskLines(disk.entry) + Footer();
}

namespace {
QString DiskLines(const DiskListEntry& disk) {
  return Line(text::kPanelModel, Shown(disk.model)) +
         Line(text::kPanelSerial, Shown(disk.serial_number)) +
         Line(text::kPanelInterface, Shown(disk.interface_type)) +
         Line(text::kPanelMedia, Shown(disk.media_type)) +
         Line(text::kPanelCylinders, Shown(disk.total_cylinders)) +
         Line(text::kPanelSectorSize, Shown(disk.bytes_per_sector)) +
         Line(text::kPanelTotalSectors, Shown(disk.total_sectors));
}
}  // namespace

QString ImagePanelHtml() {
  return Heading() + Line(text::kPanelImageFile, Text(text::kImageFileHint)) + Footer();
}

}  // namespace salvor::carver::ui
