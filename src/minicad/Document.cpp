// A document's name, database and locks.
#include "minicad/Document.h"

#include <utility>

#include "fw/FileName.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {

Document::Document(std::wstring fileName, bool isNewDrawing,
                   std::unique_ptr<AcDbDatabase> database)
    : fileName_(std::move(fileName)),
      title_(fw::CFileName(fileName_).Title()),
      isNewDrawing_(isNewDrawing),
      database_(std::move(database)) {
  AcDbImpDatabase::Of(*database_).SetDocument(this);
}

Document::~Document() { AcDbImpDatabase::Of(*database_).SetDocument(nullptr); }

void Document::Rename(std::wstring fileName) {
  fileName_ = std::move(fileName);
  title_ = fw::CFileName(fileName_).Title();
  isNewDrawing_ = false;
}

int Document::LockCount() const {
  std::lock_guard lock(lockMutex_);
  int count = 0;
  for (const auto& [thread, held] : locks_) count += held;
  return count;
}

bool Document::IsLocked() const {
  std::lock_guard lock(lockMutex_);
  return !locks_.empty();
}

void Document::Lock() {
  std::lock_guard lock(lockMutex_);
  ++locks_[std::this_thread::get_id()];
}

bool Document::Unlock() {
  {
    std::lock_guard lock(lockMutex_);
    auto held = locks_.find(std::this_thread::get_id());
    if (held == locks_.end()) return false;
    if (--held->second == 0) locks_.erase(held);
  }
  lockReleased_.notify_all();
  return true;
}

void Document::WaitForOtherLocks() const {
  std::unique_lock lock(lockMutex_);
  lockReleased_.wait(lock, [&] {
    return locks_.empty() ||
           (locks_.size() == 1 && locks_.begin()->first == std::this_thread::get_id());
  });
}

}  // namespace minicad
