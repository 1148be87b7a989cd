// The Preferences dialog's data exchange, the rule that ties the two delete options to
// "Only load clicked directories.", and the save-as picker of the cache file.
#include "ui/Prefs.h"

#include "fw/DataExchange.h"
#include "fw/FileName.h"
#include "fw/UiDriver.h"
#include "ui/SideDlgIds.h"

namespace ui {

Prefs::Prefs() : Dialog(kPrefsTemplateId) {
  On(kIdDemandLoad, fw::Event::kClicked, [this] { ApplyDemandLoadRule(); });
  On(kIdBrowseCache, fw::Event::kClicked, [this] { OnBrowse(); });
}

void Prefs::DoDataExchange(fw::DataExchange& exchange) {
  exchange.Text(kIdCachePath, cachePath);
  exchange.Radio(kIdAskToUpdate, blockInsert);
  exchange.Radio(kIdReadOnce, readDirectory);
  exchange.Check(kIdUseCompression, useCompression);
  exchange.Check(kIdDemandLoad, demandLoadCache);
  exchange.Check(kIdOnlyCacheCurrent, onlyCacheCurrent);
  exchange.Check(kIdDelCacheOnClose, delCacheMemoryOnClose);
  exchange.Radio(kIdAttach, xrefMode);
  exchange.Check(kIdBackupIni, backupIni);
}

bool Prefs::OnInitDialog() {
  SetWindowText(L"Quorvane - Preferences");
  Dialog::OnInitDialog();
  ApplyDemandLoadRule();
  return true;
}

// Releasing caches from memory only makes sense when directories load on demand: without it
// both options are cleared and cannot be chosen.
void Prefs::ApplyDemandLoadRule() {
  bool demandLoad = IsDlgButtonChecked(kIdDemandLoad) != 0;
  for (int id : {kIdOnlyCacheCurrent, kIdDelCacheOnClose}) {
    if (!demandLoad) CheckDlgButton(id, 0);
    GetDlgItem(id)->EnableWindow(demandLoad);
  }
}

void Prefs::OnBrowse() {
  fw::CFileName current(GetDlgItemText(kIdCachePath));
  fw::FileRequest request;
  request.open = false;
  request.initialFolder = current.Drive() + current.Folder();
  request.fileName = current.FileName();
  request.flags =
      fw::OFN_OVERWRITEPROMPT | fw::OFN_PATHMUSTEXIST | fw::OFN_CREATEPROMPT | fw::OFN_NOCHANGEDIR;
  std::optional<std::wstring> chosen = fw::ChooseFile(request);
  if (chosen) SetDlgItemText(kIdCachePath, *chosen);
}

}  // namespace ui
