// The edit box's text, limit and read-only state.
#include "fw/Edit.h"

#include "fw/Strings.h"

namespace fw {

void Edit::SetWindowText(const std::wstring& text) {
  if (!StoreText(text)) return;
  Notify notify;
  notify.event = Event::kTextChange;
  Raise(std::move(notify));
}

void Edit::SetLimitText(std::size_t limit) {
  std::lock_guard guard(lock_);
  limit_ = limit == 0 ? static_cast<std::size_t>(0x7FFFFFFE) : limit;
}

std::size_t Edit::GetLimitText() const {
  std::lock_guard guard(lock_);
  return limit_;
}

void Edit::SetReadOnly(bool readOnly) {
  if (readOnly) {
    ModifyStyle(0, ES_READONLY);
  } else {
    ModifyStyle(ES_READONLY, 0);
  }
}

std::wstring Edit::TypedText(const std::wstring& text) const {
  std::wstring typed = text.substr(0, GetLimitText());
  if ((GetStyle() & ES_UPPERCASE) != 0) typed = ToUpper(typed);
  return typed;
}

void Edit::StoreTypedText(const std::wstring& text) { StoreText(text); }

}  // namespace fw
