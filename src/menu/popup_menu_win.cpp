#include "menu/popup_menu_win.h"

#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "common/dpi_win.h"
#include "common/language.h"
#include "common/visual_theme_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

constexpr const wchar_t* kOwnerClassName = L"KelvaneTrayMenuOwner";
constexpr int kThemeTextColor = 3803;  // TMT_TEXTCOLOR
// Posted from the mnemonic answer to look whether the selection went where it was told.
constexpr UINT kFollowKeySelection = WM_APP + 1;

// The menu this thread tracks, for the message filter; one at a time, as the system allows.
TPopupMenu* trackedMenu = nullptr;

struct HookDeleter {
  static HHOOK invalid() { return nullptr; }
  static void free(HHOOK h) { UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueHandle<HHOOK, HookDeleter>;

LOGFONTW menuFontFor(int dpi) {
  static const auto parametersForDpi =
      user32Function<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!parametersForDpi || !parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return metrics.lfMenuFont;
}

bool isEnterKey(const MSG& message) {
  return (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) ||
         (message.message == WM_CHAR && message.wParam == L'\r');
}

std::wstring windowsFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  std::wstring folder(buffer, length < MAX_PATH ? length : 0);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

// The icon at `index` of a file, `size` pixels square; none when the file gives none.
UniqueIcon extractIcon(const std::wstring& file, int index, int size) {
  HICON extracted = nullptr;
  const HRESULT result = SHDefExtractIconW(file.c_str(), index, 0, &extracted, nullptr,
                                           static_cast<UINT>(MAKELONG(size, size)));
  UniqueIcon icon(extracted);
  if (result != S_OK) icon.reset();
  return icon;
}

RECT toRect(const MenuRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

TPopupMenu::TPopupMenu(HWND owner, bool vistaOrLater) : vistaOrLater_(vistaOrLater) {
  registerWindowClass(kOwnerClassName);
  createWindow(WS_EX_TOOLWINDOW | WS_EX_LAYERED, kOwnerClassName, L"", WS_POPUP, 0, 0, 1, 1, owner);
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoMenuWindow));
  SetLayeredWindowAttributes(hwnd_, 0, 0, LWA_ALPHA);  // fully transparent
}

TPopupMenu::~TPopupMenu() {
  destroyWindow();
}

void TPopupMenu::loadSharedResources(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  iconSize_ = metricForDpi(SM_CXSMICON, dpi);
  const std::wstring folder = windowsFolder();
  DefaultProcessIcon = vistaOrLater_ ? extractIcon(folder + L"System32\\User32.dll", 0, iconSize_)
                                     : extractIcon(folder + L"System32\\Shell32.dll", 2, iconSize_);
  TaskManagerIcon = extractIcon(folder + L"System32\\taskmgr.exe", 0, iconSize_);

  LOGFONTW font = menuFontFor(dpi);
  menuFont_.reset(CreateFontIndirectW(&font));
  font.lfWeight = FW_BOLD;
  boldMenuFont_.reset(CreateFontIndirectW(&font));
}

std::optional<Command> TPopupMenu::Popup(const std::vector<MenuEntry>& entries, POINT at,
                                         TColor processHighlight) {
  // The owner goes to the menu's corner first, so that it is on the screen whose DPI the menu
  // takes.
  SetWindowPos(hwnd_, nullptr, at.x, at.y, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
  loadSharedResources(windowDpi(hwnd_));
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return std::nullopt;
  processIcons_.clear();
  processIcons_.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& entry = entries[i];
    if (const ProcessItem* process = entry.process(); process && !process->path.empty())
      processIcons_[i] = extractIcon(toWide(process->path), 0, iconSize_);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    item.fType = MFT_OWNERDRAW | (entry.isSeparator() ? MFT_SEPARATOR : 0u);
    item.fState = (entry.enabled ? 0u : MFS_DISABLED) | (entry.isDefault ? MFS_DEFAULT : 0u);
    item.wID = static_cast<UINT>(i + 1);
    item.dwItemData = i;
    InsertMenuItemW(menu.get(), static_cast<UINT>(i), TRUE, &item);
  }

  menu_ = menu.get();
  entries_ = &entries;
  processHighlight_ = processHighlight;
  // The menu theme class, for this showing only.
  const VisualTheme theme(hwnd_, L"MENU");
  theme_ = &theme;
  // A notification-area menu takes the keyboard, and closes on Escape or a click elsewhere,
  // only while its owner is the foreground window; without the WM_NULL afterwards a second
  // click on the icon would be swallowed. The owner is shown while the menu is up: Wine makes a
  // hidden window the foreground one, but the keys typed on the display do not follow it.
  SetWindowPos(hwnd_, HWND_TOPMOST, at.x, at.y, 1, 1, SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd_);
  trackedMenu = this;
  const UniqueHook filter(SetWindowsHookExW(WH_MSGFILTER, filterMenuMessage, nullptr, GetCurrentThreadId()));
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
  trackedMenu = nullptr;
  ShowWindow(hwnd_, SW_HIDE);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  theme_ = nullptr;
  menu_ = nullptr;
  entries_ = nullptr;
  processIcons_.clear();
  if (chosen == 0 || chosen > entries.size()) return std::nullopt;
  return entries[chosen - 1].command;
}

LRESULT TPopupMenu::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MENUCHAR:
      return onMenuChar(wParam, lParam);
    case kFollowKeySelection:
      followKeySelection(wParam);
      return 0;
    default:
      return defaultProc(message, wParam, lParam);
  }
}

