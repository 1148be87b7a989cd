// Moving the settings between the initialisation file and memory: the process-wide settings,
// LoadIni and SaveIni.
#pragma once

#include <string>

#include "settings/Options.h"

namespace settings {

// The process-wide settings. The per-directory settings live in each library::Directory, the
// mapping schemes in layermap::SchemeMap().
//
// Threads: the host's main thread, and the dialog's closing worker (SaveIni(false)) after the
// loader has stopped; the flows never touch it from two threads at once, so it has no lock.
struct Settings {
  // Full path of "qv35.ini"; empty until LoadIni has located it, which it does once.
  std::wstring iniPath;
  // Full path of the main cache: "qv35.cache" beside the settings file unless the file's
  // "CacheFile" names another.
  std::wstring cachePath;
  Options options;
};

Settings& TheSettings();
// Puts the process-wide settings back as they are when the process starts: no file located,
// every option at its default. For tests, which run many loads in one process.
void ResetSettings();

// Host main thread. Logs "LoadIni\n". With a library already filled it only logs
// "LoadIni return\n" and returns: the dialog, which calls LoadIni during its set-up, fills its
// directory list and scheme box from the library and the schemes itself afterwards. Otherwise
// it locates the settings file when none is located yet, loads it into the store, reads the
// options and the mapping schemes, reads the main cache into the library and, unless the cache
// is up to date with the file, reads the column widths and reconciles the library with the
// file's path list. Every step logs its line. Nothing fails: what cannot be read keeps its
// default.
void LoadIni();

// Writes every setting into the store and flushes it to the settings file (with the nine
// backups when the option BackupIni is on). A read-only file is kept as it is: neither the
// options, the path list nor the directory sections are written, and it is not flushed. The
// schemes are always written to the store. With `withCache` (only at quit, host main thread,
// after the loader stopped) the main cache is written before the flush and every scheme is
// deleted once written. Without it, the dialog's closing worker thread after the loader stopped.
// Does nothing but delete the schemes (with `withCache`) while no file was ever located.
void SaveIni(bool withCache);

}  // namespace settings
