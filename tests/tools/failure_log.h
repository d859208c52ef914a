// Reads the framework's failure reports in place of its message boxes: while a
// log lives, each report's text is kept, in order, and nothing is shown.
#pragma once
#include <string>
#include <vector>

#include "util/failure.h"

class FailureLog {
 public:
  FailureLog() : previous_(SetFailureReporter(Keep)) { current_ = this; }
  ~FailureLog() {
    SetFailureReporter(previous_);
    current_ = nullptr;
  }
  FailureLog(const FailureLog&) = delete;
  FailureLog& operator=(const FailureLog&) = delete;

  const std::vector<std::string>& Texts() const { return texts_; }
  void Clear() { texts_.clear(); }

 private:
  static void Keep(FailureId, const char* text) { current_->texts_.push_back(text); }
  static inline FailureLog* current_ = nullptr;
  FailureReporter previous_;
  std::vector<std::string> texts_;
};
