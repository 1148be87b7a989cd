// Facts of the machine and the user: names, well-known folders, the current folder.
#pragma once

#include <string>

namespace fw {

// The computer's name as the network knows it (host name).
std::wstring GetComputerName();
// The logon name of the user running the process.
std::wstring GetUserName();
// The user's documents folder ($XDG_DOCUMENTS_DIR, else $HOME/Documents).
std::wstring GetDocumentsFolder();
// The user's application-data folder ($XDG_DATA_HOME, else $HOME/.local/share).
std::wstring GetAppDataFolder();
// The process's current folder, without trailing separator.
std::wstring GetCurrentFolder();

}  // namespace fw
