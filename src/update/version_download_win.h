#pragma once
// The version file's download, on a worker thread of its own, so that a slow or silent server
// never holds up the user interface. The result reaches the window as a posted message.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace kelvane {

class TVInfoDownload {
 public:
  // Starts fetching `address` (an http or https address; anything else fails at once); when it
  // is done, `doneMessage` is posted to `window`, which then reads result().
  TVInfoDownload(const std::string& address, HWND window, UINT doneMessage);
  // A download still running is abandoned: nothing is posted any more, the connection is
  // closed, and the worker is given a moment to end; it never touches this object.
  ~TVInfoDownload();
  TVInfoDownload(const TVInfoDownload&) = delete;
  TVInfoDownload& operator=(const TVInfoDownload&) = delete;

  // The file as UTF-8 text once the message arrived; nothing when the download failed (no
  // connection, an answer other than 200, a body over kVersionFileLimit).
  std::optional<std::string> result() const;

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  HANDLE thread_ = nullptr;
};

}  // namespace kelvane
