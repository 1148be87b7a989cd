// The printer device context the print dialog returns: a print job of pages, and the device's
// capabilities. The drawing calls come with the printer implementations.
#pragma once

#include <string>

namespace fw {

// GetDeviceCaps indexes, with the platform's values.
inline constexpr int HORZRES = 8;      // printable width in device pixels
inline constexpr int VERTRES = 10;     // printable height in device pixels
inline constexpr int LOGPIXELSX = 88;  // dots per inch across
inline constexpr int LOGPIXELSY = 90;  // dots per inch down

// Used on the dialog's thread that printed it; deleting it ends what is still open.
class PrinterDC {
 public:
  virtual ~PrinterDC() = default;

  // Starts the print job `documentName`: a job number above 0, or 0 or less when the job could
  // not start (GetLastError says why).
  virtual int StartDoc(const std::wstring& documentName) = 0;
  // Each returns above 0 on success, 0 or less on failure.
  virtual int StartPage() = 0;
  virtual int EndPage() = 0;
  virtual int EndDoc() = 0;
  virtual int AbortDoc() = 0;
  virtual int GetDeviceCaps(int index) const = 0;
  // The system error number of the last failed call.
  virtual unsigned long GetLastError() const = 0;
};

}  // namespace fw
