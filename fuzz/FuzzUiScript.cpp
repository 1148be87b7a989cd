// Fuzz target for the headless driver's script parser: any bytes give steps or a clean error,
// and every step written back as a line parses to the same step.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fw/UiScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > fw::kMaxUiScriptBytes) return 0;  // LoadUiScript never parses more
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fw::Result<std::vector<fw::UiStep>> steps = fw::ParseUiScript(bytes);
  if (!steps) return 0;
  for (const fw::UiStep& step : steps.Value()) {
    fw::Result<std::vector<fw::UiStep>> again = fw::ParseUiScript(fw::FormatUiStep(step));
    if (!again || again.Value().size() != 1) __builtin_trap();
    fw::UiStep reread = again.Value()[0];
    reread.line = step.line;
    if (!(reread == step)) __builtin_trap();
  }
  return 0;
}
