#include "workstation/console/SignalCleanup.h"

#include <csignal>

#include "harvestor/service/TemporaryFiles.h"

namespace workstation::console {
namespace {

extern "C" void removeAndEnd(int signal) {
  harvestor::TemporaryFiles::RemoveAll();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void removeTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = removeAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaction(signal, &action, nullptr);
}

}  // namespace workstation::console
