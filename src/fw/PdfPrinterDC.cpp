// The PDF printer over cairo (pages, paths, images) and pango (fonts, line breaking, measures).
// Device pixels are user units: each page's transform scales them to points and moves them past
// the margin. Text is laid out without hinting, so its measures are the same at every
// resolution and on every page.
#include "fw/PdfPrinterDC.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fw/DibStretch.h"
#include "fw/File.h"
#include "fw/PackedDib.h"
#include "fw/Strings.h"

namespace fw {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMarginInches = 0.25;
// The sheets in points.
constexpr double kA4Width = 595.2756;
constexpr double kA4Height = 841.8898;
constexpr double kLetterWidth = 612.0;
constexpr double kLetterHeight = 792.0;
// A bitmap drawn shrunk is rendered at its size on the page first; larger than any preview
// printed here and small enough (64 MB) to allocate without a second thought.
constexpr std::int64_t kMaxRasterPixels = std::int64_t{1} << 24;
// The font of metric-compatible widths that stands in for the one the catalogue asks for.
constexpr const wchar_t* kArial = L"Arial";
constexpr const char* kArialStandIn = "Liberation Sans";
// Liberation Sans's ascent + descent per em: a positive (cell) height holds this many ems.
constexpr double kCellPerEm = 1.117;

int ErrnoOf(CFileException::Cause cause) {
  switch (cause) {
    case CFileException::fileNotFound:
    case CFileException::badPath:
      return ENOENT;
    case CFileException::accessDenied:
      return EACCES;
    case CFileException::tooManyOpenFiles:
      return EMFILE;
    case CFileException::diskFull:
      return ENOSPC;
    case CFileException::none:
    case CFileException::genericException:
    case CFileException::invalidFile:
    case CFileException::removeCurrentDir:
    case CFileException::directoryFull:
    case CFileException::badSeek:
    case CFileException::hardIO:
    case CFileException::sharingViolation:
    case CFileException::lockViolation:
    case CFileException::endOfFile:
      return EIO;
  }
  return EIO;
}

void SetSource(cairo_t* cr, COLORREF colour) {
  cairo_set_source_rgb(cr, GetRValue(colour) / 255.0, GetGValue(colour) / 255.0,
                       GetBValue(colour) / 255.0);
}

// Where a pen's outline runs so that a pen of odd width covers whole pixels, as the platform's
// pens do: through the pixels' centres.
double PenOffset(int width) { return width % 2 == 1 ? 0.5 : 0.0; }

// Tells images apart for the PDF's sharing of identical ones: a 64-bit hash of the size and
// the pixels, eight bytes a step.
std::uint64_t Fingerprint(const Bitmap& bitmap) {
  std::uint64_t hash = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(bitmap.Width())) << 32) ^
                       static_cast<std::uint32_t>(bitmap.Height());
  auto mix = [&hash](std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 29;
  };
  const std::vector<std::uint8_t>& bits = bitmap.Bits();
  std::size_t at = 0;
  for (; at + 8 <= bits.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bits.data() + at, 8);
    mix(word);
  }
  for (; at < bits.size(); ++at) mix(bits[at]);
  return hash;
}

// The region of a bitmap as a cairo image (every pixel B, G, R, unused: cairo's RGB24 on this
// little-endian platform). Identical images carry the same id, so the PDF holds each once.
cairo_surface_t* ImageOf(const Bitmap& bitmap) {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, bitmap.Width(), bitmap.Height());
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 4;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(data + static_cast<std::size_t>(y) * stride,
                bitmap.Bits().data() + static_cast<std::size_t>(y) * rowBytes, rowBytes);
  }
  cairo_surface_mark_dirty(image);
  const std::string id = std::to_string(Fingerprint(bitmap));
  auto* copy = static_cast<unsigned char*>(std::malloc(id.size()));
  if (copy != nullptr) {
    std::memcpy(copy, id.data(), id.size());
    cairo_surface_set_mime_data(image, CAIRO_MIME_TYPE_UNIQUE_ID, copy, id.size(), std::free,
                                copy);
  }
  return image;
}

Bitmap Region(const Bitmap& bitmap, int x, int y, int w, int h) {
  Bitmap region(w, h);
  for (int row = 0; row < h; ++row) {
    const auto from = bitmap.Bits().begin() +
                      static_cast<std::ptrdiff_t>((static_cast<std::size_t>(y + row) *
                                                   bitmap.Width() + x) * 4);
    std::copy(from, from + static_cast<std::ptrdiff_t>(w) * 4,
              region.Bits().begin() + static_cast<std::ptrdiff_t>(row) * w * 4);
  }
  return region;
}

