// The Preferences dialog: the process-wide options, filled by the main dialog before it opens
// and applied by it after OK. It changes nothing itself. Dialog's thread, modal.
#pragma once

#include <string>

#include "fw/Dialog.h"

namespace ui {

class Prefs : public fw::Dialog {
 public:
  Prefs();

  std::wstring cachePath;
  int blockInsert = 0;      // 0 ask, 1 ask once per block per drawing, 2 always update
  int readDirectory = 0;    // 0 once per session, 1 every time shown
  bool useCompression = true;
  bool demandLoadCache = false;
  bool onlyCacheCurrent = false;
  bool delCacheMemoryOnClose = false;
  int xrefMode = 0;         // 0 attach, 1 overlay
  bool backupIni = false;

 protected:
  void DoDataExchange(fw::DataExchange& exchange) override;
  bool OnInitDialog() override;

 private:
  void ApplyDemandLoadRule();
  void OnBrowse();
};

}  // namespace ui
