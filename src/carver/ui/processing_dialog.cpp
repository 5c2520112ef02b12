#include "carver/ui/processing_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <chrono>

#include "carver/save_selection.h"
#include "carver/texts.h"
#include "carver/ui/carving_jobs.h"
#include "carver/ui/help_window.h"
#include "carver/ui/trawler_session.h"
#include "carver/ui/ui_text.h"
#include "disk/text_format.h"

namespace salvor::carver::ui {
namespace {

QLabel* NamedLabel(const QString& name, const QString& initial, QWidget* parent) {
  auto* label = new QLabel(initial, parent);
  label->setAccessibleName(name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

CVarnokDFRProcessingDialog::CVarnokDFRProcessingDialog(Mode mode, TrawlerSession& session,
                                                       QWidget* parent)
    : QDialog(parent), mode_(mode), session_(session), host_(this) {
  setWindowTitle(Text(text::kProcessingDetails));
  setAccessibleName(QStringLiteral("Processing page"));
  BuildLayout();
  host_.on_progress = [this](quint64 done, quint64 total) { OnProgress(done, total); };
  clock_.setInterval(1000);
  connect(&clock_, &QTimer::timeout, this, &CVarnokDFRProcessingDialog::Tick);
  clock_.start();
  if (mode_ == Mode::kScan) {
    ShowScanTexts();
    status_->setText(Text(text::kScanningInProgress));
    QMetaObject::invokeMethod(this, &CVarnokDFRProcessingDialog::OnStartScan, Qt::QueuedConnection);
  } else {
    ShowSaveTexts();
    status_->setText(Text(session_.save.compress ? text::kSavingCompressedInProgress
                                                 : text::kSavingInProgress));
    QMetaObject::invokeMethod(this, &CVarnokDFRProcessingDialog::OnStartSave, Qt::QueuedConnection);
  }
}

CVarnokDFRProcessingDialog::~CVarnokDFRProcessingDialog() {
  // Only reached once the worker has ended (the page closes on its end), or
  // when the program quits under a running worker: then it must stop first.
  if (worker_ != nullptr) {
    run_.Stop();
    worker_->wait();
  }
}

void CVarnokDFRProcessingDialog::BuildLayout() {
  details_ = NamedLabel(QStringLiteral("Details"), QString(), this);
  second_text_ = NamedLabel(QStringLiteral("Source or totals"), QString(), this);
  explanation_ = NamedLabel(QStringLiteral("Explanation"), QString(), this);
  status_ = NamedLabel(QStringLiteral("Status"), Text(text::kStatus), this);
  percent_ = NamedLabel(QStringLiteral("Percentage"), QStringLiteral("0%"), this);
  elapsed_ = NamedLabel(QStringLiteral("Time elapsed"), QStringLiteral("00:00:00"), this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setAccessibleName(QStringLiteral("Progress"));
  pause_ = new QPushButton(Text(text::kPause), this);
  pause_->setAccessibleName(QStringLiteral("Pause"));
  stop_ = new QPushButton(Text(text::kStop), this);
  stop_->setAccessibleName(QStringLiteral("Stop"));
  connect(pause_, &QPushButton::clicked, this, &CVarnokDFRProcessingDialog::OnPauseResume);
  connect(stop_, &QPushButton::clicked, this, &CVarnokDFRProcessingDialog::OnStop);

  QFont bold = details_->font();
  bold.setBold(true);
  details_->setFont(bold);
  auto* grid = new QGridLayout;
  grid->addWidget(status_, 0, 0, 1, 2);
  grid->addWidget(bar_, 1, 0);
  grid->addWidget(percent_, 1, 1);
  auto* time_label = new QLabel(Text(text::kTimeElapsed), this);
  time_label->setBuddy(elapsed_);
  grid->addWidget(time_label, 2, 0, Qt::AlignRight);
  grid->addWidget(elapsed_, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddHelp(this, HelpTopic::kProcessing));
  buttons->addStretch();
  buttons->addWidget(pause_);
  buttons->addWidget(stop_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(details_);
  layout->addWidget(second_text_);
  layout->addWidget(explanation_);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
  setMinimumWidth(560);
}

void CVarnokDFRProcessingDialog::ShowScanTexts() {
  details_->setText(Text(Format(text::kScanningDetails, static_cast<unsigned>(session_.selected.size()),
                                files_found_)));
  second_text_->setText(Text(Format(text::kScanningDisk, session_.disk.size_text.c_str(),
                                    session_.disk.model_text.c_str())));
  explanation_->setText(Text(text::kScanningExplanation));
}

void CVarnokDFRProcessingDialog::ShowSaveTexts() {
  const FoundNode& root = *session_.scan.tree.root;
  const Selection selected = CountSelected(root);
  const std::uint64_t items = CountItemsToSave(root);
  const std::uint64_t folders = items > selected.files ? items - selected.files : 0;
  OnTargetChanged(QString::fromStdString(session_.save.destination));
  second_text_->setText(Text(Format(text::kSavingTotals, TotalsSizeText(selected.bytes).toUtf8().constData(),
                                    static_cast<unsigned long long>(selected.files),
                                    static_cast<unsigned long long>(folders))));
  explanation_->setText(Text(text::kSavingExplanation));
}

bool CVarnokDFRProcessingDialog::WorkerRunning() const {
  return worker_ != nullptr && !worker_->isFinished();
}

void CVarnokDFRProcessingDialog::StartWorker(const std::function<void()>& body) {
  run_.Start();
  worker_ = QThread::create(body);
  connect(worker_, &QThread::finished, this, &CVarnokDFRProcessingDialog::OnProcessEnded);
  worker_->start();
}

void CVarnokDFRProcessingDialog::OnStartScan() {
  StartWorker([this] {
    auto last = std::chrono::steady_clock::now();
    RunScanJob(session_, host_, run_, [this, &last](std::uint32_t count) {
      // A count a fifth of a second old is current enough; the last one is
      // shown when the scan ends.
      const auto now = std::chrono::steady_clock::now();
      if (now - last < std::chrono::milliseconds(200)) return;
      last = now;
      host_.OnOwnerThread([this, count] { OnFilesFound(count); });
    });
  });
}

void CVarnokDFRProcessingDialog::OnStartSave() {
  StartWorker([this] {
    SaveEvents events;
    events.on_target = [this](const std::filesystem::path& target) {
      const QString shown = QString::fromStdString(target.string());
      host_.OnOwnerThread([this, &shown] { OnTargetChanged(shown); });
    };
    events.on_status = [this](std::string_view status) {
      const QString shown = Text(status);
      host_.OnOwnerThread([this, &shown] { OnStatus(shown); });
    };
    const SaveResult result = RunSaveJob(session_, host_, run_, events);
    if (result.status == SaveStatus::kCompleted) {
      const auto& folder = session_.save.compress ? result.archive_folder : result.output_folder;
      const QString shown = QString::fromStdString(folder.string());
      host_.OnOwnerThread([this, &shown] { saved_folder_ = shown; });
    }
  });
}

void CVarnokDFRProcessingDialog::OnProgress(quint64 current, quint64 total) {
  if (total == 0) return;
  const int percent = current >= total ? 100 : static_cast<int>(current * 100 / total);
  if (percent == shown_percent_) return;
  shown_percent_ = percent;
  bar_->setValue(percent);
  percent_->setText(QStringLiteral("%1%").arg(percent));
}

void CVarnokDFRProcessingDialog::OnFilesFound(quint32 files_found) {
  files_found_ = files_found;
  ShowScanTexts();
}

void CVarnokDFRProcessingDialog::OnTargetChanged(const QString& target) {
  details_->setText(Text(Format(text::kSavingTo, target.toUtf8().constData())));
}

void CVarnokDFRProcessingDialog::OnStatus(const QString& status) { status_->setText(status); }

void CVarnokDFRProcessingDialog::OnProcessEnded() {
  if (asking_stop_) {
    end_pending_ = true;
    return;
  }
  clock_.stop();
  pause_->setEnabled(false);
  stop_->setEnabled(false);
  if (mode_ == Mode::kScan) OnFilesFound(session_.scan.files_found);
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  run_.Stop();
  accept();
}

void CVarnokDFRProcessingDialog::OnPauseResume() {
  if (!WorkerRunning()) return;
  if (!run_.IsPaused()) {
    clock_.stop();
    run_.Pause();
    stop_->setEnabled(false);
    pause_->setText(Text(text::kResume));
    pause_->setAccessibleName(QStringLiteral("Resume"));
  } else {
    clock_.start();
    run_.Resume();
    stop_->setEnabled(true);
    pause_->setText(Text(text::kPause));
    pause_->setAccessibleName(QStringLiteral("Pause"));
  }
}

void CVarnokDFRProcessingDialog::OnStop() {
  if (!WorkerRunning()) {
    run_.Stop();
    return;
  }
  if (asking_stop_) return;
  clock_.stop();
  const bool held_here = !run_.IsPaused();
  if (held_here) run_.Pause();
  asking_stop_ = true;
  const char* process = mode_ == Mode::kScan ? text::kProcessScanning : text::kProcessSaving;
  const auto answer = QMessageBox::question(this, Text(text::kCaptionConfirm),
                                            Text(Format(text::kStopQuestion, process)),
                                            QMessageBox::Yes | QMessageBox::No);
  asking_stop_ = false;
  if (answer == QMessageBox::Yes) {
    run_.Stop();
  } else {
    if (held_here) run_.Resume();
    if (!run_.IsPaused()) clock_.start();
  }
  if (end_pending_) {
    end_pending_ = false;
    OnProcessEnded();
  }
}

void CVarnokDFRProcessingDialog::Abandon() { run_.Stop(); }

void CVarnokDFRProcessingDialog::reject() {
  // Closing the page is a stop; the page itself closes when the worker ends.
  if (WorkerRunning()) OnStop();
}

void CVarnokDFRProcessingDialog::Tick() {
  if (++seconds_ == 60) {
    seconds_ = 0;
    if (++minutes_ == 60) {
      minutes_ = 0;
      ++hours_;
    }
  }
  ShowElapsed();
}

void CVarnokDFRProcessingDialog::ShowElapsed() {
  elapsed_->setText(QStringLiteral("%1:%2:%3")
                        .arg(hours_, 2, 10, QLatin1Char('0'))
                        .arg(minutes_, 2, 10, QLatin1Char('0'))
                        .arg(seconds_, 2, 10, QLatin1Char('0')));
}

}  // namespace salvor::carver::ui
