#include "search/find_file.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace tabulon {

namespace {

constexpr std::uint32_t kSearchFilter =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;  // 55

bool IsDotEntry(const std::string& name) {
  return name == "." || name == "..";
}

// Best effort: Linux lets an unprivileged thread lower its priority only, so
// a raise that is refused leaves the thread as it was.
void ApplyThreadPriority(TThreadPriority priority) {
  if (priority == tpNormal) return;
  if (priority == tpIdle) {
    sched_param param{};
    param.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    return;
  }
  int delta = 0;
  switch (priority) {
    case tpLowest:
      delta = 10;
      break;
    case tpLower:
      delta = 5;
      break;
    case tpHigher:
      delta = -5;
      break;
    case tpHighest:
      delta = -10;
      break;
    case tpTimeCritical:
      delta = -20;
      break;
    default:
      break;
  }
  // On Linux the nice value of a thread id is the thread's own.
  const id_t tid = static_cast<id_t>(gettid());
  errno = 0;
  int current = getpriority(PRIO_PROCESS, tid);
  if (current == -1 && errno != 0) return;
  setpriority(PRIO_PROCESS, tid, std::clamp(current + delta, -20, 19));
}

}  // namespace

struct TFindFile::Liveness {
  TFindFile* owner;
};

struct TFindFile::Worker {
  std::thread thread;
  std::uint64_t serial = 0;
  std::atomic<bool> finished{false};
};

TFindFile::TFindFile(FileSystem& fileSystem, const TimeZone& timeZone, const Locale& locale,
                     CallDispatcher* dispatcher)
    : fileSystem_(fileSystem),
      timeZone_(timeZone),
      locale_(locale),
      dispatcher_(dispatcher ? *dispatcher : ownQueue_),
      liveness_(std::make_shared<Liveness>(Liveness{this})) {}

TFindFile::~TFindFile() {
  destroying_ = true;
  if (searching_) Cancel();
  // A worker's end posted to an outside dispatcher must find nobody.
  liveness_->owner = nullptr;
}

void TFindFile::Start() {
  if (searching_) return;
  PrepareSearch();
  if (!threaded_) {
    try {
      NotifySearchBegin();
      ScanTargets();
    } catch (...) {
      FinishSearch();
      throw;
    }
    FinishSearch();
    return;
  }
  try {
    NotifySearchBegin();
    StartWorker();
  } catch (...) {
    FinishSearch();
    throw;
  }
}

void TFindFile::PrepareSearch() {
  searching_ = true;
  cancelled_ = false;
  try {
    targetSearch_ = std::make_unique<TTargetSearch>(criteria_, locale_, timeZone_);
  } catch (...) {
    searching_ = false;
    throw;
  }
}

void TFindFile::FinishSearch() {
  // The search ends even when the handler fails.
  struct End {
    TFindFile& self;
    ~End() {
      self.targetSearch_.reset();
      self.currentTarget_ = nullptr;
      self.depth_ = 0;
      self.searching_ = false;
    }
  } end{*this};
  NotifySearchFinish();
}

void TFindFile::StartWorker() {
  auto worker = std::make_unique<Worker>();
  worker->serial = ++workerSerial_;
  Worker* raw = worker.get();
  worker_ = std::move(worker);
  try {
    raw->thread = std::thread([this, raw, priority = threadPriority_] {
      ApplyThreadPriority(priority);
      WorkerBody(raw);
    });
  } catch (...) {
    worker_.reset();
    throw;
  }
}

void TFindFile::WorkerBody(Worker* worker) {
  try {
    ScanTargets();
  } catch (...) {
    // An error on the worker ends the walk; the search finishes as usual.
  }
  std::weak_ptr<Liveness> weak = liveness_;
  const std::uint64_t serial = worker->serial;
  dispatcher_.Post([weak, serial] {
    if (auto alive = weak.lock())
      if (alive->owner) alive->owner->WorkerDone(serial);
  });
  worker->finished = true;
}

void TFindFile::WorkerDone(std::uint64_t serial) {
  if (abortPending_ || !worker_ || worker_->serial != serial) return;
  std::unique_ptr<Worker> worker = std::move(worker_);
  // It has posted this call as its last act, so it ends at once.
  if (worker->thread.joinable()) worker->thread.join();
  FinishSearch();
}

void TFindFile::ProcessPending() {
  while (dispatcher_.ProcessOne()) {
  }
}

