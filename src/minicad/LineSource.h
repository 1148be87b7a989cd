// Where the command line's own input comes from, a line at a time: the lines of a script, or a
// stream (a terminal, or a file or pipe standing in for one).
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace minicad {

class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line without its line end (a "\r" before it is dropped too), or nothing at the
  // end. May wait for a person when IsTyped().
  virtual std::optional<std::wstring> ReadLine() = 0;
  // True when a person types the lines on a terminal: the prompt has to be shown before
  // reading, and the terminal already shows what was typed.
  virtual bool IsTyped() const = 0;
};

// The lines of a script held in memory. A last line without a line end still counts; a leading
// byte-order mark is dropped.
class ScriptLines : public LineSource {
 public:
  explicit ScriptLines(std::wstring_view text);
  std::optional<std::wstring> ReadLine() override;
  bool IsTyped() const override { return false; }

 private:
  std::wstring text_;
  std::size_t position_ = 0;
};

// The lines of a UTF-8 stream, read as they are needed (invalid bytes become U+FFFD). A
// leading byte-order mark is dropped.
class StreamLines : public LineSource {
 public:
  StreamLines(std::istream& in, bool typed) : in_(in), typed_(typed) {}
  std::optional<std::wstring> ReadLine() override;
  bool IsTyped() const override { return typed_; }

 private:
  std::istream& in_;
  bool typed_;
  bool firstLine_ = true;
};

}  // namespace minicad
