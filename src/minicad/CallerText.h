// Text handed to a caller that releases it with acutDelString.
#pragma once

#include <string>

#include "arx/acutads.h"

namespace minicad {

// A copy made with the host's allocator; nullptr when memory runs out.
inline ACHAR* CopyForCaller(const std::wstring& text) {
  ACHAR* copy = nullptr;
  (void)acutNewString(text.c_str(), copy);
  return copy;
}

// The text of a caller's argument: empty for a null pointer.
inline std::wstring TextOf(const ACHAR* text) { return text == nullptr ? std::wstring() : text; }

}  // namespace minicad
