// TFindFile: walks one or more folders and reports every entry that passes
// the search criteria, on the caller's thread or on a worker of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/file_system.h"
#include "search/call_queue.h"
#include "search/search_criteria.h"
#include "search/target_search.h"

namespace tabulon {

class Locale;
class TimeZone;

// The answer of OnFolderChange for one folder.
enum TFolderIgnore {
  fiSearchAll = 0,       // files searched, subfolders entered
  fiSkipFiles = 1,       // files skipped, subfolders entered
  fiSkipSubfolders = 2,  // files searched, subfolders not entered
  fiSkipAll = 3,         // files skipped, subfolders not entered
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TFindFile;

// `folder` ends in a separator.
using TFileMatchEvent =
    std::function<void(TFindFile& sender, const std::string& folder, const SearchRec& fileInfo)>;
using TFolderChangeEvent =
    std::function<void(TFindFile& sender, const std::string& folder, TFolderIgnore& ignoreFolder)>;
using TNotifyEvent = std::function<void(TFindFile& sender)>;

class TFindFile {
 public:
  // The services are borrowed and must outlive the component. Calls from the
  // worker to the starting thread go through `dispatcher` when one is given
  // (it must outlive the component), else through a queue of the component's
  // own that the starting thread pumps with ProcessPending().
  TFindFile(FileSystem& fileSystem, const TimeZone& timeZone, const Locale& locale,
            CallDispatcher* dispatcher = nullptr);
  // Cancels a running search first and waits for its worker.
  virtual ~TFindFile();
  TFindFile(const TFindFile&) = delete;
  TFindFile& operator=(const TFindFile&) = delete;

  TSearchCriteria& Criteria() { return criteria_; }
  const TSearchCriteria& Criteria() const { return criteria_; }
  void SetCriteria(const TSearchCriteria& value) { criteria_.Assign(value); }
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool value) { threaded_ = value; }
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority value) { threadPriority_ = value; }
  bool Cancelled() const { return cancelled_.load(); }
  bool Searching() const { return searching_.load(); }
  // The folder depth during a walk; 1 = the target folder itself. Like
  // CurrentTarget, it belongs to the walking thread: read it in handlers.
  std::uint16_t Depth() const { return depth_; }
  // The target folder being walked; null outside a walk.
  const TTargetFolder* CurrentTarget() const { return currentTarget_; }

  TFileMatchEvent OnFileMatch;
  TFolderChangeEvent OnFolderChange;
  TNotifyEvent OnSearchBegin;
  TNotifyEvent OnSearchFinish;
  TNotifyEvent OnSearchAbort;

  // Runs a search with the current Criteria; does nothing while Searching.
  // Without Threaded it returns when the search is over; with Threaded once
  // the worker is started, and the search ends (OnSearchFinish) on this
  // thread the next time it pumps.
  void Start();
  // Stops a running search. Waits for running handlers (pumping this
  // thread's posted calls meanwhile), fires OnSearchAbort, and waits for the
  // worker, whose end runs OnSearchFinish here. Call it from the thread that
  // started the search, never from a handler on the worker.
  void Cancel();
  // Runs the calls the worker posted to the starting thread (among them the
  // end of a threaded search). Needed only without an outside dispatcher.
  void ProcessPending();

 protected:
  virtual void NotifySearchBegin();
  virtual void NotifySearchFinish();
  virtual void NotifySearchAbort();
  virtual TFolderIgnore NotifyFolderChange(const std::string& folder);
  virtual void NotifyFileMatch(const std::string& folder, const SearchRec& fileInfo);
  virtual bool AcceptFile(const std::string& folder, const SearchRec& fileInfo);

 private:
  struct Worker;
  struct Liveness;

  void PrepareSearch();
  void FinishSearch();
  void ScanTargets();
  void ScanFolder(const std::string& folder, bool mayHaveSubfolders = true);
  std::uint32_t SearchFilter() const;
  void StartWorker();
  void WorkerBody(Worker* worker);
  void WorkerDone(std::uint64_t serial);
  void WaitForEventHandlers();

  FileSystem& fileSystem_;
  const TimeZone& timeZone_;
  const Locale& locale_;
  CallQueue ownQueue_;
  CallDispatcher& dispatcher_;

  TSearchCriteria criteria_;
  bool threaded_ = false;
  TThreadPriority threadPriority_ = tpNormal;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> searching_{false};
  bool destroying_ = false;
  // Set while Cancel waits for handlers: the search must not finish before
  // OnSearchAbort has fired.
  bool abortPending_ = false;
  std::uint16_t depth_ = 0;
  std::unique_ptr<TTargetSearch> targetSearch_;
  TTargetFolder* currentTarget_ = nullptr;
  std::unique_ptr<Worker> worker_;
  std::uint64_t workerSerial_ = 0;
  std::recursive_mutex eventLock_;
  std::shared_ptr<Liveness> liveness_;
};

}  // namespace tabulon
