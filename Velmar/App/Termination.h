#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <wx/evtloopsrc.h>
#include <wx/modalhook.h>

namespace Ostra::Velmar {

// The modal dialogs open now, innermost last. Each runs an event loop of its own, below
// whatever handles an event meanwhile, so the windows it works on (its parent among
// them) must stay until it has returned.
class CModalDialogs : public wxModalDialogHook {
public:
  bool AnyOpen() const { return !Open.empty(); }
  // Ends every open dialog as Cancel does; each ShowModal returns as the stack unwinds.
  void CancelAll();
  // From now on every dialog answers Cancel at once, without showing.
  void RefuseFromNow() { Refusing = true; }

protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;

private:
  struct Entry {
    wxDialog* Dialog;
    bool Cancelled;
  };
  std::vector<Entry> Open;
  bool Refusing = false;
};

// SIGTERM. The signal handler only wakes the event loop, which calls the request handler
// from whichever loop runs then, a dialog's included. A loop that does not get there
// soon (a long command holds it) cannot end the editor in time, so a moment after the
// signal the process ends regardless, with status 128 + SIGTERM, writing nothing and
// removing the temporary file of a save it cuts short.
class CTerminationSignal : private wxEventLoopSourceHandler {
public:
  explicit CTerminationSignal(std::function<void()> onRequest);
  // The signal no longer reaches the handler; the process still ends after it.
  ~CTerminationSignal() override;

private:
  void OnReadWaiting() override;
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {}

  std::function<void()> OnRequest;
  std::unique_ptr<wxEventLoopSource> Source;
};

} // namespace Ostra::Velmar
