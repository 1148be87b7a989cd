// The main dialog as the loader sees it: the directory list's Count and Status columns and the
// block list with its placeholder, changed from the loader's thread through the controls'
// thread-safe state, and the one note per filled list posted to the dialog's thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "fw/DialogHandle.h"
#include "library/LoaderView.h"

namespace fw {
class ListCtrl;
}

namespace ui {

class MyList;
class MyList2;

class DialogLoaderView final : public library::LoaderView {
 public:
  DialogLoaderView(MyList& blocks, MyList2& directories, fw::ListCtrl& placeholder);

  // The showing the filled notes go to; set on the dialog's thread before the loader starts.
  void SetHandle(fw::DialogHandle handle) { handle_ = std::move(handle); }

  // Which directory's blocks the block list holds (nullptr: none), and whether its filling
  // completed. Any thread.
  const library::Directory* ShownDirectory() const { return shown_.load(); }
  bool IsFilled(const library::Directory& d) const { return filled_.load() == &d; }
  // Dialog's thread, on the filled note: whether it belongs to the latest filling.
  bool IsLatestFill(std::int64_t generation) const { return generation == fillGeneration_.load(); }
  void MarkFilled(const library::Directory& d) { filled_.store(&d); }
  // The closing work: the list holds nothing.
  void Forget();

  // Updates a probed block's item (image, version, description, dates) when the list shows d;
  // for the selected item, posts kIdSelectedBlockProbed so the properties box follows.
  void UpdateBlock(const library::Directory& d, const library::Block& b);

  // --- LoaderView --------------------------------------------------------------------------------
  void ShowCount(const library::Directory& d) override;
  void ShowStatus(const library::Directory& d, std::wstring_view status) override;
  void ClearBlocks(library::Directory& d) override;
  void ShowImages(library::Directory& d) override;
  bool HasNoBlocks() const override;
  void ForgetBlocks(const library::Directory& d) override;
  void BeginFill(const library::Directory& d) override;
  std::vector<int> InsertPlaceholders(std::size_t count) override;
  void ShowBlock(int item, const library::Block& b) override;
  void EndFill(const library::Directory& d, bool complete) override;
  void ShowBlockFacts(const library::Block& b) override;
  void RemoveDirectory(const library::Directory& d) override;

 private:
  MyList& blocks_;
  MyList2& directories_;
  fw::ListCtrl& placeholder_;
  fw::DialogHandle handle_;
  std::atomic<const library::Directory*> shown_{nullptr};
  std::atomic<const library::Directory*> filled_{nullptr};
  std::atomic<std::int64_t> fillGeneration_{0};
};

}  // namespace ui
