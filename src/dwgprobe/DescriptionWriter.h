// Writing a block's description into its drawing: the drawing's summary information is
// changed through the host's database and the drawing saved again in its own format.
#pragma once

#include <string>

#include "arx/dbmain.h"

namespace dwgprobe {

// The format a drawing of version index `version` is saved in: 2000 to 2013 keep their own
// format; every other index, R13 and R14 among them, is saved in the host's own (2018).
AcDb::AcDbDwgVersion SaveFormatOf(int version);

// Stores `description` in the drawing's summary information and saves the drawing in its own
// format through the temporary file beside it (the drawing path with ".dwg2"), which then takes
// the drawing's place. An R13 or R14 drawing keeps its BMP preview: the bytes are appended to the
// saved file and its image section's BMP record (or, without one, its header-data record) points
// at them. Returns whether the save succeeded. A drawing the host cannot read (missing, damaged,
// or of another program) gives false and stays as it was. Host main thread (the dialog thread).
bool WriteDescription(const std::wstring& drawingPath, int version,
                      const std::wstring& description);

}  // namespace dwgprobe
