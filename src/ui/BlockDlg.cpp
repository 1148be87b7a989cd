#include "ui/BlockDlg.h"

namespace ui {

namespace {
constexpr int kEndCancel = 2;
}

BlockDlg::BlockDlg(void* parentWindow) : parentWindow_(parentWindow) {}

// FIXME: the dialog comes with the browser; until then it ends at once as if cancelled.
int BlockDlg::DoModal() {
  (void)parentWindow_;
  return kEndCancel;
}

}  // namespace ui
