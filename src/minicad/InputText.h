// Command-line text being read, and the tokenising rule of the host's command line: a blank or
// a line end ends a token, except where a prompt takes text, which runs to the line end. At a
// name prompt a name in double quotes may hold blanks ("" inside stands for one quote), and at
// any prompt but a text prompt an AutoLISP expression, from "(" to its balancing ")", is one
// token whatever blanks it holds.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace minicad {

enum class TokenMode {
  kWord,  // a blank or a line end ends the token (command names, keywords, numbers)
  kName,  // as kWord, but a token that starts with a double quote runs to the closing one
  kLine,  // only a line end ends it (free text)
};

// The token that stands for the Escape key in typed, script and queued input.
inline constexpr std::wstring_view kEscapeToken = L"^C";

// One piece of input: a typed or script line (with its line end) or a string queued on a
// document.
struct InputText {
  std::wstring text;
  std::size_t position = 0;
  // Tokens are shown after their prompt, as if typed there.
  bool echo = true;
  // The next token was typed on a terminal that already shows it and its line end.
  bool shownByTerminal = false;

  bool Exhausted() const { return position >= text.size(); }

  // Takes the next token and the one blank or line end that ends it ("\r\n" counts as one line
  // end; "\r" alone is one too). Two separators in a row give an empty token, which is Enter.
  // The end of the text also ends a token. A quoted name loses its quotes (one without its
  // closing quote runs to the line end); an expression keeps its parentheses (one without its
  // balance runs to the line end). Call only when not exhausted.
  std::wstring Take(TokenMode mode);
  // The text the last Take consumed, as written (quotes included), without its separator: what
  // the command line echoes.
  std::wstring lastWritten = {};
  std::size_t tokenStart = 0;

 private:
  std::wstring TakeQuoted();
  std::wstring TakeExpression();
  void SkipSeparator();
};

// Writes a name so that a name prompt reads it back whole: in double quotes when it holds a
// blank, a quote or starts with "(" (a quote doubled inside), as it is otherwise.
std::wstring QuoteName(std::wstring_view name);

// The strings queued on one document's command line. Text queued while a command runs is held
// back until the command has ended, so it never answers that command's prompts.
class InputQueue {
 public:
  void Queue(InputText text, bool holdUntilCommandEnds);
  // Makes held text readable, after what is readable already.
  void ReleaseHeld();
  // The first readable text that is not exhausted (exhausted ones are dropped), or nullptr.
  // The pointer stays valid until the queue is changed.
  InputText* Front();
  void Clear();

 private:
  std::deque<InputText> ready_;
  std::deque<InputText> held_;
};

}  // namespace minicad
