// The state every control keeps, and its change notes.
#include "fw/Control.h"

#include <utility>

#include "fw/Dialog.h"

namespace fw {

Control::Control(Dialog& dialog, int index, const ControlTemplate& controlTemplate, CRect rect)
    : dialog_(dialog),
      index_(index),
      id_(controlTemplate.id),
      kind_(controlTemplate.kind),
      text_(controlTemplate.caption),
      style_(controlTemplate.style),
      exStyle_(controlTemplate.exStyle),
      rect_(rect) {}

std::wstring Control::GetWindowText() const {
  std::lock_guard guard(lock_);
  return text_;
}

void Control::SetWindowText(const std::wstring& text) { StoreText(text); }

bool Control::StoreText(const std::wstring& text) {
  {
    std::lock_guard guard(lock_);
    if (text_ == text) return false;
    text_ = text;
  }
  NoteChange(kChangeText);
  return true;
}

bool Control::IsWindowEnabled() const {
  std::lock_guard guard(lock_);
  return (style_ & WS_DISABLED) == 0;
}

void Control::EnableWindow(bool enable) {
  if (enable) {
    ModifyStyle(WS_DISABLED, 0);
  } else {
    ModifyStyle(0, WS_DISABLED);
  }
}

bool Control::IsWindowVisible() const {
  std::lock_guard guard(lock_);
  return (style_ & WS_VISIBLE) != 0;
}

void Control::ShowWindow(int command) {
  if (command == SW_HIDE) {
    ModifyStyle(WS_VISIBLE, 0);
  } else {
    ModifyStyle(0, WS_VISIBLE);
  }
}

unsigned Control::GetStyle() const {
  std::lock_guard guard(lock_);
  return style_;
}

unsigned Control::GetExStyle() const {
  std::lock_guard guard(lock_);
  return exStyle_;
}

void Control::ModifyStyle(unsigned remove, unsigned add) {
  {
    std::lock_guard guard(lock_);
    unsigned style = (style_ & ~remove) | add;
    if (style == style_) return;
    style_ = style;
  }
  NoteChange(kChangeState);
}

CRect Control::GetWindowRect() const {
  std::lock_guard guard(lock_);
  return rect_;
}

void Control::MoveWindow(const CRect& rect) {
  {
    std::lock_guard guard(lock_);
    if (rect_ == rect) return;
    rect_ = rect;
  }
  NoteChange(kChangeState | kChangeLayout);
}

CRect Control::GetClientRect() const {
  std::lock_guard guard(lock_);
  return CRect{0, 0, rect_.Width(), rect_.Height()};
}

void Control::NoteChange(unsigned flags) const { dialog_.Queue().NoteChange(index_, flags); }

void Control::Raise(Notify notify) const {
  notify.id = id_;
  dialog_.Raise(std::move(notify));
}

}  // namespace fw
