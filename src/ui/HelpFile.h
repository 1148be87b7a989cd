// The help file: shipped beside the module, shown from a copy in the user's application-data
// folder.
#pragma once

#include <string>

namespace ui {

// The help book beside the module: an HTML help book (a zip archive of the pages, their
// contents and index files) that the help viewer reads.
inline constexpr const wchar_t* kHelpFileName = L"quorva.htb";

// Copies the help file from `moduleDirectory` to "<application data>/Tarvesh/help/" (making the
// two folders) when the copy is missing or its modification time differs, then asks the UI
// driver's help viewer to show the copy. Does nothing, silently, when the module's folder holds
// no help file; when the copy cannot be made, shows the module's own file. Dialog's thread.
void ShowHelpFile(const std::wstring& moduleDirectory);

}  // namespace ui
