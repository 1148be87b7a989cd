// Fuzz target for the initialisation-file parser: any bytes parse, and the text written from the
// result parses back to the same sections and keys, in the same order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/CStringToObMap.h"
#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > settings::kMaxIniFileBytes) return 0;  // IniLoad never parses more
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  settings::CStringToObMap parsed = settings::ParseIniText(bytes);
  std::string written = settings::FormatIniText(parsed);
  settings::CStringToObMap reread = settings::ParseIniText(written);
  if (!(reread == parsed)) __builtin_trap();
  return 0;
}
