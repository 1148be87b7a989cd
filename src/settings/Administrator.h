// The administrator file "qvadmin.ini": who may change the shared settings.
//
// Layout (a standard initialisation file, read with the platform's private-profile reader):
//   [Users]
//   <user name>      one logon name per line, any case; a line "name=value" names nobody
#pragma once

namespace settings {

inline constexpr const wchar_t* kAdministratorFileName = L"qvadmin.ini";

// True when the host's support-file search finds no "qvadmin.ini" (no file, no restriction);
// otherwise true exactly when the logon name of the current user (at most 50 characters) is
// one of the entries of the file's section "Users", compared without regard to case. A file
// without that section, or with an empty one, makes nobody an editor; entries beyond the first
// 8192 characters of the section are not seen. The file is read at every call, so a change
// takes effect the next time the dialog is set up. Host main thread (the support search is the
// host's).
bool IsEditor();

}  // namespace settings
