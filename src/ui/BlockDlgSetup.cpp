// The main dialog's set-up, step by step in its fixed order: caption, narrowing, the host's
// format level, columns, SetupDlg (module set-up, colours, widths, Xref caption, the user scale,
// the administrator lock, the loader), shown, the lists filled, and the current directory.
#include <string>

#include "dwgprobe/Thumbnails.h"
#include "fw/BackgroundWork.h"
#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/Trace.h"
#include "fw/UiDriver.h"
#include "layermap/ResBuf.h"
#include "layermap/SchemeTable.h"
#include "library/BlockProbe.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "settings/Administrator.h"
#include "settings/Settings.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/DialogLoaderView.h"
#include "ui/FormatLevel.h"
#include "ui/HostColours.h"
#include "ui/OptionControls.h"

namespace ui {
namespace {

// The dialog and these controls lose 20 pixels at their right edge on a screen too narrow.
constexpr int kNarrowing = 20;
constexpr int kNarrowedControls[] = {kIdBlocks, kIdRepeat, kIdXref, kIdZuZizazad, kIdLocalize};

// The combos' entries from the dialog's initialisation data.
constexpr const wchar_t* kScaleEntries[] = {L"1:1", L"Drawing", L"Prompt"};
constexpr const wchar_t* kRotationEntries[] = {L"0", L"90", L"180", L"270", L"Prompt"};

struct ColumnSpec {
  const wchar_t* heading;
  int width;
};
constexpr ColumnSpec kDirectoryColumns[] = {{L"Library", 80}, {L"Count", 40}, {L"Status", 20}};
constexpr ColumnSpec kBlockColumns[] = {{L"Block", 140}, {L"Rel", 45},       {L"Comments", 140},
                                        {L"Size", 60},   {L"Created", 105}, {L"Modified", 105}};

// The icon spacing of the block list's icon views, set with a thumbnail-sized image list shown.
constexpr int kIconSpacingX = 142;
constexpr int kIconSpacingY = 120;

}  // namespace

void BlockDlg::SetUp() {
  closing_.store(false);
  for (const wchar_t* entry : kScaleEntries) Item<fw::ComboBox>(kIdScale).AddString(entry);
  for (const wchar_t* entry : kRotationEntries) Item<fw::ComboBox>(kIdRotation).AddString(entry);

  SetWindowText(environment_.moduleVersion + L" - " + settings::TheSettings().iniPath);
  NarrowForSmallScreens();
  ReadFormatLevel();
  CreateColumns();
  (void)viewButton_.SetUp();
  SetupDlg();
  library::SetBlockDialogShown(true);
  settings::LoadIni();
  if (!library::TheLibrary().IsEmpty()) FillFromLibrary();
  pendingAction_ = PendingAction::kNone;
  pendingBlock_ = nullptr;
  if (library::Directory* current = library::TheLibrary().Current()) SwitchDirectory(current);
}

void BlockDlg::NarrowForSmallScreens() {
  int frame = 2 * fw::GetSystemMetrics(fw::SM_CXDLGFRAME);
  if (GetClientRect().Width() + frame <= fw::GetSystemMetrics(fw::SM_CXFULLSCREEN)) return;
  fw::CRect client = GetClientRect();
  SetClientSize(fw::CSize{client.Width() - kNarrowing, client.Height()});
  for (int id : kNarrowedControls) {
    fw::Control* control = GetDlgItem(id);
    fw::CRect rect = control->GetWindowRect();
    rect.right -= kNarrowing;
    control->MoveWindow(rect);
  }
}

void BlockDlg::ReadFormatLevel() {
  layermap::ResBuf version;
  std::wstring text;
  if (version.GetVar(L"ACADVER")) (void)version.GetString(0, text);
  if (std::optional<int> level = FormatLevelOf(text)) formatLevel_ = *level;
  else formatLevel_ = kUnsetFormatLevel;
}

void BlockDlg::CreateColumns() {
  fw::ListCtrl& directories = directories_.Control();
  for (int i = 0; const ColumnSpec& column : kDirectoryColumns) {
    directories.InsertColumn(i++, column.heading, fw::LVCFMT_LEFT, column.width);
  }
  fw::ListCtrl& blocks = blocks_.Control();
  // Both lists ask for tooltips of the item under the mouse.
  directories.SetExtendedStyle(directories.GetExtendedStyle() | fw::LVS_EX_INFOTIP);
  blocks.SetExtendedStyle(blocks.GetExtendedStyle() | fw::LVS_EX_INFOTIP);
  for (int i = 0; const ColumnSpec& column : kBlockColumns) {
    blocks.InsertColumn(i++, column.heading, fw::LVCFMT_LEFT, column.width);
  }
  fw::CImageList sized = library::Directory::CreateImageList(
      library::Directory::kLargeImageWidth, library::Directory::kLargeImageHeight);
  fw::CImageList previous = blocks.SetImageList(sized, fw::LVSIL_NORMAL);
  blocks.SetIconSpacing(kIconSpacingX, kIconSpacingY);
  blocks.SetImageList(previous, fw::LVSIL_NORMAL);
}

void BlockDlg::SetupDlg() {
  LogLine(L"SetupDlg\n");
  if (environment_.setupDone != nullptr) environment_.setupDone->Lock(fw::kInfinite);
  PublishBlockDlg(this);

  fw::COLORREF background = ReadModelBackground();
  dwgprobe::SetPreviewBackground(background);

  const settings::Options& options = settings::TheSettings().options;
  for (int i = 0; i < static_cast<int>(options.columnWidths.size()); ++i) {
    blocks_.Control().SetColumnWidth(i, options.columnWidths[static_cast<std::size_t>(i)]);
  }
  for (int i = 0; i < static_cast<int>(options.dirColumnWidths.size()); ++i) {
    directories_.Control().SetColumnWidth(i, options.dirColumnWidths[static_cast<std::size_t>(i)]);
  }

  if (options.overlayXRef != 0) SetDlgItemText(kIdXref, L"XRef/O");

  LogLine(L"Grab scale from userr4\n");
  Item<fw::ComboBox>(kIdScale).AddString(OptionControls::UserScaleText());

  LogLine(L"Check QVAdmin\n");
  ApplyAdministratorLock();

  LogLine(L"Begin Thread for LoadDir\n");
  view_->SetHandle(Handle());
  library::SetLoaderView(view_.get());
  DialogLoaderView* view = view_.get();
  library::SetBlockItemUpdate(
      [view](library::Directory& d, library::Block& b) { view->UpdateBlock(d, b); });
  fw::SetBackgroundIdleCheck(library::IsLoaderIdle);
  library::StartLoader();
  loaderStarted_ = true;

  LogLine(L"ValidateDirs\n");
  library::ValidateDirs(options.readDirEveryTime != 0);
  LogLine(L"SetupDlg return\n");
}

// A user the administrator file does not name may not change the shared set-up in this showing.
void BlockDlg::ApplyAdministratorLock() {
  if (settings::IsEditor()) return;
  for (int id : {kIdPreferences, kIdScheme, kIdSchemes, kIdAdd, kIdDelete, kIdMoveUp, kIdMoveDown,
                 kIdEditDescription}) {
    GetDlgItem(id)->EnableWindow(false);
  }
}

void BlockDlg::FillFromLibrary() {
  FillSchemeCombo();
  library::Library& library = library::TheLibrary();
  library::Directory* select = library.Current();
  {
    std::lock_guard<fw::CriticalSection> hold(library.Lock());
    for (const auto& d : library.Directories()) directories_.InsertDirectory(kAppend, *d);
    if (select == nullptr && !library.IsEmpty()) select = &library.At(0);
  }
  if (select != nullptr) directories_.Select(directories_.RowOf(*select));
}

void BlockDlg::FillSchemeCombo() {
  auto& schemes = Item<fw::ComboBox>(kIdScheme);
  schemes.ResetContent();
  schemes.AddString(library::Directory::kNoScheme);
  for (const std::wstring& name : layermap::SchemeMap().Names()) schemes.AddString(name);
}

}  // namespace ui