void TFindFile::WaitForEventHandlers() {
  // The lock is recursive: a handler on this thread that cancels gets it at once.
  while (!eventLock_.try_lock()) {
    if (!dispatcher_.ProcessOne()) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  eventLock_.unlock();
}

void TFindFile::Cancel() {
  if (!searching_ || cancelled_) return;
  cancelled_ = true;
  abortPending_ = true;
  try {
    WaitForEventHandlers();
  } catch (...) {
    abortPending_ = false;
    throw;
  }
  abortPending_ = false;
  NotifySearchAbort();
  if (!worker_) return;
  const std::uint64_t serial = worker_->serial;
  // The worker's posted end may run WorkerDone while we pump; else run it here.
  while (worker_ && worker_->serial == serial && !worker_->finished) {
    if (!dispatcher_.ProcessOne()) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (worker_ && worker_->serial == serial) WorkerDone(serial);
}

void TFindFile::NotifySearchBegin() {
  if (OnSearchBegin && !destroying_) OnSearchBegin(*this);
}

void TFindFile::NotifySearchFinish() {
  if (OnSearchFinish && !destroying_) OnSearchFinish(*this);
}

void TFindFile::NotifySearchAbort() {
  if (OnSearchAbort && !destroying_) OnSearchAbort(*this);
}

TFolderIgnore TFindFile::NotifyFolderChange(const std::string& folder) {
  TFolderIgnore answer = fiSearchAll;
  if (cancelled_ || !OnFolderChange) return answer;
  std::lock_guard<std::recursive_mutex> lock(eventLock_);
  // Cancel may have been called while this thread waited for the lock.
  if (cancelled_) return answer;
  OnFolderChange(*this, folder, answer);
  return answer;
}

void TFindFile::NotifyFileMatch(const std::string& folder, const SearchRec& fileInfo) {
  if (cancelled_ || !OnFileMatch) return;
  std::lock_guard<std::recursive_mutex> lock(eventLock_);
  if (cancelled_) return;
  OnFileMatch(*this, folder, fileInfo);
}

bool TFindFile::AcceptFile(const std::string& folder, const SearchRec& fileInfo) {
  if (cancelled_ || !targetSearch_) return false;
  return targetSearch_->Matches(folder, fileInfo);
}

void TFindFile::ScanTargets() {
  TTargetFolderList& folders = targetSearch_->Folders;
  for (std::size_t i = folders.Count(); i-- > 0 && !cancelled_;) {
    depth_ = 0;
    currentTarget_ = &folders[i];
    ScanFolder(folders[i].Path);
  }
}

// The directory search's filter: every entry but those of a hidden, system
// or directory bit the attribute test rejects in any case, so that the
// directory search need not read them.
std::uint32_t TFindFile::SearchFilter() const {
  constexpr std::uint32_t kNameOrKindBits = kAttrHidden | kAttrSystem | kAttrDirectory;
  return kSearchFilter & ~(targetSearch_->Attribute.NeverMatchedBits() & kNameOrKindBits);
}

void TFindFile::ScanFolder(const std::string& folder, bool mayHaveSubfolders) {
  if (cancelled_) return;
  ++depth_;
  struct Leave {
    std::uint16_t& depth;
    ~Leave() { --depth; }
  } leave{depth_};

  const TFolderIgnore answer = NotifyFolderChange(folder);
  const TTargetFolder& target = *currentTarget_;

  if ((answer == fiSearchAll || answer == fiSkipSubfolders) && depth_ >= target.MinLevel) {
    const std::uint32_t filter = SearchFilter();
    for (std::size_t k = target.Masks.size(); k-- > 0 && !cancelled_;) {
      const std::string& mask = target.Masks[k];
      if (mask.empty()) continue;  // names no file
      std::unique_ptr<DirectorySearch> search = fileSystem_.FindFirst(folder + mask, filter);
      SearchRec rec;
      while (!cancelled_ && search && search->Next(rec)) {
        if (IsDotEntry(rec.name)) continue;
        if (AcceptFile(folder, rec)) NotifyFileMatch(folder, rec);
      }
    }
  }

  if (target.Subfolders && mayHaveSubfolders && (answer == fiSearchAll || answer == fiSkipFiles) &&
      (target.MaxLevel == 0 || target.MaxLevel > depth_) && !cancelled_) {
    std::string dir = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    for (const SubdirectoryEntry& sub : fileSystem_.ListSubdirectories(dir)) {
      if (cancelled_) break;
      if (IsDotEntry(sub.name)) continue;
      ScanFolder(folder + sub.name + kPathDelim, sub.mayHaveSubfolders);
    }
  }
}

}  // namespace tabulon
