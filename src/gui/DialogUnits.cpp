// The template font's metrics on the real screen.
#include "gui/DialogUnits.h"

#include <wx/dcscreen.h>
#include <wx/fontenum.h>

#include "gui/WxText.h"

namespace gui {

fw::CSize BaseUnitsFromExtent(int alphabetWidth, int charHeight) {
  return fw::CSize{(alphabetWidth / 26 + 1) / 2, charHeight};
}

wxFont TemplateFont(const fw::DialogTemplate& dialogTemplate) {
  wxFontInfo info(dialogTemplate.fontPointSize > 0 ? dialogTemplate.fontPointSize : 8);
  const wxString face = ToWx(dialogTemplate.fontName);
  // The platform's bitmap faces are not found here; the sans-serif face stands in.
  if (wxFontEnumerator::IsValidFacename(face)) {
    info.FaceName(face);
  } else {
    info.Family(wxFONTFAMILY_SWISS);
  }
  return wxFont(info);
}

fw::CSize FontBaseUnits(const wxFont& font) {
  wxScreenDC dc;
  dc.SetFont(font);
  wxCoord width = 0;
  wxCoord height = 0;
  dc.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &width, &height);
  return BaseUnitsFromExtent(width, dc.GetCharHeight());
}

}  // namespace gui
