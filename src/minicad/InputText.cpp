// Tokenising command-line text and the queue of strings sent to a document.
#include "minicad/InputText.h"

#include <utility>

namespace minicad {
namespace {

bool IsLineEnd(wchar_t c) { return c == L'\n' || c == L'\r'; }

}  // namespace

void InputText::SkipSeparator() {
  lastWritten = text.substr(tokenStart, position - tokenStart);
  if (position >= text.size()) return;
  bool crlf = text[position] == L'\r' && position + 1 < text.size() && text[position + 1] == L'\n';
  position += crlf ? 2 : 1;
}

std::wstring InputText::Take(TokenMode mode) {
  tokenStart = position;
  if (mode != TokenMode::kLine && position < text.size() && text[position] == L'(') {
    return TakeExpression();
  }
  if (mode == TokenMode::kName && position < text.size() && text[position] == L'"') {
    return TakeQuoted();
  }
  std::size_t end = position;
  while (end < text.size()) {
    wchar_t c = text[end];
    if (IsLineEnd(c) || (c == L' ' && mode != TokenMode::kLine)) break;
    ++end;
  }
  std::wstring token = text.substr(position, end - position);
  position = end;
  SkipSeparator();
  return token;
}

// After the closing quote the token goes on to the next blank, as the host reads
// "My Block"=file.
std::wstring InputText::TakeQuoted() {
  std::wstring token;
  ++position;
  bool quoted = true;
  while (position < text.size()) {
    const wchar_t c = text[position];
    if (IsLineEnd(c) || (!quoted && c == L' ')) break;
    ++position;
    if (quoted && c == L'"') {
      if (position < text.size() && text[position] == L'"') {
        token += L'"';
        ++position;
      } else {
        quoted = false;
      }
      continue;
    }
    token += c;
  }
  SkipSeparator();
  return token;
}

// Parentheses inside strings ("...", with \" escapes) do not count. An expression ends at the
// line end even when it is not balanced yet.
std::wstring InputText::TakeExpression() {
  const std::size_t start = position;
  int depth = 0;
  bool inString = false;
  while (position < text.size() && !IsLineEnd(text[position])) {
    const wchar_t c = text[position++];
    if (inString) {
      if (c == L'\\' && position < text.size()) {
        ++position;
      } else if (c == L'"') {
        inString = false;
      }
    } else if (c == L'"') {
      inString = true;
    } else if (c == L'(') {
      ++depth;
    } else if (c == L')' && --depth == 0) {
      break;
    }
  }
  std::wstring token = text.substr(start, position - start);
  lastWritten = token;
  if (position < text.size() && (text[position] == L' ' || IsLineEnd(text[position]))) {
    SkipSeparator();
  }
  return token;
}

std::wstring QuoteName(std::wstring_view name) {
  const bool plain = !name.empty() && name.front() != L'(' &&
                     name.find_first_of(L" \"") == std::wstring_view::npos;
  if (plain) return std::wstring(name);
  std::wstring quoted = L"\"";
  for (wchar_t c : name) {
    quoted += c;
    if (c == L'"') quoted += L'"';
  }
  return quoted + L"\"";
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
