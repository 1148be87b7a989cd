// LoadDir: the loader's work on one directory, in its steps D (scan the folder), L (fill the
// block list), V (verify and probe changed drawings) and S (save the image cache).
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

#include "fw/FileName.h"
#include "fw/FileStatus.h"
#include "fw/WorkerThread.h"
#include "library/BlockLock.h"
#include "library/BlockProbe.h"
#include "library/CacheFiles.h"
#include "library/Library.h"
#include "library/LoaderControl.h"
#include "library/LoaderView.h"

namespace library {

std::shared_mutex& BlockFieldsLock() {
  static std::shared_mutex lock;
  return lock;
}

namespace {

constexpr const wchar_t* kDrawingPattern = L"*.dwg";
// The version the internal directory's blocks show ("2000").
constexpr int kInternalBlockVersion = 16;

// A drawing file found in a folder: its title and the status the finder read.
struct FoundDrawing {
  std::wstring title;
  Block::FileStatus status;
};

// The drawings of a folder in the finder's order; folders named like drawings are left out.
std::vector<FoundDrawing> FindDrawings(const std::wstring& folder) {
  std::vector<FoundDrawing> found;
  fw::CFileFind finder;
  bool more = finder.FindFile(fw::PathJoin(folder, kDrawingPattern));
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDirectory()) continue;
    Block::FileStatus status;
    status.ctime = finder.GetCreationTime();
    status.mtime = finder.GetLastWriteTime();
    status.size = finder.GetLength();
    status.attribute = finder.IsReadOnly() ? std::uint32_t{fw::kAttributeReadOnly} : 0u;
    found.push_back(FoundDrawing{finder.GetFileTitle(), status});
  }
  return found;
}

class DirectoryLoad {
 public:
  DirectoryLoad(Directory& d, std::stop_token stop)
      : d_(d), stop_(stop), control_(LoaderControl::Instance()), hooks_(control_.Hooks()) {}

  void Run();

 private:
  bool Shown() const { return IsBlockDialogShown() && control_.View() != nullptr; }
  bool Current() const { return TheLibrary().Current() == &d_; }
  bool OnScreen() const { return Current() && Shown(); }
  LoaderView* View() const { return control_.View(); }
  void Status(const wchar_t* status) {
    if (Shown()) View()->ShowStatus(d_, status);
  }
  void CheckPause() const { control_.CheckPause(stop_); }
  // Normal while the directory is on screen, lowest otherwise; changed only when it differs.
  void SetPriority(bool normal);
  void AdjustPriority() { SetPriority(OnScreen()); }

  bool FirstLoad();
  bool Rescan();
  void FillBlockList();
  void Verify();
  void VerifyBlock(Block& b);
  void SaveImages();

  Directory& d_;
  std::stop_token stop_;
  LoaderControl& control_;
  LoaderHooks hooks_;
};

void DirectoryLoad::SetPriority(bool normal) {
  thread_local bool lowered = false;
  if (!hooks_.changePriority || lowered == !normal) return;
  lowered = !normal;
  (void)fw::SetCurrentThreadPriority(normal ? fw::ThreadPriority::kNormal
                                            : fw::ThreadPriority::kLowest);
}

void DirectoryLoad::Run() {
  if (OnScreen()) {
    View()->ClearBlocks(d_);
  } else {
    SetPriority(false);
  }
  CheckPause();
  if (OnScreen()) SetPriority(true);

  if (d_.BlockCount() == 0) {
    if (!FirstLoad()) return;
  } else if (!d_.loaded && !d_.IsInternal()) {
    if (!Rescan()) return;
  }
  if (!Shown()) return;
  FillBlockList();
  CheckPause();
  if (d_.loaded) {
    Status(L"");
    return;
  }
  Verify();
  SaveImages();
  {
    // Quick find reads `loaded` of every directory from the dialog's thread under this lock.
    std::unique_lock hold(BlockFieldsLock());
    d_.loaded = true;
  }
  Status(L"");
}

// Step D of a directory without blocks. False when a folder holds no drawing.
bool DirectoryLoad::FirstLoad() {
  Status(L"D");
  if (d_.IsInternal()) {
    // Read before the block lock is taken: the read waits for the document, whose thread may
    // want the lock meanwhile.
    std::vector<InternalBlock> definitions = ReadInternalBlocks();
    std::unique_lock hold(BlockFieldsLock());
    d_.ReserveBlocks(definitions.size());
    for (InternalBlock& definition : definitions) {
      Block& b = d_.AppendBlock();
      b.name = std::move(definition.name);
      b.description = std::move(definition.comments);
      b.version = kInternalBlockVersion;
      b.currentStatus.size = 0;
    }
  } else {
    std::vector<FoundDrawing> drawings = FindDrawings(d_.path);
    if (drawings.empty()) return false;
    std::unique_lock hold(BlockFieldsLock());
    d_.ReserveBlocks(drawings.size());
    for (FoundDrawing& drawing : drawings) {
      Block& b = d_.AppendBlock();
      b.name = std::move(drawing.title);
      b.currentStatus = drawing.status;
      b.created = drawing.status.ctime;
      b.modified = drawing.status.mtime;
    }
  }
  d_.imagesDirty = true;
  d_.ResetImages(true);
  if (OnScreen()) View()->ShowImages(d_);
  return true;
}