std::string TextForLayout(const std::wstring& text, bool singleLine) {
  std::wstring cleaned = text;
  for (wchar_t& c : cleaned) {
    // A single line shows its line ends as blanks; other control characters never reach the
    // layout, which would show them as boxes.
    if (c == L'\n' && !singleLine) continue;
    if (c < 0x20 || c == 0x7F) c = L' ';
  }
  return ToUtf8(cleaned);
}

}  // namespace

// The leak checker of the address-sanitizer builds asks the program for leaks to pass over.
// Fontconfig, under pango, leaves a few hundred bytes unfreed once per process; only a leak
// whose stack passes through fontconfig is passed over, so none of ours hides behind this.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

struct PdfPrinterDC::Job {
  std::wstring path;
  int dotsPerInch = kDefaultPdfDotsPerInch;
  double sheetWidth = kA4Width;  // points
  double sheetHeight = kA4Height;

  CReplacingFile file;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  bool pageOpen = false;
  PangoFontMap* fontMap = nullptr;
  PangoContext* pango = nullptr;

  unsigned long lastError = 0;
  std::wstring lastErrorText;

  int Pixels(double points) const { return static_cast<int>(std::lround(points / kPointsPerInch * dotsPerInch)); }
  int Margin() const { return static_cast<int>(std::lround(kMarginInches * dotsPerInch)); }
  bool Drawing() const { return cr != nullptr && pageOpen; }

  void Fail(unsigned long error, std::wstring text) {
    lastError = error;
    lastErrorText = std::move(text);
  }

  static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length) {
    auto* job = static_cast<Job*>(closure);
    if (!job->file.IsOpen()) return CAIRO_STATUS_WRITE_ERROR;
    try {
      job->file.File().Write(data, length);
      return CAIRO_STATUS_SUCCESS;
    } catch (const CFileException& failure) {
      job->Fail(static_cast<unsigned long>(ErrnoOf(failure.cause())), failure.Message());
      return CAIRO_STATUS_WRITE_ERROR;
    }
  }

  // Ends cairo's side of the document; false when cairo reports a failure (a write that
  // failed, memory) on the way.
  bool CloseSurface() {
    bool ok = true;
    if (cr != nullptr) {
      ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
      cairo_destroy(cr);
      cr = nullptr;
    }
    if (surface != nullptr) {
      cairo_surface_finish(surface);
      ok = ok && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
      if (!ok && lastErrorText.empty()) {
        Fail(EIO, FromUtf8(cairo_status_to_string(cairo_surface_status(surface))));
      }
      cairo_surface_destroy(surface);
      surface = nullptr;
    }
    pageOpen = false;
    return ok;
  }

  PangoLayout* Layout(const Font& font) {
    PangoLayout* layout = pango_layout_new(pango);
    PangoFontDescription* description = pango_font_description_new();
    const std::string family =
        EqualsNoCase(font.faceName, kArial) || font.faceName.empty() ? kArialStandIn
                                                                      : ToUtf8(font.faceName);
    pango_font_description_set_family(description, family.c_str());
    double em = font.height < 0 ? -font.height : font.height / kCellPerEm;
    if (font.height == 0) em = -FontHeightForPoints(kDefaultFontPoints, dotsPerInch);
    pango_font_description_set_absolute_size(description, std::max(1.0, em) * PANGO_SCALE);
    pango_font_description_set_weight(description,
                                      static_cast<PangoWeight>(std::clamp(font.weight, 100, 1000)));
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    return layout;
  }
};

PdfPrinterDC::PdfPrinterDC(std::wstring path, PdfPrinterSetup setup) : job_(std::make_unique<Job>()) {
  job_->path = std::move(path);
  job_->dotsPerInch = setup.dotsPerInch == 0
                          ? kDefaultPdfDotsPerInch
                          : std::clamp(setup.dotsPerInch, 1, kMaxPdfDotsPerInch);
  switch (setup.paper) {
    case Paper::kA4:
      job_->sheetWidth = kA4Width;
      job_->sheetHeight = kA4Height;
      break;
    case Paper::kLetter:
      job_->sheetWidth = kLetterWidth;
      job_->sheetHeight = kLetterHeight;
      break;
  }
  // A font map of its own: pango's default one belongs to the thread that first asks for it.
  job_->fontMap = pango_cairo_font_map_new();
  job_->pango = pango_font_map_create_context(job_->fontMap);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(job_->pango, options);
  cairo_font_options_destroy(options);
}

