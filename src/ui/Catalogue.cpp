// The catalogue printer: the header band of every page, the list and grid layouts with their
// page breaks, and each item's preview (read again from its drawing, or its thumbnail).
#include "ui/Catalogue.h"

#include <algorithm>
#include <cstdint>

#include "dwgprobe/DrawingVersion.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "library/Block.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "ui/MyList.h"

namespace ui {
namespace {

constexpr int kFontPoints = 11;
constexpr const wchar_t* kFontFace = L"Arial";
constexpr fw::COLORREF kBlack = fw::RGB(0, 0, 0);
constexpr fw::COLORREF kWhite = fw::RGB(255, 255, 255);
constexpr fw::COLORREF kBlue = fw::RGB(0, 0, 255);
constexpr fw::COLORREF kLightGrey = fw::RGB(192, 192, 192);
constexpr int kHeaderPenWidth = 5;
constexpr int kHeaderInset = 7;
// Printers finer than this get the details in three lines, the file type and size on one.
constexpr int kThreeLineDetailsAbove = 600;
// The thumbnail cell of the image lists, drawn k times as large when no preview can be read.
constexpr int kThumbnailWidth = 130;
constexpr int kThumbnailHeight = 96;
// Every text box draws its text as it is: '&' in a name or path is no prefix.
constexpr unsigned kTextBox = fw::DT_WORDBREAK | fw::DT_NOPREFIX;

// One print job: the printer, what it prints and where the pen stands.
class CataloguePrinter {
 public:
  CataloguePrinter(fw::PrinterDC& dc, const Catalogue& catalogue)
      : dc_(dc),
        catalogue_(catalogue),
        directory_(*catalogue.directory),
        k_(std::clamp(catalogue.printScale, kMinPrintScale, kMaxPrintScale)),
        pageWidth_(dc.GetDeviceCaps(fw::HORZRES)),
        pageHeight_(dc.GetDeviceCaps(fw::VERTRES)),
        font_{kFontFace, fw::FontHeightForPoints(kFontPoints, dc.GetDeviceCaps(fw::LOGPIXELSY)),
              fw::FW_NORMAL} {}

  // The whole job: progress, document, pages.
  fw::Status PrintJob(CatalogueProgress& progress);
  // The pages, from the first StartPage to the last EndPage.
  void PrintPages(CatalogueProgress& progress);
  // Success, or the message of the call that failed.
  fw::Status Outcome() const;

 private:
  // A page that does not end or start stops the job; the message says which call failed.
  bool NewPage();
  void PrintHeader();
  void PrintList(CatalogueProgress& progress);
  void PrintGrid(CatalogueProgress& progress);
  void PrintPreview(const CatalogueItem& item, int x, int y);
  void PrintThumbnail(const CatalogueItem& item, int x, int y);
  std::wstring Details(const library::Block& block) const;
  void DrawDetails(const std::wstring& details, const fw::CRect& box);
  // Draws a rectangle with this pen and brush, then selects the default pen and brush again.
  void FramedRectangle(int left, int top, int right, int bottom, fw::COLORREF pen, int penWidth,
                       fw::COLORREF brush);
  void Fail(const wchar_t* call);