// Step D of a folder read before: blocks whose drawing went are deleted, new drawings appended,
// the rest take the status found. False, keeping every block, when the folder holds no drawing
// (or is gone).
bool DirectoryLoad::Rescan() {
  Status(L"D");
  std::vector<FoundDrawing> drawings = FindDrawings(d_.path);
  if (drawings.empty()) return false;
  std::unordered_map<std::wstring, std::size_t> left;
  left.reserve(drawings.size());
  for (std::size_t i = 0; i < drawings.size(); ++i) left.emplace(drawings[i].title, i);
  std::vector<bool> taken(drawings.size(), false);

  // The list must not show blocks that are about to go.
  if (View() != nullptr) View()->ForgetBlocks(d_);
  std::unique_lock hold(BlockFieldsLock());
  std::size_t deleted = d_.DeleteBlocksIf([&](Block& b) {
    auto found = left.find(b.name);
    if (found == left.end()) return true;
    b.currentStatus = drawings[found->second].status;
    taken[found->second] = true;
    left.erase(found);
    return false;
  });
  if (deleted > 0) d_.imagesDirty = true;
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    if (taken[i]) continue;
    Block& b = d_.AppendBlock();
    b.name = std::move(drawings[i].title);
    b.currentStatus = drawings[i].status;
    b.created = b.currentStatus.ctime;
    b.modified = b.currentStatus.mtime;
    d_.imagesDirty = true;
  }
  return true;
}

// Step L: the count and, when the empty block list is d's, its items.
void DirectoryLoad::FillBlockList() {
  View()->ShowCount(d_);
  Status(L"L");
  if (!OnScreen() || !View()->HasNoBlocks()) return;
  View()->BeginFill(d_);
  bool complete = false;
  try {
    std::vector<int> items = View()->InsertPlaceholders(d_.BlockCount());
    std::size_t next = 0;
    for (const auto& block : d_.Blocks()) {
      if (next >= items.size()) break;
      block->itemIndex = items[next++];
      if (Shown()) View()->ShowBlock(block->itemIndex, *block);
      CheckPause();
      AdjustPriority();
    }
    complete = Shown();
  } catch (const LoadInterrupted&) {
    // The list is shown again as far as it got, so an interrupted fill never leaves it hidden.
    if (View() != nullptr) View()->EndFill(d_, false);
    throw;
  }
  if (View() != nullptr) View()->EndFill(d_, complete);
}

// Step V.
void DirectoryLoad::Verify() {
  Status(L"V");
  for (const auto& block : d_.Blocks()) {
    CheckPause();
    AdjustPriority();
    if (d_.IsInternal() || block->checked) continue;
    VerifyBlock(*block);
  }
}

void DirectoryLoad::VerifyBlock(Block& b) {
  if (b.IsUnchangedSinceProbe()) {
    std::unique_lock hold(BlockFieldsLock());
    b.checked = true;
    b.valid = true;
    return;
  }
  // A drawing that went (or whose folder went or became unreadable) since the folder was
  // listed keeps its cached facts, and is probed again next time.
  if (!fw::FindFileNoCase(d_.DrawingPath(b))) {
    std::unique_lock hold(BlockFieldsLock());
    b.checked = true;
    return;
  }
  if (OnScreen()) {
    View()->ShowBlockFacts(b);
  } else if (!d_.imagesLoaded) {
    (void)ReadImageCache(d_);
  }
  if (hooks_.probe) {
    hooks_.probe(d_, b);
  } else {
    (void)Probe(d_, b);
  }
  std::unique_lock hold(BlockFieldsLock());
  d_.imagesDirty = true;
  b.checked = true;
  b.valid = true;
  b.cachedStatus = b.currentStatus;
}

// Step S: a directory not on screen writes its images and lets them go. Images whose cache
// could not be written stay in memory, still dirty, so no preview is lost.
void DirectoryLoad::SaveImages() {
  if (OnScreen() || !d_.imagesDirty) return;
  Status(L"S");
  (void)ReleaseImages(d_);
}

}  // namespace

void LoadDir(Directory& d, std::stop_token stop) { DirectoryLoad(d, stop).Run(); }

}  // namespace library
