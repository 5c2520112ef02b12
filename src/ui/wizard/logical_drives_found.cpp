#include "ui/wizard/logical_drives_found.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <algorithm>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {

CLogicalDrivesFound::CLogicalDrivesFound(EngineState& engine, const SearchRequest& request,
                                         std::string path, bool image, QWidget* parent)
    : QDialog(parent), engine_(engine), request_(request), path_(std::move(path)), image_(image),
      host_(std::make_unique<UiHost>(this, engine.host())),
      list_(new QTreeWidget(this)), bar_(new QProgressBar(this)), percent_(new QLabel(this)),
      status_(new QLabel(this)), abort_(new QPushButton(Qt8(text::kAbortProcess), this)) {
  const auto title = Qt8(request.thorough ? text::kThoroughScanTitle : text::kQuickScanTitle);
  setWindowTitle(title);
  setAccessibleName(title);
  list_->setAccessibleName(QStringLiteral("Found drives"));
  list_->setHeaderLabels({Qt8(text::kColumnName), Qt8(text::kStartingLocation)});
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->header()->resizeSection(0, 160);
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(false);
  percent_->setAccessibleName(QStringLiteral("Percent"));
  percent_->setText(QStringLiteral("0%"));
  status_->setAccessibleName(QStringLiteral("Status"));
  abort_->setAccessibleName(QStringLiteral("Abort Process"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(status_);
  auto* row = new QHBoxLayout;
  row->addWidget(bar_, 1);
  row->addWidget(percent_);
  layout->addLayout(row);
  layout->addWidget(abort_, 0, Qt::AlignRight);
  resize(420, 300);
  connect(abort_, &QPushButton::clicked, this, [this] { AskToAbort(); });
  host_->on_progress = [this](std::uint64_t done, std::uint64_t total) { ShowProgress(done, total); };
}

CLogicalDrivesFound::~CLogicalDrivesFound() {
  if (thread_) {
    run_.Stop();
    thread_->wait();
  }
}

void CLogicalDrivesFound::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!thread_) StartSearch();
}

void CLogicalDrivesFound::StartSearch() {
  const std::uint16_t bps = engine_.source.bytes_per_sector();
  const std::uint64_t total = engine_.source.total_sectors();
  run_.Start();
  thread_ = QThread::create([this, bps, total] {
    // The worker reads through a source of its own, so that the one the
    // frame holds is never touched from two threads.
    EngineState worker(*host_, run_);
    bool opened = image_ ? worker.source.OpenImage(path_) : worker.source.OpenDisk(path_, bps, total);
    if (!opened) return;
    worker.source.SetBytesPerSector(bps);
    auto found = [this](std::size_t drive, const VolumeInfo& v) {
      QMetaObject::invokeMethod(
          this,
          [this, drive, start = v.first_sector] {
            new QTreeWidgetItem(list_, {QString::fromStdString(Format(text::kFoundDriveRow,
                                                                       static_cast<int>(drive))),
                                        QString::number(start)});
          },
          Qt::BlockingQueuedConnection);
    };
    try {
      completed_ = RunPartitionSearch(worker, request_, found);
    } catch (const UserException&) {
      completed_ = false;
    }
    volumes_ = worker.partitions;
  });
  thread_->setParent(this);
  connect(thread_, &QThread::finished, this, [this] {
    run_.Stop();
    QDialog::accept();
  });
  thread_->start();
}

void CLogicalDrivesFound::ShowProgress(std::uint64_t current, std::uint64_t end) {
  const int percent = end ? static_cast<int>(std::min<std::uint64_t>(current * 100 / end, 100)) : 0;
  if (percent != last_percent_) {
    last_percent_ = percent;
    bar_->setValue(percent);
    percent_->setText(QString::fromStdString(Format(text::kCopyPercent, static_cast<unsigned>(percent))));
  }
  status_->setText(QString::fromStdString(Format(text::kScanningSector,
                                                 static_cast<unsigned long long>(current),
                                                 static_cast<unsigned long long>(end))));
}

void CLogicalDrivesFound::AskToAbort() {
  if (!run_.IsRunning()) return;
  if (AskYesNoBox(this, text::kCaptionConfirm, text::kAbortScanningQuestion)) run_.Stop();
}

void CLogicalDrivesFound::reject() { AskToAbort(); }

}  // namespace salvor::ui
