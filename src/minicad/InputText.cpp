// Tokenising command-line text and the queue of strings sent to a document.
#include "minicad/InputText.h"

#include <utility>

namespace minicad {
namespace {

bool IsLineEnd(wchar_t c) { return c == L'\n' || c == L'\r'; }

}  // namespace

std::wstring InputText::Take(TokenMode mode) {
  std::size_t end = position;
  while (end < text.size()) {
    wchar_t c = text[end];
    if (IsLineEnd(c) || (c == L' ' && mode == TokenMode::kWord)) break;
    ++end;
  }
  std::wstring token = text.substr(position, end - position);
  position = end;
  if (position < text.size()) {
    bool crlf = text[position] == L'\r' && position + 1 < text.size() &&
                text[position + 1] == L'\n';
    position += crlf ? 2 : 1;
  }
  return token;
}

std::wstring UnquoteFileName(std::wstring_view text) {
  std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  std::size_t last = text.find_last_not_of(L' ');
  text = text.substr(first, last - first + 1);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
    text = text.substr(1, text.size() - 2);
  }
  return std::wstring(text);
}

void InputQueue::Queue(InputText text, bool holdUntilCommandEnds) {
  if (text.Exhausted()) return;
  (holdUntilCommandEnds ? held_ : ready_).push_back(std::move(text));
}

void InputQueue::ReleaseHeld() {
  while (!held_.empty()) {
    ready_.push_back(std::move(held_.front()));
    held_.pop_front();
  }
}

InputText* InputQueue::Front() {
  while (!ready_.empty() && ready_.front().Exhausted()) ready_.pop_front();
  return ready_.empty() ? nullptr : &ready_.front();
}

void InputQueue::Clear() {
  ready_.clear();
  held_.clear();
}

}  // namespace minicad
