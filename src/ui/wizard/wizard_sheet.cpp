#include "ui/wizard/wizard_sheet.h"

#include <QAbstractButton>
#include <QSettings>

#include "app/volume_listing.h"
#include "disk/open_failure.h"
#include "disk/texts.h"
#include "ui/wizard/choose_sector_range.h"
#include "ui/wizard/copy_checks.h"
#include "ui/wizard/disk_scan_mode.h"
#include "ui/wizard/disk_tree.h"
#include "ui/wizard/logical_drives_found.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_clone_disk_page.h"
#include "ui/wizard/wizard_drive_selection_page.h"
#include "ui/wizard/wizard_image_disk_page.h"
#include "ui/wizard/wizard_image_selection.h"
#include "ui/wizard/wizard_main_page.h"
#include "ui/wizard/wizard_page.h"
#include "ui/wizard/wizard_partition_list_page.h"

namespace salvor::ui {

CWizardSheet::CWizardSheet(EngineState& engine, QWidget* parent)
    : CWizardSheet(engine, EnumerateDisks(engine.host()), "/dev", parent) {}

CWizardSheet::CWizardSheet(EngineState& engine, std::vector<DiskListEntry> disks,
                           std::filesystem::path device_folder, QWidget* parent)
    : QWizard(parent), engine_(engine), disks_(std::move(disks)),
      device_folder_(std::move(device_folder)) {
  setWindowTitle(Qt8(text::kWizardTitle));
  setAccessibleName(Qt8(text::kWizardTitle));
  setOption(QWizard::HaveHelpButton);
  setOption(QWizard::NoBackButtonOnStartPage);
  state_.run_on_startup =
      QSettings(kSettingsOrganization, kSettingsApplication).value(kStartUpSetting, 0).toInt() != 0;
  setPage(kMainPage, new CWizardMainPage(this));
  setPage(kDrivePage, new CWizardDriveSelectionPage(this));
  setPage(kImagePage, new CwizardImageSelection(this));
  setPage(kClonePage, new CWizardCloneDiskPage(this));
  setPage(kImageDiskPage, new CWizardImageDiskPage(this));
  setPage(kPartitionPage, new CWizardPartitionListPage(this));
  setStartId(kMainPage);
  button(QWizard::BackButton)->setAccessibleName(QStringLiteral("Back"));
  button(QWizard::NextButton)->setAccessibleName(QStringLiteral("Next"));
  button(QWizard::FinishButton)->setAccessibleName(QStringLiteral("Finish"));
  button(QWizard::CancelButton)->setAccessibleName(QStringLiteral("Cancel"));
  button(QWizard::HelpButton)->setAccessibleName(QStringLiteral("Help"));
  connect(this, &QWizard::helpRequested, this, [this] {
    if (auto* page = dynamic_cast<CWizardPageBase*>(currentPage())) emit helpRequested(page->HelpTopic());
  });
  resize(760, 600);
}

CWizardSheet::~CWizardSheet() {
  QSettings(kSettingsOrganization, kSettingsApplication)
      .setValue(kStartUpSetting, state_.run_on_startup ? 1 : 0);
}

void CWizardSheet::StartAtPartitionList(WizardTaskKind kind, std::string source_path) {
  task_ = WizardTask{};
  task_.kind = kind;
  task_.source_path = std::move(source_path);
  setStartId(kPartitionPage);
}

std::string CWizardSheet::DevicePath(int disk) const {
  return (device_folder_ / disks_.at(static_cast<std::size_t>(disk)).device_name).string();
}

void CWizardSheet::SendLog(const LogEntry& entry) { engine_.host().AddLogEntry(entry); }

bool CWizardSheet::OpenSourceAndListVolumes(bool image) {
  ResetSource(engine_);
  LogEntry log;
  std::string path;
  if (image) {
    path = state_.image_path;
    log.text = std::string(text::kSelectedImage) + path;
    if (!engine_.source.OpenImage(path)) {
      ShowMessageBox(this, MessageIcon::kError, text::kCaptionError,
                     OpenFailureText(path, engine_.source.open_error()));
      return false;
    }
  } else {
    const DiskListEntry& disk = disks_.at(static_cast<std::size_t>(state_.source_disk));
    path = DevicePath(state_.source_disk);
    log.text = DiskDescription(disk).toStdString();
    auto bps = static_cast<std::uint16_t>(DiskNumber(disk.bytes_per_sector));
    if (!engine_.source.OpenDisk(path, bps ? bps : 512, DiskNumber(disk.total_sectors))) {
      ShowMessageBox(this, MessageIcon::kError, text::kCaptionError,
                     OpenFailureText(path, engine_.source.open_error()));
      return false;
    }
  }
  task_ = WizardTask{};
  task_.kind = image ? WizardTaskKind::kRecoverImage : WizardTaskKind::kRecoverDisk;
  task_.source_path = path;

  if (!state_.search_lost) {
    log.detail = std::string(image ? text::kImagePartitionTable : text::kDiskPartitionTable);
    VolumeListRequest tables;
    // A disk's sector size comes from the disk list, an image's only from its stamp.
    tables.sector_size_forced = !image || engine_.source.has_sector_size_stamp();
    if (ListVolumes(engine_, tables).failed()) return false;  // the source has said why
    if (engine_.partitions.empty()) {
      ShowMessageBox(this, MessageIcon::kError, text::kCaptionProduct,
                     image ? text::kUseSearchImage : text::kUseSearchDisk);
      return false;
    }
    SendLog(log);
    return true;
  }

  log.detail = std::string(image ? text::kImageVolumeScan : text::kDiskVolumeScan);
  SendLog(log);
  CDiskScanMode mode(this);
  if (mode.exec() != QDialog::Accepted) return false;
  SearchRequest request{0, engine_.source.total_sectors(), mode.Thorough()};
  if (request.thorough) {
    CChooseSectorRange range(engine_.source.total_sectors(), engine_.source.bytes_per_sector(),
                             this);
    if (range.exec() != QDialog::Accepted) return false;
    request.start_sector = range.StartSector();
    request.end_sector = range.EndSector();
  }
  SendLog({std::string(text::kSearchingVolumes),
           Format(text::kSectorsRange, static_cast<unsigned long long>(request.start_sector),
                  static_cast<unsigned long long>(request.end_sector)),
           {}, LogKind::kInformation});
  CLogicalDrivesFound search(engine_, request, path, image, this);
  search.exec();
  engine_.partitions = search.Volumes();
  return true;
}

void CWizardSheet::reject() {
  const bool partition_page = currentId() == kPartitionPage;
  if (AskYesNoBox(this, partition_page ? text::kCaptionProduct : text::kCaptionConfirm,
                  text::kCloseWizardQuestion))
    QWizard::reject();
}

void CWizardSheet::done(int code) {
  // The wizard validates the page here and may stay open: only a real close counts.
  setResult(QDialog::Rejected);
  QWizard::done(code);
  if (result() == QDialog::Accepted) emit taskChosen(task_);
}

}  // namespace salvor::ui
