// The host's unit styles for distances.
#include "minicad/RealToString.h"

#include <cmath>

#include "fw/Strings.h"

namespace minicad {
namespace {

constexpr int kMaxPrecision = 8;
constexpr double kInchesPerFoot = 12;

// "-0.0000" reads as "0.0000".
std::wstring DropNegativeZero(std::wstring text) {
  if (!text.empty() && text.front() == L'-' &&
      text.find_first_not_of(L"-0.") == std::wstring::npos) {
    text.erase(0, 1);
  }
  return text;
}

// A whole number and a reduced fraction of 1/2^precision: "3 1/4", "1/2", "3".
std::wstring WholeAndFraction(double value, int precision, const wchar_t* separator) {
  const long long denominator = 1LL << precision;
  long long sixteenths = std::llround(value * static_cast<double>(denominator));
  long long whole = sixteenths / denominator;
  long long numerator = sixteenths % denominator;
  long long reduced = denominator;
  while (numerator != 0 && numerator % 2 == 0) {
    numerator /= 2;
    reduced /= 2;
  }
  if (numerator == 0) return std::to_wstring(whole);
  std::wstring fraction = std::to_wstring(numerator) + L"/" + std::to_wstring(reduced);
  return whole == 0 ? fraction : std::to_wstring(whole) + separator + fraction;
}

// Feet and inches, the inches written by `inches`, carrying a full foot of rounded inches.
template <class InchesText>
std::wstring FeetAndInches(double value, double roundStep, InchesText inches) {
  const double magnitude = std::fabs(value);
  double feet = std::floor(magnitude / kInchesPerFoot);
  double rest = std::round((magnitude - feet * kInchesPerFoot) / roundStep) * roundStep;
  if (rest >= kInchesPerFoot) {
    feet += 1;
    rest -= kInchesPerFoot;
  }
  const bool negative = value < 0 && (feet > 0 || rest > 0);
  return (negative ? L"-" : L"") + fw::Format(L"%.0f'-", feet) + inches(rest) + L"\"";
}

}  // namespace

std::optional<std::wstring> RealToString(double value, int unit, int precision) {
  if (!std::isfinite(value) || precision < 0 || precision > kMaxPrecision) return std::nullopt;
  switch (unit) {
    case 1:
      return DropNegativeZero(fw::Format(L"%.*E", precision, value));
    case 2:
      return DropNegativeZero(fw::Format(L"%.*f", precision, value));
    case 3:
      return FeetAndInches(value, std::pow(10.0, -precision),
                           [&](double inches) { return fw::Format(L"%.*f", precision, inches); });
    case 4:
      return FeetAndInches(value, 1.0 / static_cast<double>(1LL << precision), [&](double inches) {
        return WholeAndFraction(inches, precision, L" ");
      });
    case 5: {
      std::wstring text = WholeAndFraction(std::fabs(value), precision, L" ");
      return value < 0 && text != L"0" ? L"-" + text : text;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace minicad
