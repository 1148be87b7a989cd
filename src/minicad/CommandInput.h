// What the host's commands ask at their prompts: names, text, points, numbers, angles and
// keywords, with the host's own lines for an answer it cannot use. Every call returns nothing
// when the command is over: cancelled (Escape, or no input left), or failed on an answer it
// cannot use (the host's line is then printed and the command marked failed). Host main thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "arx/gepnt3d.h"
#include "minicad/InputText.h"

namespace minicad {

class Host;

class CommandInput {
 public:
  explicit CommandInput(Host& host) : host_(host) {}

  // A name as written at a name prompt: in double quotes it may hold blanks. Enter is empty.
  std::optional<std::wstring> Name(std::wstring_view prompt);
  // The rest of the line. Enter is empty.
  std::optional<std::wstring> Text(std::wstring_view prompt);
  // One blank-ended word (a keyword, a number, an AutoLISP expression). Enter is empty.
  std::optional<std::wstring> Word(std::wstring_view prompt);

  // "x,y" or "x,y,z"; "@dx,dy[,dz]" from the last point; "d<angle" and "@d<angle" in polar
  // form. Enter asks again. Sets LASTPOINT.
  std::optional<AcGePoint3d> Point(std::wstring_view prompt);
  // A point answer, or nothing when `answer` is no point; for prompts that also take keywords.
  std::optional<AcGePoint3d> ParsePoint(std::wstring_view answer) const;
  void SetLastPoint(const AcGePoint3d& point);

  enum class Rule { kAny, kPositive, kNonZero };
  // A number; Enter takes `fallback` when there is one.
  std::optional<double> Real(std::wstring_view prompt, std::optional<double> fallback, Rule rule);
  // An angle in degrees, returned in radians; Enter takes `fallbackDegrees`.
  std::optional<double> Angle(std::wstring_view prompt, double fallbackDegrees);

  // Which of `keywords` the answer names (a leading "_" selects the English keyword; any
  // prefix at least as long as the keyword's capitals, without regard to case), or -1.
  static int MatchKeyword(std::wstring_view answer, std::span<const wchar_t* const> keywords);
  // A yes/no question: Yes or No by keyword, Enter takes `fallback`; anything else fails.
  std::optional<bool> YesNo(std::wstring_view prompt, bool fallback);

  // Prints the host's line and marks the running command failed.
  void Fail(std::wstring_view line);
  void Print(std::wstring_view text);

  // A number the way the command line shows distances and values (the drawing's LUNITS and
  // LUPREC), and angles (degrees, without trailing zeros).
  std::wstring Distance(double value) const;
  static std::wstring Degrees(double radians);

 private:
  std::optional<std::wstring> Ask(std::wstring_view prompt, TokenMode mode);
  std::optional<double> ParseReal(std::wstring_view text) const;

  Host& host_;
};

}  // namespace minicad
