// The preview of a drawing: its model space drawn from its objects on a background, and the view
// that shows all of them, as a drawing file keeps both.
#pragma once

#include "fw/Bitmap.h"
#include "minicad/AcDbImpDatabase.h"

namespace minicad {

// The size of minicad's previews: the quick-picture frame of the library browser.
inline constexpr int kPreviewWidth = 256;
inline constexpr int kPreviewHeight = 188;

struct RenderedPreview {
  fw::Bitmap image;
  // The part of model space the image shows, exactly: its left edge is centreX - width / 2.
  ModelView view;
};

// Draws every object of model space (lines, circles, arcs, text as boxes, dimensions, and the
// objects of block references) in its colour on `background`, fitted into the image with a
// margin. Colour index 7 is the contrast colour of the background. Work is bounded: beyond a
// fixed number of drawn objects (deeply nested references multiply them) the rest is left out.
RenderedPreview RenderModelSpace(const AcDbImpDatabase& database, int width, int height,
                                 fw::COLORREF background);

}  // namespace minicad
