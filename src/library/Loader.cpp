// The loader thread's loop, its steering from the dialog, and the workers that delete
// directories once the loader is off them.
#include "library/Loader.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <utility>

#include "fw/FileStatus.h"
#include "fw/Trace.h"
#include "library/BlockLock.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Library.h"
#include "library/LoaderControl.h"
#include "library/LoaderView.h"

namespace library {
namespace {

constexpr std::chrono::milliseconds kKickWait{500};
// The delete worker looks again at least this often while it waits for the loader.
constexpr std::chrono::milliseconds kDeletePoll{125};

using Hold = std::lock_guard<fw::CriticalSection>;

LoaderControl& Control() { return LoaderControl::Instance(); }
LoaderView* View() { return Control().View(); }

void LogLoop(const wchar_t* text) { LogLine(L"LoopLoadDir: %s\n", text); }

// One pass of step 2: loads the directory at the head of the queue, if any. Returns the
// interruption code, 0 when none.
int LoadHead(std::stop_token stop) {
  LoaderControl& control = Control();
  Library& library = TheLibrary();
  Directory* d = nullptr;
  library.Lock().Lock();
  LogLoop(L"cs.Lock1");
  if (control.queue.empty()) {
    library.Lock().Unlock();
    LogLoop(L"cs.Unlock2");
    return 0;
  }
  d = control.queue.front();
  control.loading = d;
  control.loadingQueuedAgain = false;
  library.Lock().Unlock();
  LogLoop(L"cs.Unlock1");
  int code = 0;
  LogLoop(L"LoadDir");
  try {
    LoadDir(*d, stop);
  } catch (const LoadInterrupted& interrupted) {
    code = interrupted.code;
  } catch (...) {
    // Nothing else may leave the thread (it would end the host's process): a directory whose
    // load failed otherwise (memory ran out) counts as done, so the loader goes on with the
    // next one instead of trying it again at once.
  }
  {
    Hold hold(library.Lock());
    if (code == 0) {
      LogLoop(L"cs.Lock2");
      // Queued again after its last pause check (the user chose it meanwhile): it is loaded
      // again, now for the dialog, rather than dropped with the entry of the load that ended.
      if (!control.loadingQueuedAgain) control.RemoveFromQueue(*d);
    }
    control.loading = nullptr;
  }
  if (code == 0) LogLoop(L"cs.Unlock2");
  control.NotifyProgress();
  return code;
}

// The loop's wait for the kick. While nothing is queued it waits up to kKickWait; with work
// queued it only takes a kick already given, so a directory selected while the loader idled,
// and the next of several queued directories, start at once instead of a wait later.
void WaitForWork(std::stop_token stop) {
  LoaderControl& control = Control();
  bool queued = false;
  {
    Hold hold(TheLibrary().Lock());
    queued = !control.queue.empty();
  }
  LogLoop(L"kickevent.Lock");
  control.WaitForKick(stop, queued ? std::chrono::milliseconds(0) : kKickWait);
}

void LoopLoadDir(std::stop_token stop) {
  LoaderControl& control = Control();
  // Wait without limit for the first validation, but not past a stop request.
  while (!control.validated.Lock(100)) {
    if (stop.stop_requested()) break;
  }
  while (!stop.stop_requested()) {
    LogLoop(L"check pause");
    if (control.pause.load() > 0) {
      if (control.stopFlag.load()) break;
      fw::InterlockedDecrement(control.pause);
      control.NotifyProgress();
      LogLoop(L"Decrement pause");
      WaitForWork(stop);
      continue;
    }
    int code = LoadHead(stop);
    if (code == LoadInterrupted::kRestart) {
      fw::InterlockedDecrement(control.pause);
      control.NotifyProgress();
      LogLoop(L"e==1, Decrement pause");
    } else if (code == LoadInterrupted::kStop) {
      LogLoop(L"e==2");
      break;
    }
    WaitForWork(stop);
  }
  LogLoop(L"quitdone");
  control.running.store(false);
  control.NotifyProgress();
  control.stopped.SetEvent();
}

// Every worker that has ended is joined; the rest stay.
void ReapWorkers(std::vector<std::jthread>& workers) {
  // A worker that ended has cleared its pending mark, but may still be on its way out: joining
  // it takes no time.
  workers.erase(std::remove_if(workers.begin(), workers.end(),
                               [](std::jthread& worker) { return !worker.joinable(); }),
                workers.end());
}

void StartWorker(std::function<void()> work) {
  LoaderControl& control = Control();
  control.pendingWorkers.fetch_add(1);
  std::lock_guard guard(control.threadLock);
  ReapWorkers(control.workers);
  control.workers.emplace_back([work = std::move(work)] {
    work();
    Control().pendingWorkers.fetch_sub(1);
  });
}

// Until the loader is not working on d and has taken every interruption asked for (or has
// ended, leaving the last ones untaken). Returns with the library lock held.
void WaitUntilLoaderIsOff(const Directory& d, std::unique_lock<fw::CriticalSection>& lock) {
  LoaderControl& control = Control();
  for (;;) {
    lock.lock();
    bool loaderOff = control.loading != &d;
    bool paused = control.running.load() && control.pause.load() > 0;
    if (loaderOff && !paused) return;
    lock.unlock();
    control.WaitForProgress(kDeletePoll);
  }
}

}  // namespace

namespace {

// Interrupts the loader while it works on a directory `busy` picks, waits until it is off, then
// runs `work` with the library lock held.
void RunWhileLoaderIsOffPicked(const std::function<bool(const Directory* loading)>& busy,
                               const std::function<void()>& work) {
  LoaderControl& control = Control();
  std::unique_lock<fw::CriticalSection> lock(TheLibrary().Lock());
  while (control.loading != nullptr && busy(control.loading)) {
    // Asked again whenever no interruption is pending: a loader that took the one asked for
    // may have taken the directory up again before this thread got the lock back.
    if (control.pause.load() <= 0) {
      fw::InterlockedIncrement(control.pause);
      control.Kick();
    }
    lock.unlock();
    control.WaitForProgress(kDeletePoll);
    lock.lock();
  }
  work();
}

}  // namespace

void RunWhileLoaderIsOff(const Directory& d, const std::function<void()>& work) {
  RunWhileLoaderIsOffPicked([&d](const Directory* loading) { return loading == &d; }, work);
}

void RunWhileLoaderIsOffAllButCurrent(const std::function<void()>& work) {
  RunWhileLoaderIsOffPicked(
      [](const Directory* loading) { return loading != TheLibrary().Current(); }, work);
}

void RunWhileLoaderIsOffAll(const std::function<void()>& work) {
  RunWhileLoaderIsOffPicked([](const Directory*) { return true; }, work);
}

bool WriteImageCacheUnlessLoading(Directory& d) {
  LoaderControl& control = Control();
  Hold hold(TheLibrary().Lock());
  bool queued = std::find(control.queue.begin(), control.queue.end(), &d) != control.queue.end();
  if (control.running.load() && (control.loading == &d || queued)) return false;
  if (!d.imagesDirty) return false;
  // A failed write was shown to the user; it is not tried again at every switch.
  bool written = WriteImageCache(d);
  d.imagesDirty = false;
  return written;
}

void SetLoaderHooks(LoaderHooks hooks) { Control().SetHooks(std::move(hooks)); }

void SetLoaderView(LoaderView* view) { Control().SetView(view); }

void StartLoader() {
  JoinLoader();
  LoaderControl& control = Control();
  {
    // What an earlier loader left queued may name directories that are gone since (the library
    // emptied at quit, a module loaded again): this showing's ValidateDirs queues afresh, and
    // the new loader waits for it.
    Hold hold(TheLibrary().Lock());
    control.queue.clear();
    control.validated.ResetEvent();
  }
  control.pause.store(0);
  control.stopFlag.store(false);
  control.stopped.ResetEvent();
  control.running.store(true);
  std::lock_guard guard(control.threadLock);
  control.thread = std::jthread(LoopLoadDir);
}

void ValidateDirs(bool readDirEveryTime) {
  LoaderControl& control = Control();
  Library& library = TheLibrary();
  {
    Hold hold(library.Lock());
    LogLine(L"ValidateDirs: cs.Lock\n");
    control.queue.clear();
    Directory* current = library.Current();
    const auto& directories = library.Directories();
    for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
      Directory& d = **it;
      if (d.IsInternal()) {
        d.loaded = false;
        if (View() != nullptr) View()->ForgetBlocks(d);
        d.DeleteAllBlocks();
      }
      if (readDirEveryTime) d.loaded = false;
      for (const auto& block : d.Blocks()) block->checked = false;
      if (&d != current) control.queue.push_front(&d);
    }
    if (current != nullptr) control.queue.push_front(current);
    LogLine(L"ValidateDirs: kickevent.SetEvent\n");
    control.Kick();
  }
  LogLine(L"ValidateDirs: cs.Unlock\n");
  control.validated.SetEvent();
}

