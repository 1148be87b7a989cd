// The host editor, its reactors, and the editor functions the module calls.
#pragma once

#include "arx/rxobject.h"

// Notifications of the host's command processor. Each runs on the host's main thread. A command
// is announced by commandWillStart and then ends with exactly one of commandEnded,
// commandCancelled or commandFailed; each gets the command's global name, such as "-INSERT".
class AcEditorReactor : public AcRxObject {
 public:
  virtual void commandWillStart(const ACHAR* cmdStr) { (void)cmdStr; }
  virtual void commandEnded(const ACHAR* cmdStr) { (void)cmdStr; }
  virtual void commandCancelled(const ACHAR* cmdStr) { (void)cmdStr; }
  virtual void commandFailed(const ACHAR* cmdStr) { (void)cmdStr; }
};

class AcEditor : public AcRxObject {
 public:
  static AcEditor* cast(const AcRxObject* object) {
    return dynamic_cast<AcEditor*>(const_cast<AcRxObject*>(object));
  }
  // The reactor stays owned by the caller and must be removed before it is destroyed.
  virtual void addReactor(AcEditorReactor* reactor) = 0;
  virtual void removeReactor(AcEditorReactor* reactor) = 0;
};

#define acedEditor AcEditor::cast(acrxSysRegistry()->at(ACED_EDITOR_OBJ))

// The host's main window, the parent of modal dialogs. Opaque to the module.
void* adsw_acadMainWnd();

// The colours of the host's windows, each 0x00BBGGRR (red in the low byte).
struct AcColorSettings {
  Adesk::UInt32 dwGfxModelBkColor;   // model space background
  Adesk::UInt32 dwGfxLayoutBkColor;  // paper space background
  Adesk::UInt32 dwBEditBkColor;      // block editor background
  Adesk::UInt32 dwCmdLineBkColor;    // command line background
  Adesk::UInt32 dwCmdLineForeColor;  // command line text
  Adesk::UInt32 dwModelCrossHairColor;
  Adesk::UInt32 dwLayoutCrossHairColor;
};

// Fills `pColorSettings` with the current colours; false for a null pointer.
bool acedGetCurrentColors(AcColorSettings* pColorSettings);
