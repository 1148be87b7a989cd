// Registering the host's commands.
#include "minicad/BuiltinCommands.h"

#include "minicad/CommandProcessor.h"
#include "minicad/Host.h"

namespace minicad {
namespace {

constexpr const wchar_t* kBuiltinGroup = L"ACAD_BUILTIN";

}  // namespace

void AddHostCommand(Host& host, const wchar_t* name, Adesk::Int32 flags, void (*body)(Host&)) {
  host.Processor().AddBuiltinCommand(
      Command{kBuiltinGroup, name, name, flags, [&host, body] { body(host); }});
}

void AddBuiltinCommands(Host& host) {
  AddFileCommands(host);
  AddLayerCommands(host);
  AddDrawCommands(host);
  AddBlockCommands(host);
  AddEditCommands(host);
}

}  // namespace minicad
