// What a running job needs of the window (or the command line) that hosts it:
// the two status panels, letting queued events run, and the cancel flag.
#pragma once

#include <string>

namespace tabulon {

class JobHost {
 public:
  virtual ~JobHost() = default;
  // Panel 0 shows progress, panel 1 reads " Cancel" while a job runs. The
  // text is shown at once (the status bar is repainted).
  virtual void SetStatus(int panel, const std::string& text) = 0;
  // Lets queued window messages run, so a click on Cancel gets through.
  virtual void ProcessEvents() = 0;
  // The job-wide cancel flag (CancelRequested).
  virtual bool CancelRequested() const = 0;
  virtual void SetCancelRequested(bool value) = 0;
};

}  // namespace tabulon
