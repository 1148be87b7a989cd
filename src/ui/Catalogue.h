// Catalogue printing: a directory's blocks drawn on a printer's pages, as a list (preview, name,
// description, dates, version and size a row) or as a grid of previews with their names, each
// page under a header band with the program's version and the directory's path.
#pragma once

#include <string>
#include <vector>

#include "fw/ListCtrl.h"
#include "fw/PrinterDC.h"
#include "fw/Result.h"
#include "ui/PrintProgress.h"

namespace dwgprobe {
class DrawingReader;
}

namespace library {
class Block;
class Directory;
}  // namespace library

namespace ui {

// The name of the print job.
inline constexpr const wchar_t* kCatalogueDocumentName = L"Quorvane Print";
// `PrintType` values; any other prints one empty page.
inline constexpr int kPrintTypeList = 0;
inline constexpr int kPrintTypeGrid = 1;
// `PrintScale` is taken within these bounds: below 1 nothing would show, and far above the
// largest a row or cell is wider than any sheet.
inline constexpr int kMinPrintScale = 1;
inline constexpr int kMaxPrintScale = 32;

// One printed item: a block of the directory and the image its list item shows.
struct CatalogueItem {
  const library::Block* block = nullptr;
  int image = 0;
};

struct Catalogue {
  const library::Directory* directory = nullptr;  // not owned; its path heads every page
  std::vector<CatalogueItem> items;                // in the order the block list shows them
  int printScale = 4;                              // PrintScale, the previews' scale k
  int printType = kPrintTypeList;                  // PrintType
  std::wstring versionText;                        // centred at the top of every page
  // The drawing reader asked for insertion points; null asks the process's reader.
  dwgprobe::DrawingReader* reader = nullptr;
};

// Print catalogue: opens the progress, starts the document "Quorvane Print" on `dc` and draws
// the pages, then ends the document and closes the progress. When the document cannot start,
// shows "StartDoc failed: %ld" with the printer's error number and prints nothing; a page or
// the document that cannot end aborts the job with "StartPage failed: %ld", "EndPage failed:
// %ld" or "EndDoc failed: %ld". The message shown is the failure returned. The thread that
// prints: the dialog's, while the loader stays off the directory.
fw::Status PrintCatalogue(fw::PrinterDC& dc, const Catalogue& catalogue,
                          CatalogueProgress& progress);

// The pages of one catalogue in a document already started (a program printing several
// directories into one document): from its first StartPage to its last EndPage, with the same
// messages on failure. The progress is told the items, not opened or closed.
fw::Status PrintCataloguePages(fw::PrinterDC& dc, const Catalogue& catalogue,
                               CatalogueProgress& progress);

// The items of a block list (item data: the Block; the item's image) in display order.
std::vector<CatalogueItem> CatalogueItemsOf(const fw::ListCtrl& blocks);

}  // namespace ui
