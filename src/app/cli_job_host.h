// The job host of the command line: progress on standard error while it is a
// terminal, and Ctrl+C as the Cancel panel.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "listing/job_host.h"

namespace tabulon {

class CliJobHost : public JobHost {
 public:
  // `progress` is where status texts go; nullptr shows none.
  explicit CliJobHost(std::FILE* progress);
  ~CliJobHost() override;  // restores the previous SIGINT handling
  CliJobHost(const CliJobHost&) = delete;
  CliJobHost& operator=(const CliJobHost&) = delete;

  void SetStatus(int panel, const std::string& text) override;
  void ProcessEvents() override {}
  // True after SetCancelRequested(true) or once SIGINT has arrived; the job's
  // own reset does not undo an interrupt.
  bool CancelRequested() const override;
  void SetCancelRequested(bool value) override { cancelRequested_ = value; }

  bool Interrupted() const;
  // Ends the progress line so that later messages start on their own line.
  void FinishProgress();

 private:
  std::FILE* progress_;
  bool cancelRequested_ = false;
  bool lineOpen_ = false;
  std::chrono::steady_clock::time_point lastShown_{};
};

// True when the stream is a terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace tabulon
