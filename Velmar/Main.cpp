#include "Util/HeapPolicy.h"
#include "Velmar/App/VelmarApp.h"

// wxIMPLEMENT_APP's main, with the heap policy set before wxWidgets starts.
int main(int argc, char** argv) {
  Ostra::Util::ApplyHeapPolicy();
  wxDISABLE_DEBUG_SUPPORT();
  return wxEntry(argc, argv);
}

wxIMPLEMENT_APP_NO_MAIN(Ostra::Velmar::CVelmarApp);
