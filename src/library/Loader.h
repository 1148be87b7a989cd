// The directory loader: one background thread that brings the library up to date while the main
// dialog is open, steered by a work queue, a pause counter and a stop request.
//
// Threads. The dialog's thread (the host's main thread) starts, validates, queues, stops and
// joins; the loader thread runs LoopLoadDir; short workers delete directories and run the
// dialog's closing work. The work queue and the library list change only under the library lock,
// which nobody holds while loading, probing or touching the dialog. Every function here may be
// called from any thread unless it says otherwise.
#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "fw/Sync.h"

namespace library {

class Block;
class Directory;
class LoaderView;

// What the loader uses that tests replace.
struct LoaderHooks {
  // Probes one drawing of a directory; empty: library::Probe. The result is not used.
  std::function<void(Directory& d, Block& b)> probe;
  // Lower the thread's priority while it loads directories that are not on screen.
  bool changePriority = true;
};
void SetLoaderHooks(LoaderHooks hooks);

// The dialog's view of the loader's work (nullptr: none). Installed before StartLoader and
// removed only after JoinLoader, on the dialog's thread.
void SetLoaderView(LoaderView* view);

// Starts the loader thread (dialog set-up, before ValidateDirs). The thread first waits until
// ValidateDirs has run. A loader that ended before is joined first; the work queue, the pause
// counter, the stop flag and the validated and stopped events start afresh.
void StartLoader();
// Queues every directory in library order with the current one first; clears `loaded` where
// `ReadDirEveryTime` (the argument) asks for it and always for the internal directory, whose
// blocks go; clears every block's `checked`. Dialog's thread, at set-up.
void ValidateDirs(bool readDirEveryTime);
// Puts d at the head of the queue and interrupts the directory being loaded.
void QueueDirectory(Directory& d);
// While the dialog is shown, reads the current directory again (after a drawing was closed).
void RequeueCurrent();

// Asks the loader to end at its next pause check. Then starts a worker that waits for the
// loader's end, runs `closingWork` and clears the stop request; the caller keeps the worker and
// joins it (a std::jthread joins when destroyed). Without closing work no worker starts.
[[nodiscard]] std::jthread StopLoader(std::function<void()> closingWork);
void StopLoader();
// Waits until the loader thread and the delete workers have ended and joins them; returns at
// once when none runs. The dialog calls it before its controls go; the module at quit.
void JoinLoader();
bool IsLoaderRunning();
// Set by the loader thread when it ends (auto reset).
fw::CEvent& LoaderStoppedEvent();

// Whether d is `loaded`, read under the locks its writers hold (the library lock and the block
// fields lock), so the dialog may ask about any directory while the loader works.
bool IsLoaded(const Directory& d);

// The loader has nothing queued and waits for work, and no delete or closing worker is pending;
// also true when no loader runs. The headless driver's `wait-idle` asks it.
bool IsLoaderIdle();

// Runs `work` with the library lock held at a moment the loader is not working on d: a loader
// busy with d is interrupted (d stays queued) and waited for. For the dialog's thread when it
// reads or resets d's images, which the loader also does while it works on d. The loader must
// not be waiting for the calling thread (d must not be the internal directory, whose load waits
// for the drawing).
void RunWhileLoaderIsOff(const Directory& d, const std::function<void()>& work);
// The same with the loader off every directory but the current one (the option OnlyCacheCurrent
// turned on lets the others' previews go).
void RunWhileLoaderIsOffAllButCurrent(const std::function<void()>& work);
// The same with the loader off every directory (the caches move to another folder).
void RunWhileLoaderIsOffAll(const std::function<void()>& work);

// Writes d's image cache when d is dirty, with the library lock held so the loader cannot take
// d up meanwhile, and clears `imagesDirty` (a failed write was shown); true when written. While a running loader has d in hand or queued, nothing is
// written and false returned: the loader writes it itself when it finishes d while d is not
// current, and the next call once it is off d writes what is left. So leaving a directory
// whose drawings are being probed does not wait for its previews to be compressed. Dialog's
// thread, when it stores the option controls.
bool WriteImageCacheUnlessLoading(Directory& d);

// Takes d out of the library now, then on a worker thread, once the loader is off it and the
// pause counter is 0: d's row of the directory list and the block list's items go (through the
// view), d's image cache file is deleted and d is destroyed. The Delete button's work.
void StartDeleteDirectory(Directory& d);
// Destroys a directory that has already left the library (Refresh replaced it) on a worker
// thread, once the loader is off it; the block list forgets its items first.
void RetireDirectory(std::unique_ptr<Directory> d);

}  // namespace library
