#pragma once
// Whether Trawler may run: only when Salvor started it (Salvor's socket name
// on the command line), only while Salvor runs, and only once at a time.

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

#include "app/instance_lock.h"

namespace salvor::carver::ui {

// The locks each program holds for its whole life.
inline constexpr std::string_view kSalvorLockName = "GlobalMutexVK-NTFS";
inline constexpr std::string_view kTrawlerLockName = "GlobalMutexVK-NTFSKLT";

struct StartupDecision {
  std::string_view refusal;  // the message to show before exiting; empty: go on
  QString salvor_server;     // the local socket to report to
  std::optional<InstanceLock> lock;
};

// `arguments` as the program got them, its own path first.
StartupDecision CheckStartup(const QStringList& arguments, const QString& program_path);

}  // namespace salvor::carver::ui