HFONT TPopupMenu::fontFor(const MenuEntry& entry) const {
  return entry.isDefault ? boldMenuFont_.get() : menuFont_.get();
}

void TPopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU || !entries_ || measure.itemData >= entries_->size()) return;
  const MenuEntry& entry = (*entries_)[measure.itemData];
  int textWidth = 0;
  if (!entry.isSeparator()) {
    const ScreenDc screen;
    const SelectObjectScope select(screen.get(), fontFor(entry));
    const std::wstring caption = toWide(entry.caption);
    RECT extent{0, 0, 0, 0};
    DrawTextW(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &extent,
              TextFlagsFor(entry, kMeasureTextFlags));
    textWidth = extent.right - extent.left;
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), L"AA", 2, &size);
    MenuLineHeight = size.cy;
  }
  const MenuItemSize size =
      MeasureMenuEntry(entry, textWidth, MenuLineHeight, static_cast<int>(measure.itemWidth), dpi_);
  measure.itemWidth = static_cast<UINT>(size.width);
  measure.itemHeight = static_cast<UINT>(size.height);
}

COLORREF TPopupMenu::colorOf(MenuColor color, bool selected) const {
  switch (color) {
    case MenuColor::Menu: return GetSysColor(COLOR_MENU);
    case MenuColor::MenuText: return GetSysColor(COLOR_MENUTEXT);
    case MenuColor::Highlight: return GetSysColor(COLOR_HIGHLIGHT);
    case MenuColor::HighlightText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case MenuColor::BtnShadow: return GetSysColor(COLOR_BTNSHADOW);
    case MenuColor::BtnHighlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case MenuColor::ProcessHighlight: return static_cast<COLORREF>(processHighlight_);
    case MenuColor::ThemeHotText: {
      const auto themed = theme_ ? theme_->color(kMenuPopupItem, selected ? kMenuStateHot : kMenuStateNormal,
                                                 kThemeTextColor)
                                 : std::nullopt;
      return themed.value_or(GetSysColor(COLOR_MENUTEXT));
    }
  }
  return GetSysColor(COLOR_MENUTEXT);
}

void TPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU || !entries_ || draw.itemData >= entries_->size()) return;
  const std::size_t index = draw.itemData;
  const MenuEntry& entry = (*entries_)[index];
  const HDC dc = draw.hDC;

  MenuDrawContext context;
  context.rect = MenuRect{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.bottom};
  context.selected = (draw.itemState & ODS_SELECTED) != 0;
  context.themed = theme_ && theme_->active();
  context.vistaOrLater = vistaOrLater_;
  context.dpi = dpi_;
  context.iconSize = iconSize_;
  context.menuLineHeight = MenuLineHeight;
  const SelectObjectScope select(dc, fontFor(entry));
  const auto widthOf = [dc](const std::string& text) {
    if (text.empty()) return 0;
    const std::wstring wide = toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  };
  context.valueTextWidth = widthOf(entry.valueText);
  context.shortcutTextWidth = widthOf(entry.shortcutText);
  const MenuDrawPlan plan = PlanMenuEntry(entry, context);

  for (const MenuDrawStep& step : plan.steps) {
    const RECT rect = toRect(step.rect);
    switch (step.kind) {
      case MenuDrawStep::Kind::ThemePart:
        if (context.themed) theme_->drawBackground(dc, step.part, step.state, rect);
        break;
      case MenuDrawStep::Kind::Fill: {
        const UniqueHandle<HGDIOBJ, GdiDeleter> brush(CreateSolidBrush(colorOf(step.color, context.selected)));
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
        break;
      }
      case MenuDrawStep::Kind::Frame: {
        const UniqueHandle<HGDIOBJ, GdiDeleter> brush(CreateSolidBrush(colorOf(step.color, context.selected)));
        FrameRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
        break;
      }
      case MenuDrawStep::Kind::Line: {
        const UniqueHandle<HGDIOBJ, GdiDeleter> pen(CreatePen(PS_SOLID, 1, colorOf(step.color, false)));
        const SelectObjectScope selectPen(dc, pen.get());
        MoveToEx(dc, rect.left, rect.top, nullptr);
        LineTo(dc, rect.right, rect.top);
        break;
      }
    }
  }
  if (plan.separatorOnly) return;

  HICON icon = nullptr;
  if (plan.icon == MenuIcon::TaskManager) icon = TaskManagerIcon.get();
  if (plan.icon == MenuIcon::Process)
    icon = processIcons_[index] ? processIcons_[index].get() : DefaultProcessIcon.get();
  if (icon) DrawIconEx(dc, plan.iconX, plan.iconY, icon, plan.iconSize, plan.iconSize, 0, nullptr, DI_NORMAL);

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colorOf(plan.textColor, context.selected));
  for (const MenuTextDraw& text : plan.texts) {
    const std::wstring wide = toWide(text.text);
    RECT rect = toRect(text.rect);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, text.flags);
  }
}

LRESULT TPopupMenu::onMenuChar(WPARAM wParam, LPARAM) {
  const wchar_t key = static_cast<wchar_t>(LOWORD(wParam));
  if (!entries_ || key > 0x7F) return MAKELRESULT(0, MNC_IGNORE);
  const auto choice = ChooseByMnemonic(*entries_, static_cast<char>(key), selectedEntry());
  if (!choice) return MAKELRESULT(0, MNC_IGNORE);
  if (choice->action == MenuKeyChoice::Action::Execute) return MAKELRESULT(choice->index, MNC_EXECUTE);
  PostMessageW(hwnd_, kFollowKeySelection, choice->index, 0);
  return MAKELRESULT(choice->index, MNC_SELECT);
}

// Some menu implementations (Wine's among them) beep at MNC_SELECT and leave the selection
// where it was. The menu then gets the keys a user would press to walk there: Home, and Down
// past every entry but the separators.
void TPopupMenu::followKeySelection(std::size_t index) {
  if (!entries_ || index >= entries_->size() || selectedEntry() == index) return;
  PostMessageW(hwnd_, WM_KEYDOWN, VK_HOME, 0);
  for (std::size_t presses = DownPressesTo(*entries_, index); presses > 0; --presses)
    PostMessageW(hwnd_, WM_KEYDOWN, VK_DOWN, 0);
}

std::optional<std::size_t> TPopupMenu::selectedEntry() const {
  if (!menu_) return std::nullopt;
  const int count = GetMenuItemCount(menu_);
  for (int position = 0; position < count; ++position) {
    if (GetMenuState(menu_, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE)
      return static_cast<std::size_t>(position);
  }
  return std::nullopt;
}

// Enter on a line that cannot be chosen (a memory line) does nothing and leaves the menu open,
// wherever the system would close it.
LRESULT CALLBACK TPopupMenu::filterMenuMessage(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && trackedMenu && trackedMenu->entries_ && isEnterKey(*reinterpret_cast<const MSG*>(lParam))) {
    const auto selected = trackedMenu->selectedEntry();
    if (selected && *selected < trackedMenu->entries_->size() && !(*trackedMenu->entries_)[*selected].enabled)
      return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kelvane
