// ACADVER to the drawing version table.
#include "ui/FormatLevel.h"

namespace ui {

std::optional<int> FormatLevelOf(std::wstring_view acadver) {
  struct Release {
    std::wstring_view prefix;
    int level;
  };
  // The version table's indexes: R13 14, R14 15, 2000 16, 2004 17, 2007 18, 2010 19, 2013 20,
  // 2018 21.
  constexpr Release kReleases[] = {{L"13", 14}, {L"14", 15}, {L"15", 16}, {L"16", 17},
                                   {L"17", 18}, {L"18", 19}, {L"19", 20}, {L"20", 20},
                                   {L"21", 20}, {L"22", 21}, {L"23", 21}, {L"24", 21}};
  if (acadver.size() < 2) return std::nullopt;
  std::wstring_view prefix = acadver.substr(0, 2);
  for (const Release& release : kReleases) {
    if (release.prefix == prefix) return release.level;
  }
  return std::nullopt;
}

}  // namespace ui
