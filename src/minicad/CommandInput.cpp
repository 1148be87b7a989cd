// Prompts of the host's commands and the reading of their answers.
#include "minicad/CommandInput.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <numbers>
#include <variant>
#include <vector>

#include "arx/adscodes.h"
#include "fw/Strings.h"
#include "minicad/CommandProcessor.h"
#include "minicad/Console.h"
#include "minicad/Finite.h"
#include "minicad/Host.h"
#include "minicad/RealToString.h"
#include "minicad/SystemVariables.h"

namespace minicad {
namespace {

double ToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at - start));
    if (at == std::wstring_view::npos) return parts;
    start = at + 1;
  }
}

template <class T>
T VariableOr(const Host& host, std::wstring_view name, T fallback) {
  std::optional<VariableValue> value = const_cast<Host&>(host).Variables().Value(name);
  if (!value) return fallback;
  const T* held = std::get_if<T>(&*value);
  return held == nullptr ? fallback : *held;
}

}  // namespace

std::optional<std::wstring> CommandInput::Ask(std::wstring_view prompt, TokenMode mode) {
  PromptAnswer answer = host_.Processor().Prompt(prompt, mode);
  if (!answer.Ok()) return std::nullopt;
  return std::move(answer.text);
}

std::optional<std::wstring> CommandInput::Name(std::wstring_view prompt) {
  return Ask(prompt, TokenMode::kName);
}

std::optional<std::wstring> CommandInput::Text(std::wstring_view prompt) {
  return Ask(prompt, TokenMode::kLine);
}

std::optional<std::wstring> CommandInput::Word(std::wstring_view prompt) {
  return Ask(prompt, TokenMode::kWord);
}

void CommandInput::Fail(std::wstring_view line) {
  Print(std::wstring(line) + L"\n");
  host_.Processor().FailCommand();
}

void CommandInput::Print(std::wstring_view text) { host_.GetConsole().Write(text); }

std::optional<double> CommandInput::ParseReal(std::wstring_view text) const {
  const std::wstring copy(text);
  if (copy.empty() || copy.front() == L' ') return std::nullopt;
  wchar_t* end = nullptr;
  const double value = std::wcstod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !IsFinite(value)) return std::nullopt;
  return value;
}

std::optional<AcGePoint3d> CommandInput::ParsePoint(std::wstring_view answer) const {
  const bool relative = !answer.empty() && answer.front() == L'@';
  if (relative) answer.remove_prefix(1);
  AcGePoint3d point;
  if (relative && answer.empty()) {
    // "@" alone is the last point itself.
  } else if (const std::size_t angle = answer.find(L'<'); angle != std::wstring_view::npos) {
    const auto distance = ParseReal(answer.substr(0, angle));
    const auto degrees = ParseReal(answer.substr(angle + 1));
    if (!distance || !degrees) return std::nullopt;
    point = {*distance * std::cos(ToRadians(*degrees)), *distance * std::sin(ToRadians(*degrees)),
             0};
  } else {
    const std::vector<std::wstring_view> parts = Split(answer, L',');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    double coordinates[3] = {0, 0, 0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const auto value = ParseReal(parts[i]);
      if (!value) return std::nullopt;
      coordinates[i] = *value;
    }
    point = {coordinates[0], coordinates[1], coordinates[2]};
  }
  if (relative) {
    const VariablePoint last = VariableOr(host_, L"LASTPOINT", VariablePoint{0, 0, 0});
    point = {point.x + last[0], point.y + last[1], point.z + last[2]};
  }
  if (!IsFinite(point)) return std::nullopt;
  return point;
}

void CommandInput::SetLastPoint(const AcGePoint3d& point) {
  resbuf value{};
  value.restype = RT3DPOINT;
  value.resval.rpoint[0] = point.x;
  value.resval.rpoint[1] = point.y;
  value.resval.rpoint[2] = point.z;
  (void)host_.Variables().Set(L"LASTPOINT", value);
}

std::optional<AcGePoint3d> CommandInput::Point(std::wstring_view prompt) {
  std::optional<std::wstring> answer = Word(prompt);
  // A point has no default: Enter (or a blank) asks again, as the host does.
  while (answer && answer->empty()) answer = Word(prompt);
  if (!answer) return std::nullopt;
  std::optional<AcGePoint3d> point = ParsePoint(*answer);
  if (!point) {
    Fail(L"Point or option keyword required.");
    return std::nullopt;
  }
  SetLastPoint(*point);
  return point;
}

std::optional<double> CommandInput::Real(std::wstring_view prompt, std::optional<double> fallback,
                                         Rule rule) {
  std::optional<std::wstring> answer = Word(prompt);
  if (!answer) return std::nullopt;
  std::optional<double> value = answer->empty() ? fallback : ParseReal(*answer);
  if (!value) {
    Fail(L"Requires numeric value.");
    return std::nullopt;
  }
  if (rule == Rule::kPositive && !(*value > 0)) {
    Fail(L"Value must be positive and nonzero.");
    return std::nullopt;
  }
  if (rule == Rule::kNonZero && *value == 0) {
    Fail(L"Value must be nonzero.");
    return std::nullopt;
  }
  return value;
}

std::optional<double> CommandInput::Angle(std::wstring_view prompt, double fallbackDegrees) {
  std::optional<std::wstring> answer = Word(prompt);
  if (!answer) return std::nullopt;
  std::optional<double> degrees = answer->empty() ? fallbackDegrees : ParseReal(*answer);
  if (!degrees) {
    Fail(L"Requires valid numeric angle or second point.");
    return std::nullopt;
  }
  return ToRadians(*degrees);
}

int CommandInput::MatchKeyword(std::wstring_view answer, std::span<const wchar_t* const> keywords) {
  while (!answer.empty() && answer.front() == L'_') answer.remove_prefix(1);
  if (answer.empty()) return -1;
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::wstring_view keyword = keywords[i];
    std::size_t capitals = 0;
    while (capitals < keyword.size() && std::iswupper(keyword[capitals])) ++capitals;
    if (answer.size() >= std::max<std::size_t>(capitals, 1) && answer.size() <= keyword.size() &&
        fw::EqualsNoCase(answer, keyword.substr(0, answer.size()))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<bool> CommandInput::YesNo(std::wstring_view prompt, bool fallback) {
  std::optional<std::wstring> answer = Word(prompt);
  if (!answer) return std::nullopt;
  if (answer->empty()) return fallback;
  static constexpr const wchar_t* kYesNo[] = {L"Yes", L"No"};
  const int chosen = MatchKeyword(*answer, kYesNo);
  if (chosen < 0) {
    Fail(L"Invalid option keyword.");
    return std::nullopt;
  }
  return chosen == 0;
}

std::wstring CommandInput::Distance(double value) const {
  const auto units = VariableOr<std::int16_t>(host_, L"LUNITS", 2);
  const auto precision = VariableOr<std::int16_t>(host_, L"LUPREC", 4);
  return RealToString(value, units, precision).value_or(fw::Format(L"%g", value));
}

std::wstring CommandInput::Degrees(double radians) {
  std::wstring text = fw::Format(L"%.6f", radians * 180.0 / std::numbers::pi);
  text.erase(text.find_last_not_of(L'0') + 1);
  if (text.back() == L'.') text.pop_back();
  return text == L"-0" ? L"0" : text;
}

}  // namespace minicad
