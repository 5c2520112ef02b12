#include "ui/wizard/ui_host.h"

#include <QMessageBox>
#include <QThread>

namespace salvor::ui {
namespace {

QString ToQt(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return QMessageBox::Critical;
    case MessageIcon::kWarning: return QMessageBox::Warning;
    case MessageIcon::kInformation: break;
  }
  return QMessageBox::Information;
}

}  // namespace

void ShowMessageBox(QWidget* parent, MessageIcon icon, std::string_view caption,
                    std::string_view text) {
  QMessageBox box(BoxIcon(icon), ToQt(caption), ToQt(text), QMessageBox::Ok, parent);
  box.setAccessibleName(ToQt(caption));
  box.exec();
}

bool AskYesNoBox(QWidget* parent, std::string_view caption, std::string_view question) {
  QMessageBox box(QMessageBox::Question, ToQt(caption), ToQt(question),
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setAccessibleName(ToQt(caption));
  return box.exec() == QMessageBox::Yes;
}

UiHost::UiHost(QWidget* parent, Host& log) : parent_(parent), log_(log) {}

void UiHost::OnUiThread(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
  } else {
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
  }
}

void UiHost::ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) {
  OnUiThread([&] { ShowMessageBox(parent_, icon, caption, text); });
}

void UiHost::AddLogEntry(const LogEntry& entry) {
  OnUiThread([&] { log_.AddLogEntry(entry); });
}

void UiHost::Progress(const ProgressReport& report) {
  done_.store(report.done);
  total_.store(report.total);
  if (progress_posted_.exchange(true)) return;  // the pending post shows the latest values
  QMetaObject::invokeMethod(
      this,
      [this] {
        progress_posted_.store(false);
        if (on_progress) on_progress(done_.load(), total_.load());
      },
      Qt::QueuedConnection);
}

std::optional<std::string> UiHost::AskRename(std::string_view, std::string_view) {
  return std::nullopt;  // nothing the wizard runs saves files
}

bool UiHost::AskYesNo(std::string_view caption, std::string_view question) {
  bool yes = false;
  OnUiThread([&] { yes = AskYesNoBox(parent_, caption, question); });
  return yes;
}

}  // namespace salvor::ui
