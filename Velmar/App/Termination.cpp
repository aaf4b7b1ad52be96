#include "Velmar/App/Termination.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <thread>

#include <wx/dialog.h>
#include <wx/evtloop.h>

#include "Util/SafeSave.h"

namespace Ostra::Velmar {

namespace {

// How long the event loop has to end the editor after the signal; under a second, so
// that the session manager or the user waits no longer than that.
constexpr long GraceNanoseconds = 750'000'000;

int WakePipe[2] = {-1, -1};
sem_t WatchdogStart;

extern "C" void OnTerminationSignal(int) {
  // Only calls that are safe in a signal handler.
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(WakePipe[1], &byte, 1);
  sem_post(&WatchdogStart);
  errno = saved;
}

void RunWatchdog() {
  while (sem_wait(&WatchdogStart) != 0) {
  }
  timespec left{0, GraceNanoseconds};
  while (nanosleep(&left, &left) != 0) {
  }
  // A save the loop never got back to keeps its target as it was, and leaves nothing.
  Util::AbandonSavesInProgress();
  _exit(128 + SIGTERM);
}

// Once per process: the pipe, the watchdog and the handler.
bool InstallHandler() {
  static const bool installed = [] {
    if (pipe2(WakePipe, O_CLOEXEC | O_NONBLOCK) != 0 || sem_init(&WatchdogStart, 0, 0) != 0)
      return false;
    std::thread(RunWatchdog).detach();
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGTERM, &action, nullptr) == 0;
  }();
  return installed;
}

// The toolkit's message box runs a loop of its own that only the box's response ends,
// and the toolkit's wrapper has no call that gives one; the response call is looked up
// in the toolkit already loaded.
void CancelToolkitDialog(wxDialog* dialog) {
  using Respond = void (*)(void*, int);
  constexpr int CancelResponse = -6;
  static const auto respond = reinterpret_cast<Respond>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
  if (respond != nullptr && dialog->GetHandle() != nullptr)
    respond(dialog->GetHandle(), CancelResponse);
}

} // namespace

int CModalDialogs::Enter(wxDialog* dialog) {
  if (Refusing)
    return wxID_CANCEL;
  Open.push_back({dialog, false});
  return wxID_NONE;
}

void CModalDialogs::Exit(wxDialog* dialog) {
  const auto found =
      std::find_if(Open.rbegin(), Open.rend(), [&](const Entry& entry) { return entry.Dialog == dialog; });
  if (found != Open.rend())
    Open.erase(std::next(found).base());
}

void CModalDialogs::CancelAll() {
  for (std::size_t k = Open.size(); k-- > 0;) {
    wxDialog* dialog = Open[k].Dialog;
    if (Open[k].Cancelled)
      continue;
    // A dialog whose ShowModal calls its base's is entered twice; it is ended once.
    for (Entry& entry : Open)
      entry.Cancelled = entry.Cancelled || entry.Dialog == dialog;
    if (dialog->IsModal())
      dialog->EndModal(wxID_CANCEL);
    else
      CancelToolkitDialog(dialog);
  }
}

CTerminationSignal::CTerminationSignal(std::function<void()> onRequest) : OnRequest(std::move(onRequest)) {
  if (InstallHandler())
    Source.reset(wxEventLoopBase::AddSourceForFD(WakePipe[0], this, wxEVENT_SOURCE_INPUT));
}

CTerminationSignal::~CTerminationSignal() = default;

void CTerminationSignal::OnReadWaiting() {
  char bytes[16];
  while (read(WakePipe[0], bytes, sizeof bytes) > 0) {
  }
  if (OnRequest)
    OnRequest();
}

} // namespace Ostra::Velmar
