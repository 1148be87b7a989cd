// Moving the settings between the initialisation file and memory.
#pragma once

namespace settings {

// Locates and reads the settings file and the main cache, and reconciles the library with the
// file's path list. Host main thread.
void LoadIni();
// Writes every setting; with `withCache` (only at quit) also the main cache file.
void SaveIni(bool withCache);

}  // namespace settings
