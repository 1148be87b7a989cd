// What the dialogs ask the UI driver for besides message boxes: where a popup menu opens, the
// folder browser, the file dialog, the print dialog and the help viewer.
#pragma once

#include <string>

#include "fw/Geometry.h"
#include "fw/WindowStyles.h"

namespace fw {

struct PopupRequest {
  unsigned flags = TPM_LEFTALIGN;  // TPM_* alignment and button flags
  CPoint point;                    // screen pixels
  std::wstring ownerCaption;       // the caption of the dialog that opens the menu
};

struct FolderRequest {
  std::wstring title;        // the text above the folder tree
  std::wstring startFolder;  // the folder shown chosen at first (empty: none)
  unsigned flags = BIF_RETURNONLYFSDIRS;
};

struct FileRequest {
  bool open = true;  // an open dialog, or a save-as dialog
  std::wstring initialFolder;
  std::wstring fileName;          // the name offered
  std::wstring defaultExtension;  // without the dot; empty for none
  std::wstring filter;            // the platform's "Text|*.txt||" filter; empty for none
  unsigned flags = 0;             // OFN_*
};

struct PrintRequest {
  unsigned flags = PD_RETURNDC;  // PD_*
};

enum class HelpCommand { kDisplayTopic };

}  // namespace fw
