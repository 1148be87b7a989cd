// The progress window of catalogue printing: a template of one progress bar, built here.
#include "ui/PrintProgress.h"

#include "fw/ProgressCtrl.h"

namespace ui {
namespace {

fw::DialogTemplate ProgressTemplate() {
  fw::DialogTemplate dialog;
  dialog.cx = 186;
  dialog.cy = 34;
  dialog.caption = L"Print Progress";
  dialog.style = fw::DS_MODALFRAME | fw::DS_SETFONT | fw::DS_CENTER | fw::WS_POPUP |
                 fw::WS_CAPTION;
  dialog.exStyle = fw::WS_EX_TOPMOST;
  dialog.controls.push_back(
      fw::ControlTemplate::Progress(PrintProgress::kProgressBar, 7, 11, 172, 12));
  return dialog;
}

}  // namespace

PrintProgress::PrintProgress() : Dialog(ProgressTemplate()) {}

PrintProgress::~PrintProgress() { Close(); }

void PrintProgress::Open(int blockCount) {
  auto& bar = Item<fw::ProgressCtrl>(kProgressBar);
  // The platform's first range call takes 16 bits; a larger directory gets the 32-bit range,
  // so the bar still ends full.
  if (blockCount <= 0xFFFF) {
    bar.SetRange(0, static_cast<short>(static_cast<unsigned short>(blockCount)));
  } else {
    bar.SetRange32(0, blockCount);
  }
  bar.SetPos(0);
  if (!IsShown()) Create();
}

void PrintProgress::SetPos(int index) { Item<fw::ProgressCtrl>(kProgressBar).SetPos(index); }

void PrintProgress::Close() {
  if (IsShown()) DestroyWindow();
}

}  // namespace ui
