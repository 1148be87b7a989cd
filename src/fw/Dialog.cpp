// The dialog model: controls built from the template, handler dispatch with the platform's
// default processing, posted messages, focus, timers and data exchange.
#include "fw/Dialog.h"

#include <algorithm>
#include <cassert>

#include "fw/Button.h"
#include "fw/CheckBox.h"
#include "fw/ComboBox.h"
#include "fw/DataExchange.h"
#include "fw/Edit.h"
#include "fw/ListBox.h"
#include "fw/ListCtrl.h"
#include "fw/OwnerDrawButton.h"
#include "fw/ProgressCtrl.h"
#include "fw/RadioButton.h"
#include "fw/Resources.h"
#include "fw/Static.h"
#include "fw/UiDriver.h"

namespace fw {
namespace {

std::unique_ptr<Control> MakeControl(Dialog& dialog, int index, const ControlTemplate& entry,
                                     CRect rect) {
  switch (entry.kind) {
    case ControlKind::kButton:
      return std::make_unique<Button>(dialog, index, entry, rect);
    case ControlKind::kCheckBox:
      return std::make_unique<CheckBox>(dialog, index, entry, rect);
    case ControlKind::kRadioButton:
      return std::make_unique<RadioButton>(dialog, index, entry, rect);
    case ControlKind::kOwnerDrawButton:
      return std::make_unique<OwnerDrawButton>(dialog, index, entry, rect);
    case ControlKind::kGroupBox:
    case ControlKind::kStatic:
      return std::make_unique<Static>(dialog, index, entry, rect);
    case ControlKind::kEdit:
      return std::make_unique<Edit>(dialog, index, entry, rect);
    case ControlKind::kComboBox:
      return std::make_unique<ComboBox>(dialog, index, entry, rect);
    case ControlKind::kListBox:
      return std::make_unique<ListBox>(dialog, index, entry, rect);
    case ControlKind::kListCtrl:
      return std::make_unique<ListCtrl>(dialog, index, entry, rect);
    case ControlKind::kProgress:
      return std::make_unique<ProgressCtrl>(dialog, index, entry, rect);
  }
  return std::make_unique<Static>(dialog, index, entry, rect);
}

std::atomic<Dialog*> captureHolder{nullptr};

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kRadioButton || kind == ControlKind::kOwnerDrawButton;
}

}  // namespace

Dialog::Dialog(DialogTemplate dialogTemplate)
    : template_(std::move(dialogTemplate)), queue_(std::make_shared<DialogQueue>()) {
  BuildControls();
}

Dialog::Dialog(int templateId) : queue_(std::make_shared<DialogQueue>()) {
  std::optional<DialogTemplate> found = FindDialogTemplate(templateId);
  if (found) {
    template_ = std::move(*found);
  } else {
    missingTemplate_ = true;
    template_.id = templateId;
  }
  BuildControls();
}

Dialog::~Dialog() {
  // A modeless dialog goes away with its object; a modal one has ended before DoModal returned.
  if (IsShown() && !modal_) DestroyWindow();
  ReleaseCapture();
}

Dialog* GetCapture() { return captureHolder.load(); }

void Dialog::SetCapture() {
  if (IsShown()) captureHolder.store(this);
}

void Dialog::ReleaseCapture() {
  Dialog* self = this;
  captureHolder.compare_exchange_strong(self, nullptr);
}

void Dialog::BuildControls() {
  baseUnits_ = DialogBaseUnits(template_.fontName, template_.fontPointSize);
  caption_ = template_.caption;
  CRect client = fw::MapDialogRect(CRect{0, 0, template_.cx, template_.cy}, baseUnits_);
  clientSize_ = CSize{client.Width(), client.Height()};
  controls_.reserve(template_.controls.size());
  for (const ControlTemplate& entry : template_.controls) {
    int index = static_cast<int>(controls_.size());
    controls_.push_back(MakeControl(*this, index, entry, fw::MapDialogRect(entry.rect, baseUnits_)));
  }
}

int Dialog::DoModal() {
  if (missingTemplate_ || IsShown()) return -1;
  return GetUiDriver().RunModal(*this);
}

bool Dialog::Create() {
  if (missingTemplate_ || IsShown()) return false;
  GetUiDriver().ShowModeless(*this);
  return true;
}

void Dialog::DestroyWindow() {
  if (!IsShown() || modal_) return;
  GetUiDriver().DestroyModeless(*this);
}

void Dialog::EndDialog(int code) {
  if (OnDialogThread()) {
    endCode_ = code;
    ended_ = true;
    return;
  }
  Handle().EndDialog(code);
}

bool Dialog::PostCommand(int id) { return Handle().PostCommand(id); }

DialogHandle Dialog::Handle() const { return DialogHandle(queue_, queue_->Session()); }

bool Dialog::IsShown() const { return queue_->IsOpen(); }

bool Dialog::OnDialogThread() const { return queue_->OnDialogThread(); }