void QueueDirectory(Directory& d) {
  LoaderControl& control = Control();
  Hold hold(TheLibrary().Lock());
  control.QueueAtHead(d);
  fw::InterlockedIncrement(control.pause);
  control.Kick();
}

void RequeueCurrent() {
  if (!IsBlockDialogShown()) return;
  LoaderControl& control = Control();
  Library& library = TheLibrary();
  Hold hold(library.Lock());
  Directory* current = library.Current();
  if (current == nullptr) return;
  current->loaded = false;
  control.QueueAtHead(*current);
  control.Kick();
}

std::jthread StopLoader(std::function<void()> closingWork) {
  LoaderControl& control = Control();
  {
    Hold hold(TheLibrary().Lock());
    control.stopFlag.store(true);
    fw::InterlockedIncrement(control.pause);
    control.Kick();
  }
  {
    std::lock_guard guard(control.threadLock);
    if (control.thread.joinable()) control.thread.request_stop();
  }
  if (!closingWork) return {};
  // A loader that never started, or has ended and set its event for nobody, is not waited for.
  bool running = control.running.load();
  // Counted as background work until it is done, so a script's wait-idle after Close returns
  // once the dialog has been told to end.
  control.pendingWorkers.fetch_add(1);
  return std::jthread([closingWork = std::move(closingWork), running] {
    LoaderControl& control = Control();
    if (running) control.stopped.Lock(fw::kInfinite);
    closingWork();
    control.stopFlag.store(false);
    control.pendingWorkers.fetch_sub(1);
  });
}

