// How far a catalogue has printed: the progress window the main dialog shows, behind the small
// interface the catalogue printer reports to (a program without windows reports elsewhere).
#pragma once

#include "fw/Dialog.h"

namespace ui {

// Told by the catalogue printer, on the thread that prints, how far it has come.
class CatalogueProgress {
 public:
  virtual ~CatalogueProgress() = default;
  // Before the document starts: the number of blocks of the directory printed.
  virtual void Open(int blockCount) = 0;
  // Before item `index` (from 0) is printed.
  virtual void SetPos(int index) = 0;
  // Once the document has ended or could not start.
  virtual void Close() = 0;
};

// The modeless "Print Progress" window with one progress bar, topmost and centred over the
// dialog that prints. Shown by Open, destroyed by Close (or with the object). The dialog's
// thread.
class PrintProgress final : public fw::Dialog, public CatalogueProgress {
 public:
  static constexpr int kProgressBar = 1000;

  PrintProgress();
  ~PrintProgress() override;

  void Open(int blockCount) override;
  void SetPos(int index) override;
  void Close() override;
};

}  // namespace ui
