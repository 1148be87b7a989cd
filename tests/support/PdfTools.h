// Looking into a PDF the way a person would, with the poppler tools: its page count, the text of
// a page, and a page rendered to pixels. Tests skip when the tools are not installed.
#pragma once

#include <string>

#include "fw/Bitmap.h"
#include "support/TempFolder.h"

namespace testsupport {

// pdfinfo, pdftotext and pdftoppm are all on the path.
bool HavePdfTools();

// The page count pdfinfo gives; -1 when it cannot read the file.
int PdfPageCount(const std::wstring& pdf, const TempFolder& scratch);
// The text of one page (from 1), or of every page when `page` is 0, in reading order.
std::string PdfText(const std::wstring& pdf, int page, const TempFolder& scratch);
// One page (from 1) rendered at `dotsPerInch`; empty when it cannot be rendered.
fw::Bitmap RenderPdfPage(const std::wstring& pdf, int page, int dotsPerInch,
                         const TempFolder& scratch);
// How many pixels of the rectangle [x0, x1) x [y0, y1) are neither white nor near it.
int InkIn(const fw::Bitmap& page, int x0, int y0, int x1, int y1);

}  // namespace testsupport