std::wstring Dialog::GetWindowText() const {
  std::lock_guard guard(stateLock_);
  return caption_;
}

void Dialog::SetWindowText(const std::wstring& caption) {
  {
    std::lock_guard guard(stateLock_);
    caption_ = caption;
  }
  queue_->NoteChange(kDialogChangeIndex, kChangeText);
}

CRect Dialog::MapDialogRect(const CRect& dialogUnits) const {
  return fw::MapDialogRect(dialogUnits, baseUnits_);
}

CRect Dialog::GetClientRect() const {
  std::lock_guard guard(stateLock_);
  return CRect{0, 0, clientSize_.cx, clientSize_.cy};
}

void Dialog::SetClientSize(CSize size) {
  {
    std::lock_guard guard(stateLock_);
    clientSize_ = size;
  }
  queue_->NoteChange(kDialogChangeIndex, kChangeLayout);
}

int Dialog::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned type) {
  return GetUiDriver().MessageBox(text, caption.empty() ? GetAppName() : caption, type);
}

Control* Dialog::GetDlgItem(int id) const {
  for (const auto& control : controls_) {
    if (control->GetDlgCtrlID() == id) return control.get();
  }
  return nullptr;
}

std::wstring Dialog::GetDlgItemText(int id) const {
  Control* control = GetDlgItem(id);
  return control != nullptr ? control->GetWindowText() : std::wstring();
}

void Dialog::SetDlgItemText(int id, const std::wstring& text) {
  if (Control* control = GetDlgItem(id)) control->SetWindowText(text);
}

int Dialog::IsDlgButtonChecked(int id) const {
  auto* button = dynamic_cast<Button*>(GetDlgItem(id));
  return button != nullptr ? button->GetCheck() : BST_UNCHECKED;
}

void Dialog::CheckDlgButton(int id, int check) {
  if (auto* button = dynamic_cast<Button*>(GetDlgItem(id))) button->SetCheck(check);
}

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (const auto& control : controls_) {
    int id = control->GetDlgCtrlID();
    if (id < firstId || id > lastId) continue;
    if (auto* button = dynamic_cast<Button*>(control.get())) {
      button->SetCheck(id == checkId ? BST_CHECKED : BST_UNCHECKED);
    }
  }
}

int Dialog::GetCheckedRadioButton(int firstId, int lastId) const {
  for (const auto& control : controls_) {
    int id = control->GetDlgCtrlID();
    auto* button = dynamic_cast<Button*>(control.get());
    if (id >= firstId && id <= lastId && button != nullptr && button->GetCheck() == BST_CHECKED) {
      return id;
    }
  }
  return 0;
}

std::vector<Control*> Dialog::RadioGroup(int id) const {
  Control* member = GetDlgItem(id);
  if (member == nullptr) return {};
  int start = member->Index();
  while (start > 0 && (controls_[static_cast<std::size_t>(start)]->GetStyle() & WS_GROUP) == 0) {
    --start;
  }
  std::vector<Control*> group;
  for (std::size_t at = static_cast<std::size_t>(start); at < controls_.size(); ++at) {
    Control& control = *controls_[at];
    if (static_cast<int>(at) != start && (control.GetStyle() & WS_GROUP) != 0) break;
    if (control.Kind() == ControlKind::kRadioButton) group.push_back(&control);
  }
  return group;
}

void Dialog::GotoDlgCtrl(int id) {
  if (Control* control = GetDlgItem(id)) focusIndex_ = control->Index();
}

int Dialog::GetFocusId() const {
  if (focusIndex_ < 0) return 0;
  return controls_[static_cast<std::size_t>(focusIndex_)]->GetDlgCtrlID();
}

void Dialog::SetDefID(int id) { defId_ = id; }

int Dialog::GetDefID() const {
  if (defId_ != 0) return defId_;
  for (const auto& control : controls_) {
    if (control->Kind() == ControlKind::kButton &&
        (control->GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return control->GetDlgCtrlID();
    }
  }
  return 0;
}

void Dialog::On(int id, Event event, Handler handler) {
  handlers_[{id, event}] = std::move(handler);
}

void Dialog::On(int id, Event event, SimpleHandler handler) {
  handlers_[{id, event}] = [handler = std::move(handler)](Notify&) { handler(); };
}

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange exchange(*this, saveAndValidate);
  DoDataExchange(exchange);
  if (exchange.FailedId() != 0) GotoDlgCtrl(exchange.FailedId());
  return !exchange.Failed();
}

void Dialog::SetTimer(int id, unsigned elapseMs) {
  std::lock_guard guard(stateLock_);
  timers_[id] = elapseMs;
}

bool Dialog::KillTimer(int id) {
  std::lock_guard guard(stateLock_);
  return timers_.erase(id) != 0;
}

std::vector<int> Dialog::TimerIds() const {
  std::lock_guard guard(stateLock_);
  std::vector<int> ids;
  for (const auto& [id, elapse] : timers_) ids.push_back(id);
  return ids;
}

