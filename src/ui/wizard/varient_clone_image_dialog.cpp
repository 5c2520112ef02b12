#include "ui/wizard/varient_clone_image_dialog.h"

#include <QCloseEvent>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "disk/texts.h"
#include "ui/wizard/ui_host.h"
#include "ui/wizard/wizard_page.h"

namespace salvor::ui {

CVarientCloneImageDialog::CVarientCloneImageDialog(Host& log, QWidget* parent)
    : QDialog(parent), host_(std::make_unique<UiHost>(this, log)), status_(new QLabel(this)),
      bar_(new QProgressBar(this)), percent_(new QLabel(QStringLiteral("0%"), this)),
      sectors_(new QLabel(this)), stop_(new QPushButton(this)) {
  setModal(false);
  status_->setAccessibleName(QStringLiteral("Status"));
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(false);
  percent_->setAccessibleName(QStringLiteral("Percent"));
  sectors_->setAccessibleName(QStringLiteral("Sectors"));
  auto* animation = new QLabel(this);
  animation->setPixmap(ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon).pixmap(32, 32));
  animation->setAccessibleName(QStringLiteral("Activity"));
  auto* head = new QHBoxLayout;
  head->addWidget(animation);
  head->addWidget(status_, 1);
  auto* bar_row = new QHBoxLayout;
  bar_row->addWidget(bar_, 1);
  bar_row->addWidget(percent_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(new QLabel(Qt8(text::kProgressCompleted), this));
  layout->addLayout(bar_row);
  layout->addWidget(sectors_);
  layout->addWidget(stop_, 0, Qt::AlignRight);
  resize(420, 180);
  connect(stop_, &QPushButton::clicked, this, [this] { AskToStop(); });
  host_->on_progress = [this](std::uint64_t done, std::uint64_t total) { ShowProgress(done, total); };
}

CVarientCloneImageDialog::~CVarientCloneImageDialog() {
  if (thread_) {
    run_.Stop();
    thread_->wait();
  }
}

void CVarientCloneImageDialog::Start(const WizardTask& task) {
  kind_ = task.kind == WizardTaskKind::kCloneDisk ? CopyKind::kCloning : CopyKind::kImaging;
  const bool imaging = kind_ == CopyKind::kImaging;
  const QString title = Qt8(imaging ? text::kImagingTitle : text::kCloningTitle);
  setWindowTitle(title);
  setAccessibleName(title);
  stop_->setText(Qt8(imaging ? text::kStopImaging : text::kStopCloning));
  stop_->setAccessibleName(stop_->text().remove(QLatin1Char('&')));
  status_->setText(Qt8(imaging ? text::kImagingStatus : text::kCloningStatus));
  run_.Start();
  thread_ = QThread::create([this, task] {
    // A source of the worker's own: the frame's is never read from two threads.
    SectorSource source(*host_, run_);
    if (!source.OpenDisk(task.source_path, task.bytes_per_sector, task.total_sectors)) {
      result_.outcome = CopyOutcome::kFailed;
      return;
    }
    CopyJob job{kind_, task.total_sectors, kCopySectorsPerStep};
    result_ = RunCopy(source, *task.destination, job, task.log, *host_, run_);
  });
  thread_->setParent(this);
  connect(thread_, &QThread::finished, this, [this] {
    run_.Stop();
    emit copyFinished(result_.outcome);
    QDialog::done(result_.outcome == CopyOutcome::kCompleted ? Accepted : Rejected);
  });
  show();
  thread_->start();
}

void CVarientCloneImageDialog::ShowProgress(std::uint64_t current, std::uint64_t total) {
  const int percent = total ? static_cast<int>(std::min<std::uint64_t>(current * 100 / total, 100)) : 0;
  if (percent != last_percent_) {
    last_percent_ = percent;
    bar_->setValue(percent);
    percent_->setText(QString::fromStdString(Format(text::kCopyPercent, static_cast<unsigned>(percent))));
  }
  const std::string_view what = kind_ == CopyKind::kImaging ? text::kImaging : text::kCloning;
  sectors_->setText(QString::fromStdString(Format(text::kCopySectorLine, std::string(what).c_str(),
                                                  static_cast<unsigned long long>(current),
                                                  static_cast<unsigned long long>(total))));
}

void CVarientCloneImageDialog::AskToStop() {
  if (run_.IsRunning()) AskToStopCopy(kind_, *host_, run_);
}

void CVarientCloneImageDialog::closeEvent(QCloseEvent* event) {
  if (thread_ && thread_->isRunning()) event->ignore();
}

void CVarientCloneImageDialog::reject() {
  if (!thread_ || !thread_->isRunning()) QDialog::reject();
}

}  // namespace salvor::ui