PdfPrinterDC::~PdfPrinterDC() {
  if (job_->surface != nullptr) AbortDoc();
  g_object_unref(job_->pango);
  g_object_unref(job_->fontMap);
}

int PdfPrinterDC::StartDoc(const std::wstring& documentName) {
  Job& job = *job_;
  if (job.surface != nullptr) {
    job.Fail(EBUSY, L"a document is printing already");
    return 0;
  }
  job.lastErrorText.clear();
  CFileException error(CFileException::none, job.path);
  if (!job.file.Open(job.path, &error)) {
    job.Fail(static_cast<unsigned long>(ErrnoOf(error.cause())), error.Message());
    return 0;
  }
  job.surface = cairo_pdf_surface_create_for_stream(&Job::Write, &job, job.sheetWidth,
                                                    job.sheetHeight);
  if (cairo_surface_status(job.surface) != CAIRO_STATUS_SUCCESS) {
    job.Fail(ENOMEM, FromUtf8(cairo_status_to_string(cairo_surface_status(job.surface))));
    cairo_surface_destroy(job.surface);
    job.surface = nullptr;
    job.file.Abandon();
    return 0;
  }
  cairo_pdf_surface_set_metadata(job.surface, CAIRO_PDF_METADATA_TITLE,
                                 ToUtf8(documentName).c_str());
  cairo_pdf_surface_set_metadata(job.surface, CAIRO_PDF_METADATA_CREATOR, "Quorvane");
  job.cr = cairo_create(job.surface);
  return 1;
}

