// The browser's main dialog.
#pragma once

namespace ui {

class BlockDlg {
 public:
  explicit BlockDlg(void* parentWindow);
  // Runs the dialog modally on the host's main thread; returns the end code.
  int DoModal();

 private:
  void* parentWindow_;
};

}  // namespace ui
