#include "actions/hotkey_registry_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "actions/hotkey_value.h"
#include "actions/refresh_hotkey_win.h"
#include "common/text_win.h"
#include "fake_form_services.h"

using namespace kelvane;
using kelvane::testing::pumpMessages;

namespace {

struct Pressed {
  std::uint32_t value;
  std::uint16_t index;
};

// Nobody promises that a given combination is free on the test desktop: take the first one of
// a few unlikely ones that registers.
std::optional<std::uint32_t> registerSomeCombination(THotKeyRegistry& registry, std::uint16_t& atom) {
  for (std::uint32_t key = 0x70; key <= 0x7B; ++key) {  // F1..F12
    const std::uint32_t value = kHotKeyShift | kHotKeyCtrl | kHotKeyAlt | key;
    atom = registry.RegisterCombination(value);
    if (atom != 0) return value;
  }
  return std::nullopt;
}

std::wstring atomName(std::uint16_t atom) {
  wchar_t buffer[256];
  const UINT length = GlobalGetAtomNameW(atom, buffer, 256);
  return std::wstring(buffer, length);
}

LPARAM hotKeyLParam(std::uint32_t value) {
  const HotKeyParts parts = SplitHotKey(value);
  return static_cast<LPARAM>(MAKELPARAM(parts.modifiers, parts.virtualKey));
}

HWND registryWindowOf(THotKeyRegistry& registry) { return registry.hwnd(); }

}  // namespace

TEST(HotKeyRegistry, RegistersUnderANamedAtomAndRefusesDuplicates) {
  THotKeyRegistry registry;
  ASSERT_NE(registryWindowOf(registry), nullptr);
  std::uint16_t atom = 0;
  const auto value = registerSomeCombination(registry, atom);
  ASSERT_TRUE(value.has_value()) << "no free Shift+Ctrl+Alt+F key on this desktop";
  EXPECT_EQ(toUtf8(atomName(atom)), HotKeyAtomName(*value));
  EXPECT_EQ(registry.Count(), 1u);

  // The same combination again fails and keeps nothing; the first registration is untouched.
  EXPECT_EQ(registry.RegisterCombination(*value), 0);
  EXPECT_EQ(registry.Count(), 1u);
  EXPECT_EQ(toUtf8(atomName(atom)), HotKeyAtomName(*value));

  // A second registry (as a second program would) cannot take it either, until it is given up.
  THotKeyRegistry other;
  EXPECT_EQ(other.RegisterCombination(*value), 0);
  EXPECT_TRUE(registry.UnregisterCombination(atom));
  EXPECT_EQ(registry.Count(), 0u);
  EXPECT_FALSE(registry.UnregisterCombination(atom));  // already gone
  const std::uint16_t taken = other.RegisterCombination(*value);
  EXPECT_NE(taken, 0);

  // UnregisterAll frees every combination, last first.
  other.UnregisterAll();
  EXPECT_EQ(other.Count(), 0u);
  EXPECT_NE(registry.RegisterCombination(*value), 0);
}

TEST(HotKeyRegistry, HotKeyMessagesRaiseTheEventOnlyForRegisteredValues) {
  THotKeyRegistry registry;
  std::vector<Pressed> pressed;
  registry.OnHotKeyPressed = [&](std::uint32_t value, std::uint16_t index) {
    pressed.push_back({value, index});
  };
  std::uint16_t atom = 0;
  const auto value = registerSomeCombination(registry, atom);
  ASSERT_TRUE(value.has_value());

  SendMessageW(registry.hwnd(), WM_HOTKEY, atom, hotKeyLParam(*value));
  ASSERT_EQ(pressed.size(), 1u);
  EXPECT_EQ(pressed[0].value, *value);
  EXPECT_EQ(pressed[0].index, atom);

  // A combination that is not in the list raises nothing.
  SendMessageW(registry.hwnd(), WM_HOTKEY, atom, hotKeyLParam(kHotKeyAlt | 'Q'));
  EXPECT_EQ(pressed.size(), 1u);

  // The keys really pressed reach the registry through the system.
  const HotKeyParts parts = SplitHotKey(*value);
  std::vector<INPUT> keys;
  auto key = [&keys](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  key(VK_SHIFT, false); key(VK_CONTROL, false); key(VK_MENU, false);
  key(static_cast<WORD>(parts.virtualKey), false); key(static_cast<WORD>(parts.virtualKey), true);
  key(VK_MENU, true); key(VK_CONTROL, true); key(VK_SHIFT, true);
  ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
  pumpMessages(1500);
  ASSERT_EQ(pressed.size(), 2u);
  EXPECT_EQ(pressed[1].value, *value);

  // Once unregistered, the combination is no longer ours.
  registry.UnregisterAll();
  SendMessageW(registry.hwnd(), WM_HOTKEY, atom, hotKeyLParam(*value));
  EXPECT_EQ(pressed.size(), 2u);
}

TEST(HotKeyRegistry, ApplyRefreshHotkeyReplacesTheCombinationAndNamesIt) {
  THotKeyRegistry registry;
  std::uint16_t atom = 0;
  const auto first = registerSomeCombination(registry, atom);
  ASSERT_TRUE(first.has_value());
  registry.UnregisterAll();

  // Alt+... F keys with all three modifiers; the menu shows them in Shift, Ctrl, Alt order.
  EXPECT_EQ(ApplyRefreshHotkey(registry, *first),
            "Shift+Ctrl+Alt+F" + std::to_string(*first - (kHotKeyShift | kHotKeyCtrl | kHotKeyAlt) - 0x6F));
  EXPECT_EQ(registry.Count(), 1u);
  // Applying again first gives up the old registration, so the same value registers again.
  EXPECT_NE(ApplyRefreshHotkey(registry, *first), "");
  EXPECT_EQ(registry.Count(), 1u);

  // 0 is "no hot key": no shortcut text and no registration.
  EXPECT_EQ(ApplyRefreshHotkey(registry, 0), "");
  EXPECT_EQ(registry.Count(), 0u);
  THotKeyRegistry other;
  EXPECT_NE(other.RegisterCombination(*first), 0) << "the old combination was not given up";
}
