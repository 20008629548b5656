#include "common/exit_request_win.h"

#include <windows.h>

#include <atomic>

namespace kelvane {

namespace {

// Process dialogs answer on threads of their own, so both are read from more than one thread.
std::atomic<std::uint32_t> exitRequests{0};
std::atomic<bool> exitPending{false};

}  // namespace

void endModalLoopsForExit() {
  exitRequests.fetch_add(1);
  exitPending = true;
  PostQuitMessage(0);
}

void exitRequestCarriedOut() { exitPending = false; }

ModalExitWatch::ModalExitWatch() : requestsAtOpen_(exitRequests.load()), pendingAtOpen_(exitPending.load()) {}

bool ModalExitWatch::exitCame() const { return pendingAtOpen_ || exitRequests.load() != requestsAtOpen_; }

}  // namespace kelvane
