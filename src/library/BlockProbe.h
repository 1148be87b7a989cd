// Probing one block's drawing and taking what the probe learnt into the block, its directory
// and the directory's image lists.
#pragma once

#include <functional>

#include "dwgprobe/Thumbnails.h"
#include "library/Block.h"
#include "library/Directory.h"

namespace dwgprobe {
class DrawingReader;
}

namespace library {

// Probes d.DrawingPath(b) and applies the outcome: version, description, lsaPending (on the
// block and the directory), the reader's dates, and both thumbnails at b.imageIndex (replaced)
// or appended (b.imageIndex becomes their index), marking d.imagesDirty. A locked drawing
// changes nothing. Returns false when the drawing is locked, cannot be opened, has no
// readable preview record, or when the drawing reader fails (always, while the build has no
// reader); the loader ignores the result. Runs on the loader thread.
// `reader` null asks the process's drawing reader.
bool Probe(Directory& d, Block& b, dwgprobe::DrawingReader* reader = nullptr);

// Draw preview: reads b's preview from its drawing again (full-size previews are never kept)
// and draws it framed at (x, y) on `dc` at scale k (1 for the quick picture with `colours`, the
// printer's scale without), as dwgprobe::DrawPreview does. For a drawing of index 20 or lower
// the drawing reader is asked first for the insertion points, drawn as markers only when
// d.showInsertionPoints is on. False, with nothing drawn, when no preview could be read (the
// caller then shows the thumbnail) or drawn. The dialog thread; the reader's calls are
// serialised with the loader's. `reader` null asks the process's drawing reader. `fit` says how
// a preview larger than the frame is drawn.
bool DrawPreview(const Directory& d, const Block& b, fw::DeviceContext& dc, int x, int y, int k,
                 bool colours, dwgprobe::DrawingReader* reader = nullptr,
                 dwgprobe::PreviewFit fit = dwgprobe::PreviewFit::kAsStored);

// Whether the main dialog is shown. Process-wide, any thread. The dialog sets it while it is
// shown.
void SetBlockDialogShown(bool shown);
bool IsBlockDialogShown();

// Updates b's item in the block list (image, description, version name, created and modified)
// when d is the current directory. Called by Probe on the loader thread, only while the dialog
// is shown; the dialog installs it (an empty function removes it). The hook itself decides
// whether d is the current directory.
using BlockItemUpdate = std::function<void(Directory& d, Block& b)>;
void SetBlockItemUpdate(BlockItemUpdate update);

}  // namespace library
