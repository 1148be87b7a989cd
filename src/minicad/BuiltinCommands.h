// The host's own commands: NEW, OPEN, CLOSE and QUIT.
#pragma once

namespace minicad {

class Host;

// Adds them to the host's command processor.
void AddBuiltinCommands(Host& host);

}  // namespace minicad
