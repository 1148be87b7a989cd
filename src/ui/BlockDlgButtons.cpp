// The buttons that open something: Help, Print, Preferences, Schemes and Edit Descrip.
#include "fw/ComboBox.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
#include "layermap/SchemeTable.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/Catalogue.h"
#include "ui/HelpFile.h"
#include "ui/OptionControls.h"

namespace ui {

void BlockDlg::OnHelp() { ShowHelpFile(environment_.moduleDirectory); }

void BlockDlg::OnPrint() {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  if (!d->loaded) {
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

// Until the Preferences dialog exists the options stay as they were; what follows the dialog
// is in place: the previews of the directories not shown leave memory when OnlyCacheCurrent
// was turned on, and the Xref caption follows the overlay option.
void BlockDlg::OnPreferences() {
  if (!MayEdit()) return;
  settings::Options& options = settings::TheSettings().options;
  bool onlyCurrentBefore = options.onlyCacheCurrent != 0;
  // FIXME: the Preferences dialog comes with the side dialogs.
  LogLine(L"Preferences\n");
  if (!onlyCurrentBefore && options.onlyCacheCurrent != 0) {
    library::RunWhileLoaderIsOffAllButCurrent(
        [] { library::ReleaseImagesExceptCurrent(library::TheLibrary()); });
  }
  SetDlgItemText(kIdXref, options.overlayXRef != 0 ? L"XRef/O" : L"XRef/A");
}

void BlockDlg::OnSchemes() {
  if (!MayEdit()) return;
  options_->Store();
  // FIXME: the schemes dialog comes with the side dialogs; until then the box is only refilled.
  LogLine(L"Schemes\n");
  FillSchemeCombo();
  auto& schemes = Item<fw::ComboBox>(kIdScheme);
  schemes.SetCurSel(schemes.FindStringExact(-1, library::Directory::kNoScheme));
  if (library::Directory* d = library::TheLibrary().Current()) {
    for (int i = 0; i < schemes.GetCount(); ++i) {
      if (schemes.GetLBText(i) == d->currentScheme) schemes.SetCurSel(i);
    }
  }
}

void BlockDlg::OnEditDescription() {
  if (!MayEdit() || blocks_.Selected() < 0) return;
  // FIXME: the Edit Block Description dialog comes with the side dialogs.
  LogLine(L"Edit Description\n");
}

}  // namespace ui
