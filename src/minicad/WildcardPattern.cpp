// The wildcard matcher: a parser for the host's pattern syntax and a dynamic-programming
// match, so no pattern can make a match take exponential time.
#include "minicad/WildcardPattern.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <clocale>
#include <cwctype>

namespace minicad {
namespace {

constexpr wchar_t kEscape = L'`';

// Letters are classified with the UTF-8 locale's tables, so that accented and non-Latin
// letters count as letters whatever locale the program runs in.
locale_t ClassifyingLocale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsLetter(wchar_t c) {
  locale_t locale = ClassifyingLocale();
  wint_t wide = static_cast<wint_t>(c);
  bool alphabetic = locale != nullptr ? iswalpha_l(wide, locale) != 0 : std::iswalpha(wide) != 0;
  return alphabetic && !IsDigit(c);
}

// The character at `at`, taking a back-quote as an escape of the character after it. Sets
// `next` to the position after what was read.
wchar_t ReadMember(std::wstring_view pattern, std::size_t at, std::size_t& next) {
  if (pattern[at] == kEscape && at + 1 < pattern.size()) {
    next = at + 2;
    return pattern[at + 1];
  }
  next = at + 1;
  return pattern[at];
}

}  // namespace

WildcardPattern::WildcardPattern(std::wstring_view pattern) {
  if (pattern.size() > kMaxLength) return;
  Alternative current;
  std::size_t at = 0;
  bool atAlternativeStart = true;
  while (at < pattern.size()) {
    if (atAlternativeStart && pattern[at] == L'~') {
      current.negated = true;
      ++at;
    }
    atAlternativeStart = false;
    if (at < pattern.size() && pattern[at] == L',') {
      alternatives_.push_back(std::move(current));
      current = Alternative();
      atAlternativeStart = true;
      ++at;
      continue;
    }
    if (at < pattern.size()) at = ParseElement(pattern, at, current);
  }
  alternatives_.push_back(std::move(current));
  for (Alternative& alternative : alternatives_) alternative.NoteShape();
}

void WildcardPattern::Alternative::NoteShape() {
  if (elements.size() < 2 || elements.front().kind != ElementKind::kAnyRun ||
      elements.back().kind != ElementKind::kAnyRun) {
    return;
  }
  std::wstring middle;
  for (std::size_t at = 1; at + 1 < elements.size(); ++at) {
    if (elements[at].kind != ElementKind::kLiteral) return;
    middle += elements[at].literal;
  }
  starInfixStar = true;
  infix = std::move(middle);
}

std::size_t WildcardPattern::ParseElement(std::wstring_view pattern, std::size_t at,
                                          Alternative& into) {
  Element element;
  std::size_t next = at + 1;
  switch (pattern[at]) {
    case L'*':
      // A run of stars matches what one star does.
      if (!into.elements.empty() && into.elements.back().kind == ElementKind::kAnyRun) return next;
      element.kind = ElementKind::kAnyRun;
      break;
    case L'?':
      element.kind = ElementKind::kAnyOne;
      break;
    case L'#':
      element.kind = ElementKind::kDigit;
      break;
    case L'@':
      element.kind = ElementKind::kLetter;
      break;
    case L'.':
      element.kind = ElementKind::kNonAlphanumeric;
      break;
    case L'[':
      next = ParseClass(pattern, at, element);
      break;
    default:
      element.literal = ReadMember(pattern, at, next);
      break;
  }
  into.elements.push_back(std::move(element));
  return next;
}

// Reads the class that starts with the "[" at `at` into `into` and returns the position after
// its "]". A class that is never closed leaves `into` a literal "[" and returns `at` + 1.
std::size_t WildcardPattern::ParseClass(std::wstring_view pattern, std::size_t at, Element& into) {
  Element parsed;
  parsed.kind = ElementKind::kClass;
  std::size_t position = at + 1;
  if (position < pattern.size() && pattern[position] == L'~') {
    parsed.negatedClass = true;
    ++position;
  }
  bool first = true;
  while (position < pattern.size()) {
    if (pattern[position] == L']' && !first) {
      into = std::move(parsed);
      return position + 1;
    }
    first = false;
    wchar_t low = ReadMember(pattern, position, position);
    wchar_t high = low;
    bool rangeFollows =
        position + 1 < pattern.size() && pattern[position] == L'-' && pattern[position + 1] != L']';
    if (rangeFollows) high = ReadMember(pattern, position + 1, position);
    parsed.members.push_back(CharacterRange{low, high});
  }
  into.kind = ElementKind::kLiteral;
  into.literal = L'[';
  return at + 1;
}

bool WildcardPattern::Element::Accepts(wchar_t c) const {
  switch (kind) {
    case ElementKind::kLiteral:
      return c == literal;
    case ElementKind::kAnyOne:
    case ElementKind::kAnyRun:
      return true;
    case ElementKind::kDigit:
      return IsDigit(c);
    case ElementKind::kLetter:
      return IsLetter(c);
    case ElementKind::kNonAlphanumeric:
      return !IsDigit(c) && !IsLetter(c);
    case ElementKind::kClass: {
      // A reversed range (z-a) holds no character.
      bool member = std::any_of(members.begin(), members.end(), [c](const CharacterRange& range) {
        return c >= range.first && c <= range.last;
      });
      return member != negatedClass;
    }
  }
  return false;
}

// reachable[j]: the elements taken so far can match the first j characters of `text`.
bool WildcardPattern::Alternative::Matches(std::wstring_view text) const {
  if (starInfixStar) return (text.find(infix) != std::wstring_view::npos) != negated;
  // The rows are kept per thread: a search matches one pattern against many strings.
  thread_local std::vector<char> reachable;
  thread_local std::vector<char> next;
  reachable.assign(text.size() + 1, 0);
  next.assign(text.size() + 1, 0);
  reachable[0] = 1;
  for (const Element& element : elements) {
    if (element.kind == ElementKind::kAnyRun) {
      // A star reaches every position at or after one reached before it.
      char any = 0;
      for (std::size_t j = 0; j <= text.size(); ++j) {
        any = static_cast<char>(any | reachable[j]);
        next[j] = any;
      }
    } else {
      next[0] = 0;
      for (std::size_t j = 0; j < text.size(); ++j) {
        next[j + 1] = static_cast<char>(reachable[j] && element.Accepts(text[j]));
      }
    }
    reachable.swap(next);
  }
  return (reachable[text.size()] != 0) != negated;
}

bool WildcardPattern::Matches(std::wstring_view text) const {
  if (text.size() > kMaxLength) return false;
  for (const Alternative& alternative : alternatives_) {
    if (alternative.Matches(text)) return true;
  }
  return false;
}

}  // namespace minicad
