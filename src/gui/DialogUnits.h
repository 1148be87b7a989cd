// Dialog units of the real window system: the template's font as wx has it, its base units
// measured as the platform's dialog manager measures them, and template rectangles in pixels.
#pragma once

#include <wx/font.h>

#include "fw/DialogTemplate.h"
#include "fw/Geometry.h"

namespace gui {

// The platform's rule: the average width of the 52 letters A-Z and a-z, rounded, and the
// character height.
fw::CSize BaseUnitsFromExtent(int alphabetWidth, int charHeight);
// The template's font: its face when the system has it, else the sans-serif face, at its
// point size.
wxFont TemplateFont(const fw::DialogTemplate& dialogTemplate);
// The font's base units on the screen.
fw::CSize FontBaseUnits(const wxFont& font);

}  // namespace gui
