#include "ui/wizard/copy_checks.h"

#include "disk/open_failure.h"
#include "disk/texts.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_sheet.h"

namespace salvor::ui {

std::uint64_t DiskNumber(const std::string& text) {
  try {
    return std::stoull(text);
  } catch (const std::exception&) {
    return 0;
  }
}

bool OpenCopySource(CWizardSheet& sheet, int disk, WizardTask& task) {
  const DiskListEntry& entry = sheet.disks()[static_cast<std::size_t>(disk)];
  EngineState& engine = sheet.engine();
  ResetSource(engine);
  task.source_path = sheet.DevicePath(disk);
  auto bps = static_cast<std::uint16_t>(DiskNumber(entry.bytes_per_sector));
  task.bytes_per_sector = bps ? bps : 512;
  task.total_sectors = DiskNumber(entry.total_sectors);
  if (engine.source.OpenDisk(task.source_path, task.bytes_per_sector, task.total_sectors))
    return true;
  ShowMessageBox(&sheet, MessageIcon::kError, text::kCaptionError,
                 OpenFailureText(task.source_path, engine.source.open_error()));
  return false;
}

bool OpenCopyDestination(QWidget* parent, WizardTask& task, bool image) {
  DestinationOpen opened =
      image ? CreateImageFile(task.destination_path) : OpenCloneTarget(task.destination_path);
  if (!opened.destination) {
    ShowMessageBox(parent, MessageIcon::kError, text::kCaptionError,
                   OpenFailureText(task.destination_path, opened.error));
    return false;
  }
  task.destination = std::move(opened.destination);
  return true;
}

}  // namespace salvor::ui