int PdfPrinterDC::StartPage() {
  Job& job = *job_;
  if (job.cr == nullptr || job.pageOpen) return 0;
  cairo_identity_matrix(job.cr);
  cairo_reset_clip(job.cr);
  const double scale = kPointsPerInch / job.dotsPerInch;
  cairo_scale(job.cr, scale, scale);
  cairo_translate(job.cr, job.Margin(), job.Margin());
  cairo_rectangle(job.cr, 0, 0, GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
  cairo_clip(job.cr);
  job.pageOpen = true;
  return 1;
}

int PdfPrinterDC::EndPage() {
  Job& job = *job_;
  if (!job.Drawing()) return 0;
  cairo_show_page(job.cr);
  job.pageOpen = false;
  if (cairo_status(job.cr) != CAIRO_STATUS_SUCCESS) {
    if (job.lastErrorText.empty()) {
      job.Fail(EIO, FromUtf8(cairo_status_to_string(cairo_status(job.cr))));
    }
    return 0;
  }
  return 1;
}

int PdfPrinterDC::EndDoc() {
  Job& job = *job_;
  if (job.surface == nullptr) return 0;
  if (job.pageOpen && EndPage() <= 0) {
    AbortDoc();
    return 0;
  }
  if (!job.CloseSurface()) {
    job.file.Abandon();
    return 0;
  }
  if (Status committed = job.file.Commit(); !committed) {
    job.Fail(EIO, committed.Message());
    return 0;
  }
  return 1;
}

int PdfPrinterDC::AbortDoc() {
  Job& job = *job_;
  if (job.surface == nullptr) return 0;
  // What cairo still writes while it finishes goes into the temporary that is then deleted.
  const unsigned long error = job.lastError;
  const std::wstring text = job.lastErrorText;
  job.CloseSurface();
  job.file.Abandon();
  job.lastError = error;
  job.lastErrorText = text;
  return 1;
}

int PdfPrinterDC::GetDeviceCaps(int index) const {
  const Job& job = *job_;
  switch (index) {
    case HORZRES:
      return job.Pixels(job.sheetWidth) - 2 * job.Margin();
    case VERTRES:
      return job.Pixels(job.sheetHeight) - 2 * job.Margin();
    case LOGPIXELSX:
    case LOGPIXELSY:
      return job.dotsPerInch;
    case PHYSICALWIDTH:
      return job.Pixels(job.sheetWidth);
    case PHYSICALHEIGHT:
      return job.Pixels(job.sheetHeight);
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
      return job.Margin();
    default:
      return 0;
  }
}

unsigned long PdfPrinterDC::GetLastError() const { return job_->lastError; }

std::wstring PdfPrinterDC::LastErrorText() const { return job_->lastErrorText; }

Status PdfPrinterDC::StretchDIBits(int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc,
                                   int wSrc, int hSrc, std::span<const std::uint8_t> packedBitmap) {
  // Enlarged, the picture goes into the file as stored and the page scales it without
  // smoothing, which repeats pixels as the platform's stretch does; shrunk, it is stretched
  // here first with the stretch mode (a PDF cannot keep black lines while shrinking).
  const bool enlarged = wDest >= wSrc && hDest >= hSrc;
  const int width = enlarged ? wSrc : wDest;
  const int height = enlarged ? hSrc : hDest;
  if (width <= 0 || height <= 0) {
    return Status::Failure(L"empty or mirrored extents " + std::to_wstring(wDest) + L" x " +
                           std::to_wstring(hDest) + L" from " + std::to_wstring(wSrc) + L" x " +
                           std::to_wstring(hSrc));
  }
  if (std::int64_t{width} * height > kMaxRasterPixels) {
    return Status::Failure(L"a bitmap of " + std::to_wstring(width) + L" x " +
                           std::to_wstring(height) + L" pixels is more than a page takes");
  }
  Bitmap picture(width, height);
  if (Status drawn = StretchDib(picture, DibRect{0, 0, width, height},
                                DibRect{xSrc, ySrc, wSrc, hSrc}, packedBitmap,
                                GetStretchBltMode());
      !drawn) {
    return drawn;
  }
  StretchBlt(xDest, yDest, wDest, hDest, picture, 0, 0, width, height);
  return Status::Success();
}

bool PdfPrinterDC::StretchBlt(int xDest, int yDest, int wDest, int hDest, const Bitmap& source,
                              int xSrc, int ySrc, int wSrc, int hSrc) {
  if (wSrc <= 0 || hSrc <= 0 || wDest <= 0 || hDest <= 0 || xSrc < 0 || ySrc < 0 ||
      xSrc > source.Width() - wSrc || ySrc > source.Height() - hSrc) {
    return false;
  }
  if (wDest < wSrc || hDest < hSrc) {
    // Shrunk: stretched here with the stretch mode, then placed pixel for pixel.
    return StretchDIBits(xDest, yDest, wDest, hDest, 0, 0, wSrc, hSrc,
                         PackBitmap(source, xSrc, ySrc, wSrc, hSrc))
        .Ok();
  }
  Job& job = *job_;
  if (!job.Drawing()) return true;
  const bool whole = xSrc == 0 && ySrc == 0 && wSrc == source.Width() && hSrc == source.Height();
  cairo_surface_t* image = whole ? ImageOf(source) : ImageOf(Region(source, xSrc, ySrc, wSrc, hSrc));
  cairo_save(job.cr);
  cairo_translate(job.cr, xDest, yDest);
  cairo_scale(job.cr, static_cast<double>(wDest) / wSrc, static_cast<double>(hDest) / hSrc);
  cairo_set_source_surface(job.cr, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(job.cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(job.cr, 0, 0, wSrc, hSrc);
  cairo_fill(job.cr);
  cairo_restore(job.cr);
  cairo_surface_destroy(image);
  return true;
}

void PdfPrinterDC::Rectangle(int left, int top, int right, int bottom) {
  Job& job = *job_;
  if (!job.Drawing() || left == right || top == bottom) return;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (!NullBrush()) {
    SetSource(job.cr, BrushColour());
    cairo_rectangle(job.cr, left, top, right - left, bottom - top);
    cairo_fill(job.cr);
  }
  const double offset = PenOffset(PenWidth());
  SetSource(job.cr, PenColour());
  cairo_set_line_width(job.cr, PenWidth());
  cairo_set_line_join(job.cr, CAIRO_LINE_JOIN_MITER);
  cairo_rectangle(job.cr, left + offset, top + offset, right - left - 2 * offset,
                  bottom - top - 2 * offset);
  cairo_stroke(job.cr);
}

void PdfPrinterDC::FillRect(int left, int top, int right, int bottom, COLORREF colour) {
  Job& job = *job_;
  if (!job.Drawing() || left >= right || top >= bottom) return;
  SetSource(job.cr, colour);
  cairo_rectangle(job.cr, left, top, right - left, bottom - top);
  cairo_fill(job.cr);
}

void PdfPrinterDC::Ellipse(int left, int top, int right, int bottom) {
  Job& job = *job_;
  if (!job.Drawing() || left == right || top == bottom) return;
  const double offset = PenOffset(PenWidth());
  const double radiusX = std::abs(right - left) / 2.0 - offset;
  const double radiusY = std::abs(bottom - top) / 2.0 - offset;
  if (radiusX <= 0 || radiusY <= 0) return;
  cairo_save(job.cr);
  cairo_translate(job.cr, (left + right) / 2.0, (top + bottom) / 2.0);
  cairo_scale(job.cr, radiusX, radiusY);
  cairo_arc(job.cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(job.cr);
  if (!NullBrush()) {
    SetSource(job.cr, BrushColour());
    cairo_fill_preserve(job.cr);
  }
  SetSource(job.cr, PenColour());
  cairo_set_line_width(job.cr, PenWidth());
  cairo_stroke(job.cr);
}

void PdfPrinterDC::LineTo(int x, int y) {
  Job& job = *job_;
  const CPoint from = CurrentPosition();
  MoveTo(x, y);
  if (!job.Drawing()) return;
  const double offset = PenOffset(PenWidth());
  SetSource(job.cr, PenColour());
  cairo_set_line_width(job.cr, PenWidth());
  cairo_set_line_cap(job.cr, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(job.cr, from.x + offset, from.y + offset);
  cairo_line_to(job.cr, x + offset, y + offset);
  cairo_stroke(job.cr);
}

CSize PdfPrinterDC::GetTextExtent(const std::wstring& text) {
  PangoLayout* layout = job_->Layout(SelectedFont());
  const std::string utf8 = TextForLayout(text, /*singleLine=*/true);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return CSize{logical.width, logical.height};
}

TextMetrics PdfPrinterDC::GetTextMetrics() {
  PangoLayout* layout = job_->Layout(SelectedFont());
  PangoFontMetrics* metrics = pango_context_get_metrics(
      job_->pango, pango_layout_get_font_description(layout), nullptr);
  TextMetrics out;
  out.ascent = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics));
  out.descent = PANGO_PIXELS(pango_font_metrics_get_descent(metrics));
  out.height = out.ascent + out.descent;
  out.averageCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics));
  pango_font_metrics_unref(metrics);
  g_object_unref(layout);
  return out;
}

int PdfPrinterDC::DrawText(const std::wstring& text, const CRect& box, unsigned format) {
  Job& job = *job_;
  const bool singleLine = (format & DT_SINGLELINE) != 0;
  const bool wordBreak = (format & DT_WORDBREAK) != 0 && !singleLine;
  PangoLayout* layout = job.Layout(SelectedFont());
  const std::string utf8 = TextForLayout(text, singleLine);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  const PangoAlignment alignment = (format & DT_CENTER) != 0  ? PANGO_ALIGN_CENTER
                                   : (format & DT_RIGHT) != 0 ? PANGO_ALIGN_RIGHT
                                                              : PANGO_ALIGN_LEFT;
  pango_layout_set_alignment(layout, alignment);
  PangoRectangle natural{};
  pango_layout_get_pixel_extents(layout, nullptr, &natural);
  // Lines break inside the box only with DT_WORDBREAK; otherwise the lines are as wide as
  // the text and placed in the box as a whole (spilling over both sides when centred).
  int x = box.left;
  if (wordBreak) {
    pango_layout_set_width(layout, std::max(1, box.Width()) * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  } else {
    pango_layout_set_width(layout, std::max(1, natural.width) * PANGO_SCALE);
    if (alignment == PANGO_ALIGN_CENTER) x = box.left + (box.Width() - natural.width) / 2;
    if (alignment == PANGO_ALIGN_RIGHT) x = box.right - natural.width;
  }
  PangoRectangle logical{};
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  int y = box.top;
  if (singleLine && (format & DT_BOTTOM) != 0) y = box.bottom - logical.height;
  if (singleLine && (format & DT_VCENTER) != 0) y = box.top + (box.Height() - logical.height) / 2;

  if (job.Drawing()) {
    cairo_save(job.cr);
    if ((format & DT_NOCLIP) == 0) {
      cairo_rectangle(job.cr, box.left, box.top, box.Width(), box.Height());
      cairo_clip(job.cr);
    }
    if (BkMode() == OPAQUE) {
      SetSource(job.cr, BkColor());
      PangoLayoutIter* line = pango_layout_get_iter(layout);
      do {
        PangoRectangle cell{};
        pango_layout_iter_get_line_extents(line, nullptr, &cell);
        pango_extents_to_pixels(&cell, nullptr);
        cairo_rectangle(job.cr, x + cell.x, y + cell.y, cell.width, cell.height);
      } while (pango_layout_iter_next_line(line));
      pango_layout_iter_free(line);
      cairo_fill(job.cr);
    }
    SetSource(job.cr, TextColor());
    cairo_move_to(job.cr, x, y);
    pango_cairo_show_layout(job.cr, layout);
    cairo_restore(job.cr);
  }
  g_object_unref(layout);
  return logical.height;
}

}  // namespace fw
