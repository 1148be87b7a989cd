// Names on the host's command line. A drawing's path or a block's name goes into typed command
// text ("._-insert " + path + "\n") or into a token list, so a name must arrive as one answer and
// nothing of it may run as a command:
// - a line end or any other control character would end the answer early and feed the rest to
//   the command line, and a double quote would end a quoted name early: such names are refused;
// - a blank ends a typed answer, so a name holding one is typed in double quotes, which the
//   host takes whole; so is a name that begins with "(" (read as an AutoLISP expression) or "'"
//   (read as a transparent command);
// - a token list element is one answer whatever blanks it holds, so it is passed as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace insert {

// True when the text holds no control character and no double quote.
bool IsSafeName(std::wstring_view name);

// The name as typed input: as it is, or double-quoted whole where the command line would split
// or read it otherwise. Nothing for a name that is not safe.
std::optional<std::wstring> TypedName(std::wstring_view name);

// The message shown when a drawing cannot be passed to the host: it names the file (its control
// characters written visibly) and says why. `action` is "inserted", "attached", "overlaid" ...
std::wstring UnsafeNameMessage(std::wstring_view file, std::wstring_view action);

}  // namespace insert
