// Wide text behind a single pointer: its one heap block.
#include "fw/CompactString.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace fw {

namespace {

static_assert(alignof(wchar_t) <= sizeof(std::uint32_t), "characters follow the length unpadded");
constexpr std::size_t kCharsOffset = sizeof(std::uint32_t);

}  // namespace

CompactString::CompactString(std::wstring_view text) {
  if (text.empty()) return;
  Allocate(text.size());
  std::memcpy(chars_, text.data(), text.size() * sizeof(wchar_t));
  SetLength(text.size());
}

CompactString::CompactString(const CompactString& other)
    : CompactString(std::wstring_view(other)) {}

CompactString& CompactString::operator=(const CompactString& other) {
  if (this != &other) *this = CompactString(other);
  return *this;
}

CompactString& CompactString::operator=(CompactString&& other) noexcept {
  if (this != &other) {
    Release();
    chars_ = other.chars_;
    other.chars_ = nullptr;
  }
  return *this;
}

CompactString& CompactString::operator=(std::wstring_view text) {
  // Built aside first: `text` may be a view of this very string.
  *this = CompactString(text);
  return *this;
}

CompactString::~CompactString() { Release(); }

std::size_t CompactString::size() const noexcept {
  return chars_ != nullptr ? *Header() : 0;
}

void CompactString::Allocate(std::size_t length) {
  if (length > std::numeric_limits<Length>::max() - 1) {
    throw std::length_error("text too long for a compact string");
  }
  auto* block = static_cast<unsigned char*>(
      ::operator new(kCharsOffset + (length + 1) * sizeof(wchar_t)));
  chars_ = reinterpret_cast<wchar_t*>(block + kCharsOffset);
  *Header() = static_cast<Length>(length);
}

void CompactString::SetLength(std::size_t length) {
  length = std::min<std::size_t>(length, *Header());
  if (length == 0) {
    Release();
    return;
  }
  *Header() = static_cast<Length>(length);
  chars_[length] = L'\0';
}

void CompactString::Release() noexcept {
  if (chars_ == nullptr) return;
  ::operator delete(reinterpret_cast<unsigned char*>(chars_) - kCharsOffset);
  chars_ = nullptr;
}

CompactString::Length* CompactString::Header() const noexcept {
  return reinterpret_cast<Length*>(reinterpret_cast<unsigned char*>(chars_) - kCharsOffset);
}

}  // namespace fw
