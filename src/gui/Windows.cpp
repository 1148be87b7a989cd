// Starting and stopping wxWidgets for a host program that has its own main().
#include "gui/Windows.h"

#include <clocale>
#include <cstdlib>
#include <string>

#include <wx/app.h>
#include <wx/init.h>

#include "gui/NoteSink.h"
#include "gui/WxText.h"

namespace gui {
namespace {

// The host parses its own command line: wx's application parses none.
class HostApp final : public wxApp {
 public:
  bool OnInit() override { return true; }
};

bool windowsStarted = false;

bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

bool StartWindows(int& argc, char** argv) {
  if (windowsStarted) return true;
  // Without a display named, GTK would only complain: the program runs headless quietly.
  if (!DisplayNamed()) return false;
  // The toolkit takes the environment's locale for the whole process when it starts; the host
  // reads and writes numbers as the program always did, so the locale it had comes back.
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  // Paths picked in wx's dialogs keep their bytes, whatever the locale.
  wxConvFileName = &FileNameConversion();
  wxApp::SetInstance(new HostApp);
  const bool started = wxEntryStart(argc, argv);
  std::setlocale(LC_ALL, locale.c_str());
  if (!started) return false;
  if (!wxTheApp->CallOnInit()) {
    wxEntryCleanup();
    return false;
  }
  NoteSink::SetOpen(true);
  windowsStarted = true;
  return true;
}

void StopWindows() {
  if (!windowsStarted) return;
  NoteSink::SetOpen(false);
  windowsStarted = false;
  wxEntryCleanup();
}

bool WindowsStarted() { return windowsStarted; }

}  // namespace gui