void StopLoader() { (void)StopLoader(nullptr); }

void JoinLoader() {
  LoaderControl& control = Control();
  std::jthread loader;
  std::vector<std::jthread> workers;
  {
    std::lock_guard guard(control.threadLock);
    loader = std::move(control.thread);
    workers = std::move(control.workers);
  }
  // A worker may wait for the loader to take its interruptions: the loader ends first.
  if (loader.joinable()) loader.join();
  for (std::jthread& worker : workers) worker.join();
}

bool IsLoaderRunning() { return Control().running.load(); }

fw::CEvent& LoaderStoppedEvent() { return Control().stopped; }

bool IsLoaderIdle() {
  LoaderControl& control = Control();
  if (control.pendingWorkers.load() > 0) return false;
  if (!control.running.load()) return true;
  Hold hold(TheLibrary().Lock());
  return control.queue.empty() && control.loading == nullptr && control.waitingForWork.load();
}

namespace {

// On a worker: once the loader is off d and has taken the interruptions asked for, d leaves the
// queue, `finish` runs with the library lock held, and d is destroyed.
void DestroyOnceLoaderIsOff(std::unique_ptr<Directory> d,
                            std::function<void(const Directory&)> finish) {
  std::shared_ptr<Directory> leaving(std::move(d));
  StartWorker([leaving, finish = std::move(finish)]() mutable {
    std::unique_lock<fw::CriticalSection> lock(TheLibrary().Lock(), std::defer_lock);
    WaitUntilLoaderIsOff(*leaving, lock);
    Control().RemoveFromQueue(*leaving);
    finish(*leaving);
    leaving.reset();
  });
}

}  // namespace

void StartDeleteDirectory(Directory& d) {
  // The directory leaves the library at once, so no one takes it for a live one meanwhile; the
  // worker owns it until the loader is off it.
  std::unique_ptr<Directory> doomed = TheLibrary().Remove(d);
  if (!doomed) return;
  DestroyOnceLoaderIsOff(std::move(doomed), [](const Directory& gone) {
    if (View() != nullptr) View()->RemoveDirectory(gone);
    if (!gone.cacheFile.empty() && IsImageCacheName(gone.cacheFile)) {
      (void)fw::DeleteFile(gone.cacheFile);
    }
  });
}

bool IsLoaded(const Directory& d) {
  Hold hold(TheLibrary().Lock());
  std::shared_lock fields(BlockFieldsLock());
  return d.loaded;
}

void RetireDirectory(std::unique_ptr<Directory> d) {
  if (!d) return;
  DestroyOnceLoaderIsOff(std::move(d), [](const Directory& gone) {
    if (View() != nullptr) View()->ForgetBlocks(gone);
  });
}

}  // namespace library
