#include "actions/hotkey_registry_win.h"

#include <algorithm>

#include "actions/hotkey_value.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

constexpr wchar_t kWindowClass[] = L"TKelvaneHotKeyRegistry";

}  // namespace

THotKeyRegistry::THotKeyRegistry() {
  registerWindowClass(kWindowClass);
  // A message-only window: it receives WM_HOTKEY but is never among the top-level windows that
  // other programs (and our own release walk) enumerate.
  createWindow(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

THotKeyRegistry::~THotKeyRegistry() {
  UnregisterAll();
  destroyWindow();
}

std::uint16_t THotKeyRegistry::RegisterCombination(std::uint32_t value) {
  const HotKeyParts parts = SplitHotKey(value);
  const ATOM atom = GlobalAddAtomW(toWide(HotKeyAtomName(value)).c_str());
  if (atom == 0) return 0;
  if (!hwnd_ || !RegisterHotKey(hwnd_, atom, parts.modifiers, parts.virtualKey)) {
    GlobalDeleteAtom(atom);
    return 0;
  }
  registrations_.push_back({value, atom, false});
  return atom;
}

bool THotKeyRegistry::unregister(Registration& registration) {
  const bool ok = UnregisterHotKey(hwnd_, registration.atom) != FALSE;
  if (!registration.atomDeleted) {
    GlobalDeleteAtom(registration.atom);
    registration.atomDeleted = true;
  }
  return ok;
}

bool THotKeyRegistry::UnregisterCombination(std::uint16_t identifier) {
  const auto it = std::find_if(registrations_.begin(), registrations_.end(),
                               [identifier](const Registration& r) { return r.atom == identifier; });
  if (it == registrations_.end()) return false;
  const bool ok = unregister(*it);
  if (ok) registrations_.erase(it);
  return ok;
}

void THotKeyRegistry::UnregisterAll() {
  while (!registrations_.empty()) {
    unregister(registrations_.back());
    registrations_.pop_back();
  }
}

void THotKeyRegistry::onHotKey(WPARAM wParam, LPARAM lParam) {
  if (!OnHotKeyPressed) return;
  const std::uint32_t value = HotKeyFromMessage(static_cast<std::uint32_t>(lParam));
  const bool known = std::any_of(registrations_.begin(), registrations_.end(),
                                 [value](const Registration& r) { return r.value == value; });
  if (known) OnHotKeyPressed(value, static_cast<std::uint16_t>(wParam & 0xFFFF));
}

LRESULT THotKeyRegistry::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) onHotKey(wParam, lParam);
  return defaultProc(message, wParam, lParam);
}

}  // namespace kelvane