  fw::PrinterDC& dc_;
  const Catalogue& catalogue_;
  const library::Directory& directory_;
  const int k_;
  const int pageWidth_;
  const int pageHeight_;
  const fw::Font font_;
  int y_ = 1;
  std::wstring failure_;  // the message of the call that failed; empty while all went well
};

fw::Status CataloguePrinter::PrintJob(CatalogueProgress& progress) {
  progress.Open(static_cast<int>(std::min<std::size_t>(directory_.BlockCount(), INT32_MAX)));
  if (dc_.StartDoc(kCatalogueDocumentName) <= 0) {
    Fail(L"StartDoc");
    progress.Close();
    return fw::Status::Failure(failure_);
  }
  PrintPages(progress);
  if (failure_.empty() && dc_.EndDoc() <= 0) Fail(L"EndDoc");
  if (!failure_.empty()) dc_.AbortDoc();
  progress.Close();
  return Outcome();
}

void CataloguePrinter::PrintPages(CatalogueProgress& progress) {
  if (dc_.StartPage() <= 0) {
    Fail(L"StartPage");
    return;
  }
  const fw::Font previous = dc_.SelectFont(font_);
  switch (catalogue_.printType) {
    case kPrintTypeList:
      PrintHeader();
      PrintList(progress);
      break;
    case kPrintTypeGrid:
      PrintGrid(progress);
      break;
    default:
      break;  // one empty page
  }
  dc_.SelectFont(previous);
  if (failure_.empty() && dc_.EndPage() <= 0) Fail(L"EndPage");
}

fw::Status CataloguePrinter::Outcome() const {
  return failure_.empty() ? fw::Status::Success() : fw::Status::Failure(failure_);
}

void CataloguePrinter::Fail(const wchar_t* call) {
  failure_ = fw::Format(L"%s failed: %ld", call, static_cast<long>(dc_.GetLastError()));
  fw::AfxMessageBox(failure_);
}

bool CataloguePrinter::NewPage() {
  if (dc_.EndPage() <= 0) {
    Fail(L"EndPage");
    return false;
  }
  if (dc_.StartPage() <= 0) {
    Fail(L"StartPage");
    return false;
  }
  dc_.SelectFont(font_);
  return true;
}

void CataloguePrinter::FramedRectangle(int left, int top, int right, int bottom,
                                       fw::COLORREF pen, int penWidth, fw::COLORREF brush) {
  dc_.SetPenColour(pen);
  dc_.SetPenWidth(penWidth);
  dc_.SetBrushColour(brush);
  dc_.Rectangle(left, top, right, bottom);
  // Previews are framed with the context's pen and brush: the defaults, not these.
  dc_.SetPenColour(kBlack);
  dc_.SetPenWidth(1);
  dc_.SetBrushColour(kWhite);
}

// The band: the version centred at its top, the path at its bottom left, in blue on light grey
// inside a wide black frame. Starts at y = 1 and leaves y below the band.
void CataloguePrinter::PrintHeader() {
  y_ = 1;
  const int hv = dc_.GetTextExtent(catalogue_.versionText).cy;
  const int hp = dc_.GetTextExtent(directory_.path).cy;
  const int band = hv + hv / 5 + hp + hp / 5;
  FramedRectangle(1, y_, pageWidth_, band, kBlack, kHeaderPenWidth, kLightGrey);
  dc_.SetBkMode(fw::TRANSPARENT);
  dc_.SetTextColor(kBlue);
  const fw::CRect inside{1 + kHeaderInset, y_ + kHeaderInset, pageWidth_ - kHeaderInset,
                         band - kHeaderInset};
  dc_.DrawText(catalogue_.versionText, inside,
               fw::DT_CENTER | fw::DT_TOP | fw::DT_SINGLELINE | fw::DT_NOPREFIX);
  dc_.DrawText(directory_.path, inside,
               fw::DT_LEFT | fw::DT_BOTTOM | fw::DT_SINGLELINE | fw::DT_NOPREFIX);
  y_ += hv / 10 + band;
}

void CataloguePrinter::PrintList(CatalogueProgress& progress) {
  const int x = 1;
  const int rowImageHeight = k_ * 96;
  for (std::size_t i = 0; i < catalogue_.items.size(); ++i) {
    const CatalogueItem& item = catalogue_.items[i];
    if (item.block == nullptr) continue;
    progress.SetPos(static_cast<int>(i));
    if (pageHeight_ < k_ * 130 + y_) {
      if (!NewPage()) return;
      PrintHeader();
    }
    PrintPreview(item, x, y_);
    dc_.SetTextColor(kBlack);
    dc_.SetBkColor(kWhite);
    dc_.SetBkMode(fw::OPAQUE);
    const int bottom = y_ + rowImageHeight;
    dc_.DrawText(item.block->name, fw::CRect{x + k_ * 130 + 10, y_, pageWidth_ / 3, bottom},
                 kTextBox);
    dc_.DrawText(item.block->description,
                 fw::CRect{pageWidth_ / 3, y_, 2 * pageWidth_ / 3, bottom}, kTextBox);
    DrawDetails(Details(*item.block), fw::CRect{2 * pageWidth_ / 3, y_, pageWidth_, bottom});
    FramedRectangle(1, bottom + 1, pageWidth_, bottom + 19, kWhite, 1, kLightGrey);
    y_ += rowImageHeight + 20;
  }
}

void CataloguePrinter::PrintGrid(CatalogueProgress& progress) {
  const int cellWidth = k_ * 130 + 10;
  const int imageHeight = k_ * 96;
  const int margin = (pageWidth_ % cellWidth) / 2;
  PrintHeader();
  dc_.SetMapMode(fw::MM_TEXT);
  const int rowHeight = 3 * dc_.GetTextMetrics().height + imageHeight;
  int x = margin;
  for (std::size_t i = 0; i < catalogue_.items.size(); ++i) {
    const CatalogueItem& item = catalogue_.items[i];
    if (item.block == nullptr) continue;
    progress.SetPos(static_cast<int>(i));
    if (pageWidth_ < cellWidth + x) {
      y_ += rowHeight;
      x = margin;
    }
    if (pageHeight_ < rowHeight + y_) {
      if (!NewPage()) return;
      PrintHeader();
    }
    PrintPreview(item, x, y_);
    dc_.DrawText(item.block->name,
                 fw::CRect{x, y_ + imageHeight + 5, x + cellWidth, y_ + rowHeight},
                 fw::DT_CENTER | kTextBox);
    x += cellWidth;
  }
}

// The preview read again from the drawing at half the scale, kept within its frame (previews of
// newer drawings are larger than the frame and would cover the texts beside it); else the
// thumbnail the block list shows.
void CataloguePrinter::PrintPreview(const CatalogueItem& item, int x, int y) {
  if (item.block->imageIndex != 0 &&
      library::DrawPreview(directory_, *item.block, dc_, x, y, k_ / 2, /*colours=*/false,
                           catalogue_.reader, dwgprobe::PreviewFit::kWithinFrame)) {
    return;
  }
  PrintThumbnail(item, x, y);
}

// The list's large image (the small one when the directory keeps no large images) stretched to
// k times the thumbnail cell.
void CataloguePrinter::PrintThumbnail(const CatalogueItem& item, int x, int y) {
  const fw::CImageList& images = directory_.LargeImages().IsCreated()
                                     ? directory_.LargeImages()
                                     : directory_.SmallImages();
  if (item.image < 0 || item.image >= images.GetImageCount()) return;
  const fw::Bitmap image = images.GetImage(item.image);
  if (image.IsEmpty()) return;
  dc_.StretchBlt(x, y, k_ * kThumbnailWidth, k_ * kThumbnailHeight, image, 0, 0, image.Width(),
                 image.Height());
}

std::wstring CataloguePrinter::Details(const library::Block& block) const {
  const std::wstring created = BlockTimeText(block.created);
  const std::wstring modified = BlockTimeText(block.modified);
  const wchar_t* fileType = dwgprobe::VersionName(block.version);
  // The whole size: a drawing past 2 GB would print a negative 32-bit number.
  const auto size = static_cast<unsigned long long>(block.currentStatus.size);
  if (dc_.GetDeviceCaps(fw::LOGPIXELSY) > kThreeLineDetailsAbove) {
    return fw::Format(L"Created: %s\nModified: %s\nFileType: %s Size: %llu", created.c_str(),
                      modified.c_str(), fileType, size);
  }
  return fw::Format(L"Created: %s\nModified: %s\nSize: %llu\nFileType: %s", created.c_str(),
                    modified.c_str(), size, fileType);
}

// The details right-aligned in the catalogue's font, or in a smaller one when their lines would
// not fit the row: from 600 dots per inch on, 11 points are taller than the row holds four (or
// three) lines, and the last line, the file type or the size, would be cut off.
void CataloguePrinter::DrawDetails(const std::wstring& details, const fw::CRect& box) {
  constexpr int kMaxShrinks = 4;  // each step measures again; two always suffice
  const int lines = 1 + static_cast<int>(std::count(details.begin(), details.end(), L'\n'));
  fw::Font font = font_;
  for (int shrink = 0; shrink < kMaxShrinks && font.height < -1; ++shrink) {
    const int needed = lines * dc_.GetTextMetrics().height;
    if (needed <= box.Height() || needed <= 0) break;
    font.height = std::max(font.height + 1, fw::MulDiv(font.height, box.Height(), needed));
    font.height = std::min(font.height, -1);
    dc_.SelectFont(font);
  }
  dc_.DrawText(details, box, fw::DT_RIGHT | kTextBox);
  if (font != font_) dc_.SelectFont(font_);
}

}  // namespace

fw::Status PrintCatalogue(fw::PrinterDC& dc, const Catalogue& catalogue,
                          CatalogueProgress& progress) {
  if (catalogue.directory == nullptr) return fw::Status::Failure(L"no directory to print");
  return CataloguePrinter(dc, catalogue).PrintJob(progress);
}

fw::Status PrintCataloguePages(fw::PrinterDC& dc, const Catalogue& catalogue,
                               CatalogueProgress& progress) {
  if (catalogue.directory == nullptr) return fw::Status::Failure(L"no directory to print");
  CataloguePrinter printer(dc, catalogue);
  printer.PrintPages(progress);
  return printer.Outcome();
}

std::vector<CatalogueItem> CatalogueItemsOf(const fw::ListCtrl& blocks) {
  std::vector<CatalogueItem> items;
  for (const fw::ListItem& item : blocks.GetItems(0, blocks.GetItemCount())) {
    items.push_back(CatalogueItem{reinterpret_cast<const library::Block*>(item.data), item.image});
  }
  return items;
}

}  // namespace ui
