// Starting and stopping wxWidgets for a host program that has its own main().
#include "gui/Windows.h"

#include <cstdlib>

#include <wx/app.h>
#include <wx/init.h>

#include "gui/NoteSink.h"

namespace gui {
namespace {

// The host parses its own command line: wx's application parses none.
class HostApp final : public wxApp {
 public:
  bool OnInit() override { return true; }
};

bool started = false;

bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

bool StartWindows(int& argc, char** argv) {
  if (started) return true;
  // Without a display named, GTK would only complain: the program runs headless quietly.
  if (!DisplayNamed()) return false;
  wxApp::SetInstance(new HostApp);
  if (!wxEntryStart(argc, argv)) return false;
  if (!wxTheApp->CallOnInit()) {
    wxEntryCleanup();
    return false;
  }
  NoteSink::SetOpen(true);
  started = true;
  return true;
}

void StopWindows() {
  if (!started) return;
  NoteSink::SetOpen(false);
  started = false;
  wxEntryCleanup();
}

bool WindowsStarted() { return started; }

}  // namespace gui
