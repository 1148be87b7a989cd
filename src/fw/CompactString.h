// Wide text held behind a single pointer: for records kept by the hundred thousand, where a
// std::wstring's 32 bytes of bookkeeping would cost more than the text itself.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// An immutable value: copying copies the text, assigning replaces it. The empty text allocates
// nothing; any other is one heap block of its length and its characters with a terminator.
//
// It reads like the std::wstring it stands in for (empty, size, c_str, a view and a string on
// request), so fields can hold it without changing their readers; it is built from a
// std::wstring_view, to which anything string-like converts. One thread at a time, like a
// std::wstring.
class CompactString {
 public:
  CompactString() noexcept = default;
  // Implicit, so that a field of this type takes what a std::wstring field took.
  CompactString(std::wstring_view text);
  CompactString(const CompactString& other);
  CompactString(CompactString&& other) noexcept : chars_(other.chars_) { other.chars_ = nullptr; }
  CompactString& operator=(const CompactString& other);
  CompactString& operator=(CompactString&& other) noexcept;
  CompactString& operator=(std::wstring_view text);
  ~CompactString();

  // Room for `length` characters, written by `fill(wchar_t* characters)`, which returns how
  // many it wrote (at most `length`): a reader decodes straight into the text's own block.
  template <typename Fill>
  static CompactString Filled(std::size_t length, Fill fill) {
    CompactString text;
    if (length == 0) return text;
    text.Allocate(length);
    text.SetLength(fill(text.chars_));
    return text;
  }

  bool empty() const noexcept { return chars_ == nullptr; }
  std::size_t size() const noexcept;
  const wchar_t* c_str() const noexcept { return chars_ != nullptr ? chars_ : L""; }

  // Implicit, so that readers written for a std::wstring field compile unchanged.
  operator std::wstring_view() const noexcept { return {c_str(), size()}; }
  operator std::wstring() const { return std::wstring(c_str(), size()); }

  friend bool operator==(const CompactString& a, const CompactString& b) noexcept {
    return std::wstring_view(a) == std::wstring_view(b);
  }
  friend bool operator==(const CompactString& a, std::wstring_view b) noexcept {
    return std::wstring_view(a) == b;
  }
  friend std::strong_ordering operator<=>(const CompactString& a, const CompactString& b) noexcept {
    return std::wstring_view(a) <=> std::wstring_view(b);
  }
  friend std::strong_ordering operator<=>(const CompactString& a, std::wstring_view b) noexcept {
    return std::wstring_view(a) <=> b;
  }

 private:
  // The block: a 32-bit length, then the characters and a terminator; `chars_` points at the
  // characters, null for the empty text.
  using Length = std::uint32_t;

  void Allocate(std::size_t length);
  // Sets the length after a fill; the empty text gives its block back.
  void SetLength(std::size_t length);
  void Release() noexcept;
  Length* Header() const noexcept;

  wchar_t* chars_ = nullptr;
};

}  // namespace fw
