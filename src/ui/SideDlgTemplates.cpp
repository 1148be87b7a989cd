// The side dialogs' layouts in dialog units, as the resource compiler takes them.
#include "ui/SideDlgTemplates.h"

#include "fw/UiDriver.h"
#include "ui/SideDlgIds.h"

namespace ui {
namespace {

using fw::ControlTemplate;

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kCheckHeight = 10;

}  // namespace

// The caption is set when the dialog opens.
fw::DialogTemplate PrefsTemplate() {
  fw::DialogTemplate dialog = fw::ModalDialogTemplate(kPrefsTemplateId, 305, 180, L"Preferences");
  dialog.controls = {
      ControlTemplate::Label(L"Cache File Location:", 5, 7, 65, 8),
      ControlTemplate::Edit(kIdCachePath, 72, 5, 170, 12).Style(fw::ES_AUTOHSCROLL),
      ControlTemplate::PushButton(kIdBrowseCache, L"Browse", 246, 4, 54, kButtonHeight),
      ControlTemplate::GroupBox(L"Existing Block Resolution", 5, 22, 145, 45),
      ControlTemplate::RadioButton(kIdAskToUpdate, L"Ask to update", 10, 32, 135, kCheckHeight)
          .Group(),
      ControlTemplate::RadioButton(kIdAskOncePerBlock, L"Ask to update once per block per drawing",
                                   10, 43, 135, kCheckHeight),
      ControlTemplate::RadioButton(kIdAlwaysUpdate, L"Always update", 10, 54, 135, kCheckHeight),
      ControlTemplate::GroupBox(L"Directory Reading", 155, 22, 145, 34),
      ControlTemplate::RadioButton(kIdReadOnce, L"Read Only Once Per Session", 160, 32, 135,
                                   kCheckHeight)
          .Group(),
      ControlTemplate::RadioButton(kIdReadEveryTime, L"Read Every Time Showed", 160, 43, 135,
                                   kCheckHeight),
      ControlTemplate::GroupBox(L"Cache Memory Options", 5, 70, 295, 58),
      ControlTemplate::CheckBox(kIdUseCompression, L"Use Compression", 10, 80, 135, kCheckHeight)
          .Group(),
      ControlTemplate::CheckBox(kIdDemandLoad, L"Only load clicked directories.", 10, 91, 280,
                                kCheckHeight),
      ControlTemplate::CheckBox(kIdOnlyCacheCurrent,
                                L"Delete directory cache from memory when not the current "
                                L"directory.",
                                20, 102, 275, kCheckHeight)
          .Disabled(),
      ControlTemplate::CheckBox(kIdDelCacheOnClose,
                                L"Delete all directory caches from memory when Quorvane closes.",
                                20, 113, 275, kCheckHeight)
          .Disabled(),
      ControlTemplate::GroupBox(L"X-Ref", 5, 131, 145, 25),
      ControlTemplate::RadioButton(kIdAttach, L"Attach", 10, 141, 60, kCheckHeight).Group(),
      ControlTemplate::RadioButton(kIdOverlay, L"Overlay", 75, 141, 60, kCheckHeight),
      ControlTemplate::CheckBox(kIdBackupIni, L"Create backups of the ini file.", 5, 162, 145,
                                kCheckHeight)
          .Group(),
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 190, 160, kButtonWidth, kButtonHeight),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 250, 160, kButtonWidth, kButtonHeight),
  };
  return dialog;
}

fw::DialogTemplate DirPropsTemplate() {
  fw::DialogTemplate dialog =
      fw::ModalDialogTemplate(kDirPropsTemplateId, 258, 122, L"Quorvane - Directory Properties");
  dialog.controls = {
      ControlTemplate::Label(L"Description:", 5, 7, 40, 8),
      ControlTemplate::Edit(kIdDirDescription, 48, 5, 150, 12).Style(fw::ES_AUTOHSCROLL),
      ControlTemplate::Label(L"Directory:", 5, 23, 40, 8),
      ControlTemplate::Edit(kIdDirPath, 48, 21, 150, 12).Style(fw::ES_AUTOHSCROLL),
      ControlTemplate::PushButton(kIdBrowseFolder, L"Browse", 202, 20, kButtonWidth, kButtonHeight),
      ControlTemplate::Label(L"Blocks:", 5, 39, 40, 8),
      ControlTemplate::ListBox(kIdFormatCounts, 5, 49, 110, 68)
          .Style(fw::LBS_USETABSTOPS | fw::WS_VSCROLL),
      ControlTemplate::CheckBox(kIdCacheOption, L"Cache", 125, 49, 70, kCheckHeight).Disabled(),
      ControlTemplate::CheckBox(kIdShowInsertionPoints, L"Show Ins. Pts.", 125, 61, 70,
                                kCheckHeight),
      ControlTemplate::CheckBox(kIdUseLargeImages, L"Use Large Images", 125, 73, 70, kCheckHeight),
      ControlTemplate::PushButton(kIdSaveLsas, L"Save LSAs", 125, 88, kButtonWidth, kButtonHeight)
          .Disabled(),
      ControlTemplate::PushButton(kIdReloadBlocks, L"Reload Blocks", 125, 104, kButtonWidth,
                                  kButtonHeight),
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 202, 88, kButtonWidth, kButtonHeight),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 202, 104, kButtonWidth, kButtonHeight),
  };
  return dialog;
}

fw::DialogTemplate EditDescTemplate() {
  fw::DialogTemplate dialog =
      fw::ModalDialogTemplate(kEditDescTemplateId, 205, 41, L"Edit Block Description");
  dialog.controls = {
      ControlTemplate::Edit(kIdBlockDescription, 5, 5, 195, 12).Style(fw::ES_AUTOHSCROLL),
      ControlTemplate::DefPushButton(fw::IDOK, L"OK", 95, 22, kButtonWidth, kButtonHeight),
      ControlTemplate::PushButton(fw::IDCANCEL, L"Cancel", 150, 22, kButtonWidth, kButtonHeight),
  };
  return dialog;
}

}  // namespace ui
