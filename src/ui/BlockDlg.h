// The browser's main dialog: the library directories on the left, the blocks of the current
// directory on the right, the properties of the selected block, and the buttons and options that
// start an insertion. It never sends a command while it is open: an action is stored, the dialog
// closes, and the command runs the stored action once the window is gone.
//
// Threads. The host's main thread constructs it, runs DoModal and every handler (the dialog's
// thread). The loader thread fills the lists through the dialog's LoaderView; the closing work
// runs on the worker StopLoader starts; the Delete button's work on a worker of its own. DoModal
// returns only after the loader and every worker of the showing have ended, so nothing reaches
// the controls once they are gone.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fw/Dialog.h"
#include "fw/Sync.h"
#include "ui/MyList.h"
#include "ui/MyList2.h"
#include "ui/ViewButton.h"

namespace insert {
struct InsertionState;
}  // namespace insert
namespace library {
class Block;
class Directory;
}  // namespace library

namespace ui {

class DialogLoaderView;
class OptionControls;
class QuickPic;

// What the dialog leaves to run once its window is gone.
enum class PendingAction { kNone, kInsert, kOpen, kXref };

// What the dialog takes from the module.
struct BlockDlgEnvironment {
  std::wstring moduleVersion;
  // The folder of the module, which holds the help file.
  std::wstring moduleDirectory;
  // Where the folder picker starts; Add replaces it with the folder chosen. Not owned.
  std::wstring* pickerStartFolder = nullptr;
  // Signalled once the module has loaded its settings; set-up waits for it. Not owned.
  fw::CEvent* setupDone = nullptr;
  // What the pending action runs with (not owned): the insertion state the command reactor
  // finishes an insertion from, the drawing's memory of block names already asked about, and the
  // path TRVXQVOPEN opens. An action whose state is missing does nothing.
  insert::InsertionState* insertion = nullptr;
  std::vector<std::wstring>* askedBlockNames = nullptr;
  std::wstring* pendingOpenPath = nullptr;
};

class BlockDlg : public fw::Dialog {
 public:
  BlockDlg(void* parentWindow, BlockDlgEnvironment environment);
  ~BlockDlg() override;

  // Runs the dialog modally and returns the end code. The loader, the closing worker and the
  // delete workers of this showing have ended when it returns.
  int DoModal();

  PendingAction Pending() const { return pendingAction_; }
  // The block the pending action is for (valid until the library changes), its name and its
  // drawing (empty for a block of the current drawing).
  library::Block* PendingBlock() const { return pendingBlock_; }
  const std::wstring& PendingName() const { return pendingName_; }
  const std::wstring& PendingPath() const { return pendingPath_; }
  // Runs the pending action after the window is gone (the host's main thread).
  void RunPendingAction();

  // --- Operations other parts call (dialog's thread) -------------------------------------------
  // Makes `d` current: stores the option controls into the old directory, reads d's image cache
  // when needed, loads the option controls and queues d for the loader.
  void SwitchDirectory(library::Directory* d);
  // Whether the user may change the shared set-up (the Preferences button is enabled).
  bool MayEdit() const;
  MyList& Blocks() { return blocks_; }
  MyList2& Directories() { return directories_; }
  OptionControls& Options() { return *options_; }
  DialogLoaderView& View() { return *view_; }
  ViewButton& ViewControl() { return viewButton_; }
  int FormatLevel() const { return formatLevel_; }
  // The QuickPic window shown now, or nullptr.
  QuickPic* ShownQuickPic() const { return quickPic_.get(); }

  // Shows view 0..3 in the block list (Small Icons for Large Icons in a directory without large
  // images), re-sorts it with the current directory's style and shows the view on the button.
  void SetView(int view);
  // Sorts by a forward style (1..6) as a column click or the Sort menu asks: the same one again
  // reverses the order. The style is kept in the current directory.
  void SortBy(int forwardStyle);

 protected:
  bool OnInitDialog() override;
  void OnCancel() override;

 private:
  void WireHandlers();

  // Set-up (BlockDlgSetup.cpp).
  void SetUp();
  void NarrowForSmallScreens();
  void ReadFormatLevel();
  void CreateColumns();
  void SetupDlg();
  void ApplyAdministratorLock();
  void FillFromLibrary();
  void FillSchemeCombo();

  // Directories (BlockDlgDirectories.cpp).
  void OnDirectoryChanged(fw::Notify& notify);
  void OnAdd();
  void OnDelete();
  void OnMove(int step);
  void OnBeginLabelEdit(fw::Notify& notify);
  void OnEndLabelEdit(fw::Notify& notify);
  void OnDirectoryMenu(fw::Notify& notify);
  void Refresh();

  // The block list's views, sorting, menu, tooltips and QuickPic (BlockDlgList.cpp).
  void OnNextView();
  void OnViewMenu(const fw::Notify& notify);
  void ApplyView(int view);
  void OnColumnClick(const fw::Notify& notify);
  void OnBlockMenu(const fw::Notify& notify);
  void RunBlockMenuChoice(int chosen);
  void OnBlockTip(fw::Notify& notify);
  void OnDirectoryTip(fw::Notify& notify);
  void OnBlockClick(const fw::Notify& notify);
  void CloseQuickPic();

  // Quick find (BlockDlgFind.cpp).
  // The current directory when it is loaded and the list shows it, else nullptr.
  library::Directory* SearchableDirectory() const;
  void OnFindText();
  void OnFindKey(fw::Notify& notify);
  void FindNext();
  // Selects the first match at display position `start` or after; false when there is none.
  bool SelectMatch(const std::wstring& pattern, int start);
  // Switches to the directory of a match found elsewhere, so that it is selected once shown.
  bool ShowMatchElsewhere(const std::wstring& pattern, library::Directory* current);

  // Blocks and the properties box (BlockDlgBlocks.cpp).
  void OnBlockChanged(fw::Notify& notify);
  void ShowProperties(int item);
  void ClearProperties();
  void OnListFilled(fw::Notify& notify);
  void OnSelectedBlockProbed(const fw::Notify& notify);
  void OnBlockDoubleClick();

  // Buttons (BlockDlgButtons.cpp).
  void OnHelp();
  void OnPrint();
  void OnPreferences();
  void OnSchemes();
  void OnEditDescription();

  // Actions and closing (BlockDlgClosing.cpp).
  void StartAction(PendingAction action);
  void StartClosing();
  void ClosingWork();
  void EndShowing();

  void* parentWindow_;
  BlockDlgEnvironment environment_;
  MyList blocks_;
  MyList2 directories_;
  ViewButton viewButton_;
  std::unique_ptr<OptionControls> options_;
  std::unique_ptr<DialogLoaderView> view_;
  std::unique_ptr<QuickPic> quickPic_;
  // Each search drops what arrives while one of its kind runs.
  bool findRunning_ = false;
  bool findNextRunning_ = false;
  int formatLevel_;
  PendingAction pendingAction_ = PendingAction::kNone;
  std::wstring pendingDirectoryPath_;  // the action's directory, found again by it
  library::Block* pendingBlock_ = nullptr;
  std::wstring pendingName_;
  std::wstring pendingPath_;  // the drawing; empty for a block of the internal directory
  std::atomic<bool> closing_{false};
  bool loaderStarted_ = false;
  std::jthread closingWorker_;
};

// The dialog now open, or nullptr. Any thread. Set-up publishes it, the closing work clears it.
BlockDlg* OpenBlockDlg();
void PublishBlockDlg(BlockDlg* dialog);

}  // namespace ui
