#pragma once
// A harvestor run stopped by Ctrl-C, SIGTERM, a closed terminal or a closed
// pipe (an export to standard output read by head) removes the
// temporary files it was writing, then ends as the signal would have ended it
// (so the caller still sees the signal in the exit status).

namespace workstation::console {

void removeTemporaryFilesOnSignals();

}  // namespace workstation::console
