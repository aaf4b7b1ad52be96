#include "TestSupport/WxTestApp.h"

#include <cstdlib>

#include <wx/app.h>
#include <wx/init.h>

// The font library keeps its caches for the life of the process; the leak checker would
// report them at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace Ostra::Test {

bool PrepareWxEnvironment() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0')
    return false;
  setenv("GDK_BACKEND", "x11", 0);
  setenv("NO_AT_BRIDGE", "1", 0);
  // Overlay scroll bars would not take room from the client area.
  setenv("GTK_OVERLAY_SCROLLING", "0", 1);
  return true;
}

bool StartWx(const char* program_name) {
  static const bool started = [program_name] {
    if (!PrepareWxEnvironment())
      return false;
    static char name[64];
    std::snprintf(name, sizeof name, "%s", program_name);
    static char* argv[] = {name, nullptr};
    int argc = 1;
    wxApp::SetInstance(new wxApp());
    return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
  }();
  return started;
}

void SettleWx() {
  for (int i = 0; i < 20; ++i) {
    wxTheApp->ProcessPendingEvents();
    wxYield();
  }
}

} // namespace Ostra::Test
