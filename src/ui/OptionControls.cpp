// Storing and loading the insertion options of the current directory.
#include "ui/OptionControls.h"

#include <cstdint>
#include <cwchar>

#include "fw/Button.h"
#include "fw/ComboBox.h"
#include "fw/Strings.h"
#include "fw/UiDriver.h"
#include "insert/InsertionOptions.h"
#include "layermap/ResBuf.h"
#include "library/CacheFiles.h"
#include "library/Directory.h"
#include "library/Library.h"
#include "library/Loader.h"
#include "ui/BlockDlg.h"
#include "ui/BlockDlgIds.h"
#include "ui/DialogLoaderView.h"

namespace ui {
namespace {

using insert::RotationMode;
using insert::ScaleMode;

// The directory keeps the modes as their stored numbers.
std::int32_t Stored(ScaleMode mode) { return static_cast<std::int32_t>(mode); }
std::int32_t Stored(RotationMode mode) { return static_cast<std::int32_t>(mode); }

constexpr const wchar_t* kUserScaleVariable = L"USERR4";
constexpr std::size_t kMaxScaleText = 50;

// A decimal number at the start of the text, or 0 when there is none.
double NumberOf(const std::wstring& text) {
  wchar_t* end = nullptr;
  double value = std::wcstod(text.c_str(), &end);
  return end == text.c_str() ? 0.0 : value;
}

bool Checked(const BlockDlg& dialog, int id) { return dialog.IsDlgButtonChecked(id) == fw::BST_CHECKED; }

}  // namespace

std::wstring OptionControls::UserScaleText() {
  layermap::ResBuf value;
  double scale = value.GetVar(kUserScaleVariable) ? value.RealAt(0) : 0.0;
  if (scale == layermap::ResBuf::kMissingReal) scale = 0.0;
  layermap::ResBuf precision;
  int digits = precision.GetVar(L"LUPREC") ? precision.IntegerAt(0) : 4;
  if (digits < 0 || digits > 8) digits = 4;
  std::wstring text = fw::Format(L"%.*f", digits, scale);
  if (text.size() > kMaxScaleText) text.resize(kMaxScaleText);
  return text;
}

void OptionControls::Store() {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr || !dialog_.IsShown() || !loaded_) return;
  d->currentScheme = dialog_.GetDlgItemText(kIdScheme);
  d->explode = Checked(dialog_, kIdExplode);
  d->multipleInsert = Checked(dialog_, kIdMultipleInsert);
  d->repeat = Checked(dialog_, kIdRepeat);
  d->hiddenOption = Checked(dialog_, kIdLocalize);
  StoreScale(*d);
  StoreRotation(*d);
  // The list's view state belongs to d only once the loader has filled it with d's blocks; a
  // half-filled list (shown as icons while it fills) would overwrite d's view and selection.
  if (dialog_.View().IsFilled(*d)) {
    MyList& blocks = dialog_.Blocks();
    d->topIndex = blocks.Control().GetTopIndex();
    d->selectedIndex = blocks.Selected();
    d->view = blocks.View();
  }
  if (d->imagesDirty) {
    fw::CWaitCursor wait;
    (void)library::WriteImageCacheUnlessLoading(*d);
  }
}

void OptionControls::StoreScale(library::Directory& d) {
  std::wstring text = fw::ToLower(dialog_.GetDlgItemText(kIdScale));
  if (text == L"prompt") {
    d.scaleMode = Stored(ScaleMode::kPrompt);
  } else if (text == L"1:1") {
    d.scaleMode = Stored(ScaleMode::kOneToOne);
  } else if (text == L"drawing") {
    d.scaleMode = Stored(ScaleMode::kDrawing);
  } else {
    d.scaleMode = Stored(ScaleMode::kUser);
    layermap::ResBuf value;
    if (value.AppendReal(NumberOf(text))) (void)value.SetVar(kUserScaleVariable);
  }
}

void OptionControls::StoreRotation(library::Directory& d) {
  std::wstring text = dialog_.GetDlgItemText(kIdRotation);
  if (fw::EqualsNoCase(text, L"Prompt")) {
    d.rotationMode = Stored(RotationMode::kPrompt);
  } else {
    d.rotationMode = Stored(RotationMode::kFixed);
    d.rotationAngle = NumberOf(text);
  }
}

void OptionControls::Load() {
  library::Directory* d = library::TheLibrary().Current();
  if (d == nullptr) return;
  dialog_.CheckDlgButton(kIdExplode, d->explode ? fw::BST_CHECKED : fw::BST_UNCHECKED);
  dialog_.CheckDlgButton(kIdMultipleInsert, d->multipleInsert ? fw::BST_CHECKED : fw::BST_UNCHECKED);
  dialog_.CheckDlgButton(kIdRepeat, d->repeat ? fw::BST_CHECKED : fw::BST_UNCHECKED);
  dialog_.CheckDlgButton(kIdLocalize, d->hiddenOption ? fw::BST_CHECKED : fw::BST_UNCHECKED);
  LoadScale(*d);
  dialog_.SetDlgItemText(kIdRotation, insert::RotationModeOf(*d) == RotationMode::kPrompt
                                          ? std::wstring(L"Prompt")
                                          : fw::Format(L"%f", d->rotationAngle));
  LoadScheme(*d);
  EnableForDirectory(*d);
  loaded_ = true;
}

// A stored mode outside the known ones shows as "Prompt", which is how an insertion takes it.
void OptionControls::LoadScale(const library::Directory& d) {
  std::wstring text;
  switch (insert::ScaleModeOf(d)) {
    case ScaleMode::kOneToOne:
      text = L"1:1";
      break;
    case ScaleMode::kDrawing:
      text = L"Drawing";
      break;
    case ScaleMode::kPrompt:
      text = L"Prompt";
      break;
    case ScaleMode::kUser:
      text = UserScaleText();
      break;
  }
  dialog_.SetDlgItemText(kIdScale, text);
}

void OptionControls::LoadScheme(library::Directory& d) {
  auto& schemes = dialog_.Item<fw::ComboBox>(kIdScheme);
  int found = schemes.FindStringExact(-1, d.currentScheme);
  // FindStringExact ignores case; the scheme must be the one named.
  if (found >= 0 && schemes.GetLBText(found) != d.currentScheme) found = -1;
  if (found < 0) {
    found = schemes.FindStringExact(-1, library::Directory::kNoScheme);
    d.currentScheme = library::Directory::kNoScheme;
  }
  schemes.SetCurSel(found);
}

void OptionControls::EnableForDirectory(const library::Directory& d) {
  bool internal = d.IsInternal();
  bool mayEdit = dialog_.MayEdit();
  dialog_.GetDlgItem(kIdOpen)->EnableWindow(!internal);
  dialog_.GetDlgItem(kIdXref)->EnableWindow(!internal);
  dialog_.GetDlgItem(kIdEditDescription)->EnableWindow(!internal && mayEdit);
  dialog_.GetDlgItem(kIdScheme)->EnableWindow(!internal && mayEdit);
}

}  // namespace ui
