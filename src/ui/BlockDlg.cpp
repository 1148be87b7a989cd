// The main dialog's construction, its handlers, and the modal run that outlives no thread.
#include "ui/BlockDlg.h"

#include <atomic>

#include "fw/BackgroundWork.h"
#include "fw/OwnerDrawButton.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "ui/BlockDlgIds.h"
#include "ui/DialogLoaderView.h"
#include "ui/OptionControls.h"
#include "ui/QuickPic.h"

namespace ui {
namespace {

std::atomic<BlockDlg*> openDialog{nullptr};

}  // namespace

BlockDlg* OpenBlockDlg() { return openDialog.load(); }

void PublishBlockDlg(BlockDlg* dialog) { openDialog.store(dialog); }

BlockDlg::BlockDlg(void* parentWindow, BlockDlgEnvironment environment)
    : Dialog(kBlockDlgTemplateId),
      parentWindow_(parentWindow),
      environment_(std::move(environment)),
      blocks_(Item<fw::ListCtrl>(kIdBlocks)),
      directories_(Item<fw::ListCtrl>(kIdDirectories)),
      viewButton_(Item<fw::OwnerDrawButton>(kIdViewButton)),
      options_(std::make_unique<OptionControls>(*this)),
      view_(std::make_unique<DialogLoaderView>(blocks_, directories_,
                                               Item<fw::ListCtrl>(kIdPlaceholder))),
      formatLevel_(0) {
  WireHandlers();
}

BlockDlg::~BlockDlg() { EndShowing(); }

void BlockDlg::WireHandlers() {
  using fw::Event;
  // Once the closing procedure has started, the user's clicks change nothing: the closing work
  // runs on its worker and reads the controls and the library.
  auto on = [this](int id, Event event, Handler handler) {
    On(id, event, [this, handler = std::move(handler)](fw::Notify& notify) {
      if (!closing_.load()) handler(notify);
    });
  };
  auto onSimple = [&on](int id, Event event, SimpleHandler handler) {
    on(id, event, [handler = std::move(handler)](fw::Notify&) { handler(); });
  };
  onSimple(kIdAdd, Event::kClicked, [this] { OnAdd(); });
  onSimple(kIdDelete, Event::kClicked, [this] { OnDelete(); });
  onSimple(kIdMoveUp, Event::kClicked, [this] { OnMove(-1); });
  onSimple(kIdMoveDown, Event::kClicked, [this] { OnMove(+1); });
  onSimple(kIdInsert, Event::kClicked, [this] { StartAction(PendingAction::kInsert); });
  onSimple(kIdOpen, Event::kClicked, [this] { StartAction(PendingAction::kOpen); });
  onSimple(kIdXref, Event::kClicked, [this] { StartAction(PendingAction::kXref); });
  onSimple(kIdViewButton, Event::kClicked, [this] { OnNextView(); });
  on(kIdViewButton, Event::kDropDown, [this](fw::Notify& n) { OnViewMenu(n); });
  onSimple(kIdEditDescription, Event::kClicked, [this] { OnEditDescription(); });
  onSimple(kIdPrint, Event::kClicked, [this] { OnPrint(); });
  onSimple(kIdPreferences, Event::kClicked, [this] { OnPreferences(); });
  onSimple(kIdSchemes, Event::kClicked, [this] { OnSchemes(); });
  onSimple(kIdHelp, Event::kClicked, [this] { OnHelp(); });
  onSimple(fw::kDialogId, Event::kHelp, [this] { OnHelp(); });
  on(kIdDirectories, Event::kItemChanged, [this](fw::Notify& n) { OnDirectoryChanged(n); });
  on(kIdDirectories, Event::kBeginLabelEdit, [this](fw::Notify& n) { OnBeginLabelEdit(n); });
  on(kIdDirectories, Event::kEndLabelEdit, [this](fw::Notify& n) { OnEndLabelEdit(n); });
  on(kIdDirectories, Event::kRightClicked, [this](fw::Notify& n) { OnDirectoryMenu(n); });
  on(kIdBlocks, Event::kItemChanged, [this](fw::Notify& n) { OnBlockChanged(n); });
  onSimple(kIdBlocks, Event::kDoubleClicked, [this] { OnBlockDoubleClick(); });
  on(kIdBlocks, Event::kClicked, [this](fw::Notify& n) { OnBlockClick(n); });
  on(kIdBlocks, Event::kColumnClick, [this](fw::Notify& n) { OnColumnClick(n); });
  on(kIdBlocks, Event::kRightClicked, [this](fw::Notify& n) { OnBlockMenu(n); });
  on(kIdBlocks, Event::kInfoTip, [this](fw::Notify& n) { OnBlockTip(n); });
  on(kIdDirectories, Event::kInfoTip, [this](fw::Notify& n) { OnDirectoryTip(n); });
  onSimple(kIdQuickFind, Event::kTextChange, [this] { OnFindText(); });
  // The find box asks for every key, so Enter reaches it rather than the default button; it
  // hands Tab and Escape on to the dialog. Before the closing procedure only, like the rest.
  on(kIdQuickFind, Event::kKey, [this](fw::Notify& n) { OnFindKey(n); });
  On(kCommandQuickPicClosed, Event::kCommand, [this] { quickPic_.reset(); });
  on(kIdListFilled, Event::kCommand, [this](fw::Notify& n) { OnListFilled(n); });
  on(kIdSelectedBlockProbed, Event::kCommand, [this](fw::Notify& n) { OnSelectedBlockProbed(n); });
  On(kCommandEndModal, Event::kCommand, [this] { EndDialog(fw::IDCANCEL); });
}

int BlockDlg::DoModal() {
  int code = Dialog::DoModal();
  EndShowing();
  return code;
}

// However the modal loop ended, the loader and the workers end before the controls may go: a
// showing that ended without its closing procedure (the driver gave up on it) runs it now.
void BlockDlg::EndShowing() {
  CloseQuickPic();
  if (loaderStarted_ && !closing_.load()) StartClosing();
  if (closingWorker_.joinable()) closingWorker_.join();
  library::JoinLoader();
  if (loaderStarted_) {
    loaderStarted_ = false;
    fw::SetBackgroundIdleCheck(nullptr);
    library::SetBlockItemUpdate(nullptr);
    library::SetLoaderView(nullptr);
  }
  PublishBlockDlg(nullptr);
}

bool BlockDlg::OnInitDialog() {
  SetUp();
  return true;
}

void BlockDlg::OnCancel() { StartClosing(); }

bool BlockDlg::MayEdit() const { return GetDlgItem(kIdPreferences)->IsWindowEnabled(); }

}  // namespace ui
