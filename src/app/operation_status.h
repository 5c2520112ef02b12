#pragma once
// How an operation ended, as a value the front end shows once. A failure's
// text is empty when the host has already been told (a read error that the
// sector source showed, say). A stopped operation keeps what it had found.

#include <string>
#include <utility>

namespace salvor {

enum class Outcome { kCompleted, kStopped, kFailed };

struct OperationStatus {
  Outcome outcome = Outcome::kCompleted;
  std::string error;  // for kFailed: what to tell the user, or empty

  static OperationStatus Completed() { return {}; }
  static OperationStatus Stopped() { return {Outcome::kStopped, {}}; }
  static OperationStatus Failed(std::string why = {}) { return {Outcome::kFailed, std::move(why)}; }

  bool completed() const { return outcome == Outcome::kCompleted; }
  bool stopped() const { return outcome == Outcome::kStopped; }
  bool failed() const { return outcome == Outcome::kFailed; }
};

}  // namespace salvor
