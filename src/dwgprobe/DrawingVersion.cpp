// The drawing version table and its lookups.
#include "dwgprobe/DrawingVersion.h"

#include <algorithm>
#include <string_view>

namespace dwgprobe {

const std::array<const wchar_t*, kVersionCount> kVersionNames = {
    L"Unknwn", L"0.0", L"1.2",  L"1.4",    L"1.5", L"2.1",  L"2.2",  L"2.21",
    L"2.22",   L"2.5", L"2.6",  L"R9",     L"R10", L"R11/12", L"R13", L"R14",
    L"2000",   L"2004", L"2007", L"2010",  L"2013", L"2018"};

namespace {

struct VersionString {
  std::string_view text;
  int index;
};

constexpr VersionString kVersionStrings[] = {
    {"MC0.00", 1},  {"AC1.20", 2},  {"AC1.40", 3},  {"AC1.50", 4},  {"AC2.10", 5},
    {"AC2.20", 6},  {"AC2.21", 7},  {"AC2.22", 8},  {"AC1001", 9},  {"AC1002", 9},
    {"AC1003", 10}, {"AC1004", 11}, {"AC1005", 12}, {"AC1006", 12}, {"AC1007", 13},
    {"AC1008", 13}, {"AC1009", 13}, {"AC1010", 14}, {"AC1011", 14}, {"AC1012", 14},
    {"AC1013", 15}, {"AC1014", 15}, {"AC1015", 16}, {"AC1016", 16}, {"AC1017", 16},
    {"AC1018", 17}, {"AC1019", 17}, {"AC1020", 17}, {"AC1021", 18}, {"AC1022", 18},
    {"AC1023", 18}, {"AC1024", 19}, {"AC1025", 19}, {"AC1026", 19}, {"AC1027", 20},
    {"AC1032", 21}};

constexpr std::size_t kVersionStringLength = 6;

}  // namespace

int VersionIndex(std::span<const std::uint8_t> firstBytes) {
  if (firstBytes.size() < kVersionStringLength) return 0;
  std::string_view text(reinterpret_cast<const char*>(firstBytes.data()), kVersionStringLength);
  const auto* found = std::find_if(std::begin(kVersionStrings), std::end(kVersionStrings),
                                   [text](const VersionString& v) { return v.text == text; });
  return found == std::end(kVersionStrings) ? 0 : found->index;
}

const wchar_t* VersionName(int index) {
  if (index < 0 || index >= kVersionCount) return kVersionNames[0];
  return kVersionNames[static_cast<std::size_t>(index)];
}

}  // namespace dwgprobe
