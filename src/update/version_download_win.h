#pragma once
// The version check's network side: the version file is fetched and judged on a worker thread
// of its own, so that neither a slow server nor a hostile file holds up the user interface. The
// answer reaches the window as a posted message.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "update/update_check.h"

namespace kelvane {

struct VersionCheck {
  std::string address;     // http or https; anything else fails at once
  std::string programKey;  // what the file is searched for, and the version it is judged against
  std::string ownVersion;
  DWORD deadlineMs = kVersionCheckDeadlineMs;
};

class TVInfoDownload {
 public:
  // Starts the check. `doneMessage` is posted to `window` once: when the answer is known, or
  // when the deadline has passed first (a failed check, whatever the network is still doing).
  // At most kVersionFileRedirects redirects are followed, each to a web address.
  TVInfoDownload(VersionCheck check, HWND window, UINT doneMessage);
  // A check still running is abandoned: nothing is posted any more and its connection is
  // closed. Nothing here waits for the network; the worker ends on its own and touches
  // nothing of this object.
  ~TVInfoDownload();
  TVInfoDownload(const TVInfoDownload&) = delete;
  TVInfoDownload& operator=(const TVInfoDownload&) = delete;

  // The answer once the message was posted; nothing before (a message that is older than this
  // check finds nothing).
  std::optional<UpdateAnswer> answer() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  HANDLE deadline_ = nullptr;  // a timer-queue timer
};

}  // namespace kelvane
