// Fuzz target for the initialisation-file parser: any bytes parse, and the text written from the
// result parses back to the same sections and keys, in the same order.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/CStringToObMap.h"
#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > settings::kMaxIniFileBytes) return 0;  // IniLoad never parses more
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::optional<settings::CStringToObMap> parsed = settings::ParseIniText(bytes);
  if (!parsed) return 0;  // more lines than a settings file has: refused
  std::string written = settings::FormatIniText(*parsed);
  std::optional<settings::CStringToObMap> reread = settings::ParseIniText(written);
  if (!reread || !(*reread == *parsed)) __builtin_trap();
  return 0;
}
