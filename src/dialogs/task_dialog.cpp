#include "dialogs/task_dialog.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/ascii_text.h"
#include "common/language.h"

namespace kelvane {

namespace {

// Indexed by icon kind; kinds outside the table show no icon.
constexpr std::array<std::uint16_t, 7> kPlatformMainIcons = {17, 84, 99, 98, 81, 0, 78};
constexpr std::array<std::uint16_t, 6> kPlatformFooterIcons = {17, 84, 99, 98, 65533, 65532};
constexpr std::array<SystemIcon, 7> kEmulationMainIcons = {
    SystemIcon::None,     SystemIcon::Exclamation, SystemIcon::Question, SystemIcon::Hand,
    SystemIcon::Asterisk, SystemIcon::None,        SystemIcon::WinLogo};
constexpr std::array<SystemIcon, 6> kEmulationFooterIcons = {
    SystemIcon::None, SystemIcon::Exclamation, SystemIcon::Question,
    SystemIcon::Hand, SystemIcon::Asterisk,    SystemIcon::WinLogo};

// U+FDD0 and U+FDD1 in UTF-8: noncharacters, never text a user or a file name means to show.
constexpr std::string_view kVerbatimStart = "\xEF\xB7\x90";
constexpr std::string_view kVerbatimEnd = "\xEF\xB7\x91";

template <typename T, std::size_t N>
T lookup(const std::array<T, N>& table, int kind, T absent) {
  if (kind < 0 || static_cast<std::size_t>(kind) >= N) return absent;
  return table[static_cast<std::size_t>(kind)];
}

std::string withoutAmpersands(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

bool isCancelCaption(const std::string& caption) {
  return equalsIgnoringAsciiCase(caption, "cancel");
}

struct CommonButtonFace {
  TaskDialogCommonButton bit;
  int result;
  TextId caption;
};

// Placement order from the right edge.
constexpr std::array<CommonButtonFace, 6> kCommonFaces = {{
    {tcbClose, 3, TextId::ButtonClose},
    {tcbRetry, 4, TextId::ButtonRetry},
    {tcbCancel, 2, TextId::ButtonCancel},
    {tcbNo, 7, TextId::ButtonNo},
    {tcbYes, 6, TextId::ButtonYes},
    {tcbOk, 1, TextId::ButtonOk},
}};

}  // namespace

std::uint16_t PlatformMainIconId(int kind) { return lookup(kPlatformMainIcons, kind, std::uint16_t{0}); }
std::uint16_t PlatformFooterIconId(int kind) { return lookup(kPlatformFooterIcons, kind, std::uint16_t{0}); }
SystemIcon EmulationMainIcon(int kind) { return lookup(kEmulationMainIcons, kind, SystemIcon::None); }
SystemIcon EmulationFooterIcon(int kind) { return lookup(kEmulationFooterIcons, kind, SystemIcon::None); }

std::string ExpandLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool verbatim = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, kVerbatimStart.size(), kVerbatimStart) == 0) {
      verbatim = true;
      i += kVerbatimStart.size() - 1;
    } else if (text.compare(i, kVerbatimEnd.size(), kVerbatimEnd) == 0) {
      verbatim = false;
      i += kVerbatimEnd.size() - 1;
    } else if (!verbatim && text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string VerbatimText(const std::string& data) {
  std::string out(kVerbatimStart);
  out.reserve(data.size() + 2 * kVerbatimStart.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data.compare(i, kVerbatimStart.size(), kVerbatimStart) == 0 ||
        data.compare(i, kVerbatimEnd.size(), kVerbatimEnd) == 0) {
      i += kVerbatimStart.size() - 1;
      continue;
    }
    out += data[i];
  }
  out += kVerbatimEnd;
  return out;
}

std::vector<CustomButton> SplitButtonCaptions(const std::string& captions) {
  std::vector<CustomButton> buttons;
  int line = 0;
  std::size_t start = 0;
  while (start <= captions.size()) {
    std::size_t end = captions.find('\n', start);
    if (end == std::string::npos) end = captions.size();
    std::size_t stop = start;
    while (stop < end && static_cast<unsigned char>(captions[stop]) >= 32) ++stop;
    if (stop > start) buttons.push_back({kFirstCustomButtonId + line, captions.substr(start, stop - start)});
    ++line;
    start = end + 1;
  }
  return buttons;
}

PreparedTaskDialog PrepareTaskDialog(const TTaskDialog& request, TaskDialogCommonButtons commonButtons,
                                     int mainIcon, int footerIcon, const std::string& fallbackTitle) {
  PreparedTaskDialog d;
  d.windowTitle = ExpandLineBreaks(request.WindowTitle.empty() ? fallbackTitle : request.WindowTitle);
  d.mainInstruction = ExpandLineBreaks(request.MainInstruction);
  d.content = ExpandLineBreaks(request.Content);
  d.expandedText = ExpandLineBreaks(request.ExpandedText);
  d.expandLabel = ExpandLineBreaks(request.ExpandLabel);
  d.collapseLabel = ExpandLineBreaks(request.CollapseLabel);
  d.footerText = ExpandLineBreaks(request.FooterText);
  d.verificationText = ExpandLineBreaks(request.VerificationText);
  d.buttonCaptions = ExpandLineBreaks(request.ButtonCaptions);
  d.radioCaptions = ExpandLineBreaks(request.RadioCaptions);
  d.customButtons = SplitButtonCaptions(d.buttonCaptions);
  d.commonButtons = commonButtons & (tcbOk | tcbYes | tcbNo | tcbCancel | tcbRetry | tcbClose);
  // Captions made only of empty lines give no button either; without this the emulation would
  // show a dialog that only its close box can end.
  if (d.commonButtons == 0 && d.customButtons.empty()) {
    d.commonButtons = tcbOk;
    d.defaultButton = 1;
  }
  d.verificationChecked = !d.verificationText.empty() && request.VerificationChecked != 0;
  d.mainIcon = mainIcon;
  d.footerIcon = footerIcon;
  return d;
}

bool NeedsEmulation(const TTaskDialog& request) {
  return !request.SelectionItems.empty() || !request.QueryText.empty();
}

std::vector<EmulationButton> EmulationButtons(const PreparedTaskDialog& dialog) {
  std::vector<EmulationButton> buttons;
  for (auto it = dialog.customButtons.rbegin(); it != dialog.customButtons.rend(); ++it) {
    EmulationButton b{it->id, withoutAmpersands(it->caption), false, false};
    b.isCancel = isCancelCaption(b.caption);
    buttons.push_back(std::move(b));
  }
  for (const auto& face : kCommonFaces) {
    if ((dialog.commonButtons & face.bit) == 0) continue;
    EmulationButton b{face.result, withoutAmpersands(tr(face.caption)), face.result == 1, false};
    b.isCancel = face.result == 2 || face.result == 7 || (face.result == 1 && dialog.commonButtons == tcbOk) ||
                 isCancelCaption(b.caption);
    buttons.push_back(std::move(b));
  }
  return buttons;
}

int EmulationEscapeResult(const std::vector<EmulationButton>& buttons) {
  for (const auto& b : buttons)
    if (b.isCancel) return b.id;
  return 0;
}

}  // namespace kelvane
