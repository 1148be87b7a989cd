// An edit box: its text, the limit on what the user can type, and read-only. Setting the text
// raises Event::kTextChange, as the platform's edit does for typed and set text alike. Any thread
// (see Control).
#pragma once

#include <cstddef>

#include "fw/Control.h"

namespace fw {

class Edit final : public Control {
 public:
  // The platform's limit for a single-line edit when none is set.
  static constexpr std::size_t kDefaultLimit = 30000;

  using Control::Control;

  void SetWindowText(const std::wstring& text) override;
  // The most characters the user can type (0: the largest limit). Text set by the program is
  // not cut, as on the platform.
  void SetLimitText(std::size_t limit);
  std::size_t GetLimitText() const;
  bool IsReadOnly() const { return (GetStyle() & ES_READONLY) != 0; }
  void SetReadOnly(bool readOnly = true);
  // What typing `text` over the whole content leaves: cut to the limit, upper-cased for
  // ES_UPPERCASE.
  std::wstring TypedText(const std::wstring& text) const;
  // Stores typed text without raising the change (the caller raises it once).
  void StoreTypedText(const std::wstring& text);

 private:
  std::size_t limit_ = kDefaultLimit;
};

}  // namespace fw
