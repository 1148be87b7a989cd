#include "settings/Settings.h"

namespace settings {

// FIXME: the settings file and the main cache come with the settings store and the library's
// cache files; until then there is nothing to load or save.
void LoadIni() {}

void SaveIni(bool withCache) { (void)withCache; }

}  // namespace settings
