// The buttons that open something: Help, Print, Preferences, Schemes and Edit Descrip.
#include <mutex>
#include <shared_mutex>

#include "dwgprobe/DescriptionWriter.h"
#include "fw/ComboBox.h"
#include "fw/FileStatus.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
#include "layermap/SchemePrefs.h"
#include "layermap/SchemeTable.h"
#include "library/Block.h"
#include "library/BlockLock.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/Catalogue.h"
#include "ui/DescriptionText.h"
#include "ui/EditDesc.h"
#include "ui/HelpFile.h"
#include "ui/OptionControls.h"
#include "ui/Prefs.h"

namespace ui {

void BlockDlg::OnHelp() { ShowHelpFile(environment_.moduleDirectory); }

void BlockDlg::OnPrint() {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  if (!library::IsLoaded(*d)) {
    MessageBox(L"The directory is not done loading. Please try again later.");
    return;
  }
  fw::PrintRequest request;
  request.flags = fw::PD_RETURNDC | fw::PD_NOSELECTION | fw::PD_NOPAGENUMS |
                  fw::PD_USEDEVMODECOPIESANDCOLLATE;
  std::unique_ptr<fw::PrinterDC> printer = fw::ChoosePrinter(request);
  if (!printer) return;
  Catalogue catalogue;
  catalogue.directory = d;
  catalogue.items = CatalogueItemsOf(blocks_.Control());
  catalogue.printScale = settings::TheSettings().options.printScale;
  catalogue.printType = settings::TheSettings().options.printType;
  catalogue.versionText = environment_.moduleVersion;
  PrintProgress progress;
  const fw::Status printed = PrintCatalogue(*printer, catalogue, progress);
  printer.reset();
  // A job that failed has shown its own message; "Done Printing" would claim otherwise.
  if (printed.Ok()) MessageBox(L"Done Printing");
}

void BlockDlg::OnPreferences() {
  if (!MayEdit()) return;
  settings::Settings& settings = settings::TheSettings();
  settings::Options& options = settings.options;
  Prefs dialog;
  dialog.cachePath = settings.cachePath;
  bool knownBlockInsert = options.blockInsert >= 0 && options.blockInsert <= 2;
  dialog.blockInsert = knownBlockInsert ? options.blockInsert : 0;
  dialog.readDirectory = options.readDirEveryTime != 0 ? 1 : 0;
  dialog.useCompression = library::UseCompression();
  dialog.demandLoadCache = options.demandLoadCache != 0;
  dialog.onlyCacheCurrent = options.onlyCacheCurrent != 0;
  dialog.delCacheMemoryOnClose = options.delCacheMemoryOnClose != 0;
  dialog.xrefMode = options.overlayXRef != 0 ? 1 : 0;
  dialog.backupIni = options.backupIni != 0;
  if (dialog.DoModal() != fw::IDOK) return;

  if (!dialog.cachePath.empty() && dialog.cachePath != settings.cachePath) {
    bool moved = false;
    library::RunWhileLoaderIsOffAll([&] {
      moved = library::RelocateCaches(library::TheLibrary(), settings.cachePath, dialog.cachePath);
    });
    // A refused move (a file of another library in the way) keeps the caches where they are.
    if (moved) settings.cachePath = dialog.cachePath;
  }
  options.blockInsert = dialog.blockInsert < 0 ? 0 : dialog.blockInsert;
  options.demandLoadCache = dialog.demandLoadCache ? 1 : 0;
  options.onlyCacheCurrent = dialog.onlyCacheCurrent ? 1 : 0;
  options.delCacheMemoryOnClose = dialog.delCacheMemoryOnClose ? 1 : 0;
  if (options.onlyCacheCurrent != 0) {
    library::RunWhileLoaderIsOffAllButCurrent(
        [] { library::ReleaseImagesExceptCurrent(library::TheLibrary()); });
  }
  options.readDirEveryTime = dialog.readDirectory == 1 ? 1 : 0;
  options.overlayXRef = dialog.xrefMode == 1 ? 1 : 0;
  library::SetUseCompression(dialog.useCompression);
  options.backupIni = dialog.backupIni ? 1 : 0;
  SetDlgItemText(kIdXref, options.overlayXRef != 0 ? L"XRef/O" : L"XRef/A");
}

void BlockDlg::OnSchemes() {
  if (!MayEdit()) return;
  options_->Store();
  library::Directory* current = library::TheLibrary().Current();
  layermap::SchemePrefs dialog;
  if (current != nullptr) dialog.directoryScheme = current->currentScheme;
  dialog.DoModal();
  if (dialog.chosenScheme && current != nullptr) current->currentScheme = *dialog.chosenScheme;
  FillSchemeCombo();
  auto& schemes = Item<fw::ComboBox>(kIdScheme);
  schemes.SetCurSel(schemes.FindStringExact(-1, library::Directory::kNoScheme));
  if (current != nullptr) {
    for (int i = 0; i < schemes.GetCount(); ++i) {
      if (schemes.GetLBText(i) == current->currentScheme) schemes.SetCurSel(i);
    }
  }
}

void BlockDlg::OnEditDescription() {
  if (!MayEdit()) return;
  int item = blocks_.Selected();
  library::Directory* d = library::TheLibrary().Current();
  library::Block* block = blocks_.BlockAt(item);
  if (d == nullptr || block == nullptr) return;
  std::wstring drawing = d->DrawingPath(*block);
  fw::CFileStatus status;
  if (!fw::GetFileStatus(drawing, status)) {
    MessageBox(L"File no longer exists.", L"Quorvane");
    return;
  }
  if ((status.attribute & fw::kAttributeReadOnly) != 0) {
    MessageBox(L"This file is read only.\nThe description cannot be changed.", L"Quorvane");
    return;
  }
  EditDesc dialog;
  {
    std::shared_lock hold(library::BlockFieldsLock());
    dialog.description = block->description;
  }
  if (dialog.DoModal() != fw::IDOK) return;
  // The summary information keeps one line of characters every drawing format can hold.
  CleanedDescription cleaned = CleanDescription(dialog.description);
  if (cleaned.changed) {
    MessageBox(L"Line ends and characters a drawing cannot hold were replaced or left out:\n" +
                   cleaned.text,
               L"Quorvane");
  }
  fw::CWaitCursor wait;
  int version = 0;
  {
    std::unique_lock hold(library::BlockFieldsLock());
    block->description = cleaned.text;
    version = block->version;
  }
  blocks_.Control().SetItemText(item, 2, cleaned.text);
  blocks_.Control().SetItemState(item, 0, fw::LVIS_SELECTED);
  blocks_.Select(item);
  if (!dwgprobe::WriteDescription(drawing, version, cleaned.text)) {
    MessageBox(L"Could not write to file.\nDescription not saved.", L"Quorvane");
  }
  GotoDlgCtrl(kIdBlocks);
}

}  // namespace ui
