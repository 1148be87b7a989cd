// Fuzz target for the command line: the bytes are a script run through a fresh host with no
// module. Every input must end in a clean session, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fw/Strings.h"
#include "minicad/Host.h"

namespace {

// Longer scripts only repeat what short ones reach, and each NEW keeps a drawing open.
constexpr std::size_t kMaxScriptBytes = 16 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxScriptBytes) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  minicad::Host host;
  host.RunScriptText(fw::FromUtf8(bytes));
  host.Quit();
  return 0;
}
