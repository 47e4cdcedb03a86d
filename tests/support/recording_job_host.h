// A JobHost for tests: records every status text, counts ProcessEvents calls
// and can request cancel at the Nth call, as a click on Cancel would.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "listing/job_host.h"

namespace tabulon::testing {

class RecordingJobHost : public JobHost {
 public:
  struct Status {
    int panel = 0;
    std::string text;
    bool operator==(const Status&) const = default;
  };

  void SetStatus(int panel, const std::string& text) override {
    statuses_.push_back({panel, text});
  }

  void ProcessEvents() override {
    ++processEventsCalls_;
    if (cancelAtCall_ > 0 && processEventsCalls_ == cancelAtCall_) cancelRequested_ = true;
  }

  bool CancelRequested() const override { return cancelRequested_; }
  void SetCancelRequested(bool value) override { cancelRequested_ = value; }

  // Sets the cancel flag during the Nth ProcessEvents call (1-based); 0 never.
  void CancelAtCall(int n) { cancelAtCall_ = n; }

  const std::vector<Status>& Statuses() const { return statuses_; }
  // The texts shown in one panel, in order.
  std::vector<std::string> Texts(int panel) const {
    std::vector<std::string> texts;
    for (const Status& status : statuses_) {
      if (status.panel == panel) texts.push_back(status.text);
    }
    return texts;
  }
  int ProcessEventsCalls() const { return processEventsCalls_; }

 private:
  std::vector<Status> statuses_;
  int processEventsCalls_ = 0;
  int cancelAtCall_ = 0;
  bool cancelRequested_ = false;
};

}  // namespace tabulon::testing
