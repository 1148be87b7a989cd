// The `dump` lines of the headless driver: the state of one control, or of every control of a
// dialog, as `ui:` lines.
//
//   list control:   ui: ID list view=icon|smallicon|list|report count=C
//                   ui: ID #N TEXT | SUB1 | SUB2 ...      (display order; #N* when selected;
//                                                          empty trailing sub-items left out)
//   other controls: ui: ID "TEXT" enabled|disabled visible|hidden[ checked]
//                   then for a combo box or list box: ui: ID #N TEXT   (one line per item)
//   A list box's TEXT is its chosen item; a progress bar adds " position=P range=L..U".
//   dump-dialog:    ui: dialog "CAPTION", then every control in template order.
#pragma once

#include <string>
#include <vector>

namespace fw {

class Control;
class Dialog;

std::vector<std::string> DumpControl(const Control& control);
std::vector<std::string> DumpDialog(const Dialog& dialog);

}  // namespace fw
