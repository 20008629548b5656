#pragma once
// THotKeyRegistry: system-wide key combinations registered for a hidden window of its own.
// Each registration is identified by a global atom named after its value, so that the
// identifier does not collide with those of other programs.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "common/window_win.h"

namespace kelvane {

using TOnHotKeyPressed = std::function<void(std::uint32_t HotKey, std::uint16_t Index)>;

class THotKeyRegistry : public WindowBase<THotKeyRegistry> {
 public:
  THotKeyRegistry();
  ~THotKeyRegistry();
  THotKeyRegistry(const THotKeyRegistry&) = delete;
  THotKeyRegistry& operator=(const THotKeyRegistry&) = delete;

  // The identifier (the atom) of the new registration, or 0 when the combination is taken or
  // cannot be registered; nothing is kept then.
  std::uint16_t RegisterCombination(std::uint32_t value);
  // Unregisters one registration by its identifier; it is forgotten only when that succeeds.
  bool UnregisterCombination(std::uint16_t identifier);
  // Removes every registration, last first, whatever the single results.
  void UnregisterAll();

  std::size_t Count() const { return registrations_.size(); }

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  TOnHotKeyPressed OnHotKeyPressed;

 private:
  struct Registration {
    std::uint32_t value;
    ATOM atom;
    bool atomDeleted;
  };

  void onHotKey(WPARAM wParam, LPARAM lParam);
  bool unregister(Registration& registration);

  std::vector<Registration> registrations_;
};

}  // namespace kelvane
