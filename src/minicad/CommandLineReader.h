// The command line's reader: takes the next token for a prompt from the input, in the host's
// order (strings queued on the active document first, then the typed or script line being
// read), and writes the dialogue as the host's command line shows it: the prompt, then the
// token echoed as if typed and a line end. Host main thread.
#pragma once

#include <string>
#include <string_view>

#include "minicad/InputText.h"

namespace minicad {

class Console;
class LineSource;

class CommandLineReader {
 public:
  struct Answer {
    enum class Kind {
      kToken,   // `text` holds the token (empty for Enter)
      kEscape,  // the Escape token; "*Cancel*" is shown
      kEnd,     // no input is left
    };
    Kind kind = Kind::kEnd;
    std::wstring text;
  };

  explicit CommandLineReader(Console& console);

  // The command line's own input until the next call; nullptr when there is none. The reader
  // does not own it. Whatever is left of the line being read is dropped.
  void SetSource(LineSource* source);

  // Reads the next token for `prompt`. `queue` is the active document's queue, or nullptr.
  // When no input is left and `cancelAtEnd` is set, shows the prompt and "*Cancel*", as a
  // command waiting for input is cancelled; otherwise the prompt is left out unless a typed
  // source already showed it. Every call consumes input or reports kEnd, so loops over it end.
  Answer Read(std::wstring_view prompt, TokenMode mode, InputQueue* queue, bool cancelAtEnd);

 private:
  Console& console_;
  LineSource* source_ = nullptr;
  bool sourceEnded_ = false;
  InputText line_;
};

}  // namespace minicad