unsigned Dialog::TimerElapse(int id) const {
  std::lock_guard guard(stateLock_);
  auto found = timers_.find(id);
  return found == timers_.end() ? 0 : found->second;
}

void Dialog::BeginShowing(bool modal) {
  modal_ = modal;
  ended_ = false;
  endCode_ = 0;
  focusIndex_ = -1;
  queue_->Open();
}

void Dialog::InitDialog() {
  assert(OnDialogThread());
  if (!OnInitDialog()) return;
  for (const auto& control : controls_) {
    if (IsTabStop(*control)) {
      focusIndex_ = control->Index();
      break;
    }
  }
}

bool Dialog::DeliverPosted() {
  assert(OnDialogThread());
  while (!IsEnded()) {
    std::optional<DialogQueue::Message> message = queue_->TakeNext();
    if (!message) break;
    switch (message->kind) {
      case DialogQueue::Kind::kCommand: {
        Notify notify;
        notify.id = message->value;
        notify.event = Event::kCommand;
        Dispatch(notify);
        break;
      }
      case DialogQueue::Kind::kEndDialog:
        EndDialog(message->value);
        break;
      case DialogQueue::Kind::kNotify:
        Dispatch(message->notify);
        break;
    }
  }
  return IsEnded();
}

void Dialog::FinishShowing() {
  ReleaseCapture();
  {
    std::lock_guard guard(stateLock_);
    timers_.clear();
  }
  queue_->Close();
}

const Dialog::Handler* Dialog::FindHandler(int id, Event event) const {
  auto found = handlers_.find({id, event});
  return found != handlers_.end() ? &found->second : nullptr;
}

void Dialog::Dispatch(Notify& notify) {
  assert(OnDialogThread());
  if (const Handler* found = FindHandler(notify.id, notify.event)) {
    // A copy, so a handler that wires itself again is not destroyed while it runs.
    Handler handler = *found;
    handler(notify);
  } else if (notify.event == Event::kClicked || notify.event == Event::kCommand) {
    CommandFallback(notify);
  }
  if (notify.event == Event::kKey && !notify.handled) ProcessKey(notify.key);
}

// A button's click is its command on the platform: a click reaches a command handler, a
// posted or menu command reaches a click handler, and IDOK and IDCANCEL end the dialog.
void Dialog::CommandFallback(Notify& notify) {
  Control* control = GetDlgItem(notify.id);
  if (control != nullptr && !IsButtonKind(control->Kind())) return;
  Event other = notify.event == Event::kClicked ? Event::kCommand : Event::kClicked;
  if (const Handler* found = FindHandler(notify.id, other)) {
    Handler handler = *found;
    handler(notify);
    return;
  }
  if (notify.id == IDOK) {
    OnOK();
  } else if (notify.id == IDCANCEL) {
    OnCancel();
  }
}

void Dialog::Raise(Notify notify) {
  if (!IsShown()) return;
  if (OnDialogThread()) {
    Dispatch(notify);
  } else {
    Handle().PostNotify(std::move(notify));
  }
}

void Dialog::ProcessKey(Key key) {
  auto command = [this](int id) {
    Notify notify;
    notify.id = id;
    notify.event = Event::kClicked;
    Dispatch(notify);
  };
  switch (key) {
    case Key::kEnter: {
      Control* focused = focusIndex_ >= 0 ? controls_[static_cast<std::size_t>(focusIndex_)].get()
                                          : nullptr;
      auto* button = dynamic_cast<Button*>(focused);
      if (button != nullptr && button->IsPushButton() && button->IsWindowEnabled()) {
        command(button->GetDlgCtrlID());
        return;
      }
      int defId = GetDefID();
      if (defId == 0) {
        command(IDOK);
        return;
      }
      Control* defaultButton = GetDlgItem(defId);
      if (defaultButton == nullptr || defaultButton->IsWindowEnabled()) command(defId);
      return;
    }
    case Key::kEscape:
      command(IDCANCEL);
      return;
    case Key::kTab:
      MoveFocusToNextTabStop();
      return;
    case Key::kCharacter:
      return;
    case Key::kF1: {
      Notify notify;
      notify.id = kDialogId;
      notify.event = Event::kHelp;
      Dispatch(notify);
      return;
    }
  }
}

void Dialog::FireTimer(int id) {
  {
    std::lock_guard guard(stateLock_);
    if (timers_.find(id) == timers_.end()) return;
  }
  Notify notify;
  notify.id = id;
  notify.event = Event::kTimer;
  Dispatch(notify);
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::IsTabStop(const Control& control) const {
  unsigned style = control.GetStyle();
  return (style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

void Dialog::MoveFocusToNextTabStop() {
  int count = static_cast<int>(controls_.size());
  for (int step = 1; step <= count; ++step) {
    int index = ((focusIndex_ < 0 ? -1 : focusIndex_) + step) % count;
    if (IsTabStop(*controls_[static_cast<std::size_t>(index)])) {
      focusIndex_ = index;
      return;
    }
  }
}

}  // namespace fw
