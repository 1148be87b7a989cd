// The host's own commands, with the host's prompts and keywords: the file commands (NEW, OPEN,
// CLOSE, SAVEAS, QUIT, and DWGPROPS for the drawing properties), the layer and linetype commands
// (-LAYER, -LINETYPE, COLOR), the drawing commands (LINE, CIRCLE, ARC, TEXT, ATTDEF, DIMLINEAR),
// the block commands (-BLOCK, -INSERT, -XREF) and the editing commands (EXPLODE, ERASE,
// DBLIST).
#pragma once

#include "arx/accmd.h"

namespace minicad {

class Host;

// Adds them all to the host's command processor.
void AddBuiltinCommands(Host& host);

// Adds one command under the same global and local name.
void AddHostCommand(Host& host, const wchar_t* name, Adesk::Int32 flags, void (*body)(Host&));

void AddFileCommands(Host& host);
void AddLayerCommands(Host& host);
void AddDrawCommands(Host& host);
void AddBlockCommands(Host& host);
void AddEditCommands(Host& host);

}  // namespace minicad
