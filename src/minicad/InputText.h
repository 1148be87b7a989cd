// Command-line text being read, and the tokenising rule of the host's command line: a blank or
// a line end ends a token, except where a prompt takes text, which runs to the line end.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace minicad {

enum class TokenMode {
  kWord,  // a blank or a line end ends the token (command names, keywords, numbers)
  kLine,  // only a line end ends it (file names, free text)
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
  // The end of the text also ends a token. Call only when not exhausted.
  std::wstring Take(TokenMode mode);
};

// A file name as typed at a text prompt: surrounding blanks dropped, then one pair of double
// quotes around it removed.
std::wstring UnquoteFileName(std::wstring_view text);

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
