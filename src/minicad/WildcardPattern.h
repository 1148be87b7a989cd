// The host's wildcard patterns, as acutWcMatch reads them: parsed once, then matched against
// any number of strings in time proportional to the pattern's length times the string's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace minicad {

// Syntax (case-sensitive throughout):
//   *  any run of characters, the empty one included     ?  any one character
//   #  a digit 0-9      @  a letter      .  a character that is neither letter nor digit
//   `x  the character x itself (a back-quote at the very end stands for itself)
//   [...]  one character of the class: single characters and ranges a-z; "~" right after
//          "[" negates the class; a "]" right after "[" or "[~" is a member; "-" first or last
//          is a member; a back-quote escapes the next member. A "[" that is never closed
//          stands for itself.
//   ,  separates alternatives; a string matches when it matches any of them
//   ~  as the first character of an alternative: the alternative matches what the rest of it
//      does not. Elsewhere outside a class, "~" stands for itself.
// An empty alternative matches the empty string only.
class WildcardPattern {
 public:
  // Patterns and strings longer than this are refused: far longer than any name the host
  // keeps, and it bounds one match at about kMaxLength squared steps.
  static constexpr std::size_t kMaxLength = 4096;

  // A pattern longer than kMaxLength is kept as one that matches nothing.
  explicit WildcardPattern(std::wstring_view pattern);

  // False for a string longer than kMaxLength.
  bool Matches(std::wstring_view text) const;

 private:
  enum class ElementKind { kLiteral, kAnyOne, kAnyRun, kDigit, kLetter, kNonAlphanumeric, kClass };
  struct CharacterRange {
    wchar_t first;
    wchar_t last;
  };
  struct Element {
    ElementKind kind = ElementKind::kLiteral;
    wchar_t literal = 0;
    bool negatedClass = false;
    std::vector<CharacterRange> members;

    bool Accepts(wchar_t c) const;
  };
  struct Alternative {
    bool negated = false;
    std::vector<Element> elements;
    // "*" + plain characters + "*", the commonest pattern ("anything holding this"): matched
    // as a search for `infix`.
    bool starInfixStar = false;
    std::wstring infix;

    // Sets starInfixStar and infix from the elements.
    void NoteShape();
    bool Matches(std::wstring_view text) const;
  };

  static std::size_t ParseElement(std::wstring_view pattern, std::size_t at, Alternative& into);
  static std::size_t ParseClass(std::wstring_view pattern, std::size_t at, Element& into);

  std::vector<Alternative> alternatives_;
};

}  // namespace minicad
