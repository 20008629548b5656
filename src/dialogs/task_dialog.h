#pragma once
// The request every question and notice is put in, and the rules that turn it into the buttons
// and texts either dialog path shows: the platform's task dialog or our own window.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// The request. Texts are UTF-8; an empty text means the element is absent. The caller owns it;
// the dialog reads the texts and writes the result fields.
struct TTaskDialog {
  std::string WindowTitle;
  std::string MainInstruction;
  std::string Content;
  std::string ButtonCaptions;  // one caption per line; line n answers 100 + n
  std::string RadioCaptions;   // one per line, 200 + n
  std::string ExpandedText;
  std::string ExpandLabel;
  std::string CollapseLabel;
  std::string FooterText;
  std::string VerificationText;  // caption of the check box; empty: no check box
  std::string SelectionItems;
  std::string QueryText;
  std::int32_t RadioResult = 0;
  std::int32_t SelectionResult = 0;
  std::int32_t VerificationChecked = 0;  // in: initial state; out: state when it closed
};

// Common buttons, as the bits of the platform's common-buttons word.
enum TaskDialogCommonButton : std::uint32_t {
  tcbOk = 1,
  tcbYes = 2,
  tcbNo = 4,
  tcbCancel = 8,
  tcbRetry = 16,
  tcbClose = 32,
};
using TaskDialogCommonButtons = std::uint32_t;

constexpr int kFirstCustomButtonId = 100;

// Main icon kinds 0..6 and footer icon kinds 0..5.
enum class TaskDialogIcon { Blank = 0, Warning, Question, Error, Information, None, Shield };

// The system icon the emulation draws for an icon kind.
enum class SystemIcon { None, Exclamation, Question, Hand, Asterisk, WinLogo };

// Resource identifiers the platform dialog is given (no module): 0 = no icon.
std::uint16_t PlatformMainIconId(int kind);
std::uint16_t PlatformFooterIconId(int kind);
SystemIcon EmulationMainIcon(int kind);
SystemIcon EmulationFooterIcon(int kind);

// Every text passes through this before it is shown: backslash + 'n' becomes a line feed,
// except inside the stretches that VerbatimText marked, which are copied as they are (and lose
// their marks).
std::string ExpandLineBreaks(const std::string& text);

// Marks data that a caller puts into one of its texts (a path, a file or process name) so that
// it is shown exactly as it is: the line-break convention is for the program's own words, and
// "C:\Users\nina" must not break after "Users". The marks are two Unicode noncharacters,
// which are reserved for a program's internal use; any the data itself holds are dropped.
std::string VerbatimText(const std::string& data);

struct CustomButton {
  int id = 0;
  std::string caption;
};

// One custom button per line. A caption ends at its first control character (so CR LF line
// ends and stray tabs do not reach the screen); lines left empty give no button but keep their
// number, so a caption always answers 100 + its line.
std::vector<CustomButton> SplitButtonCaptions(const std::string& captions);

// What both paths show, after the preparation rules.
struct PreparedTaskDialog {
  std::string windowTitle;
  std::string mainInstruction;
  std::string content;
  std::string expandedText;
  std::string expandLabel;
  std::string collapseLabel;
  std::string footerText;
  std::string verificationText;
  std::string buttonCaptions;  // as given, after the text convention; its length widens the emulation
  std::string radioCaptions;
  std::vector<CustomButton> customButtons;
  TaskDialogCommonButtons commonButtons = 0;
  int defaultButton = 0;  // 0: the platform's first button; 1 when OK was added
  bool verificationChecked = false;
  int mainIcon = 0;
  int footerIcon = 0;
};

// Applies the text convention to every text, adds OK when nothing else would end the dialog,
// and fills an empty title with `fallbackTitle` (the main window's caption or the
// application's title, which only the caller knows).
PreparedTaskDialog PrepareTaskDialog(const TTaskDialog& request, TaskDialogCommonButtons commonButtons,
                                     int mainIcon, int footerIcon, const std::string& fallbackTitle);

// The platform dialog has no pick list or editable text, so such a request goes to the emulation.
bool NeedsEmulation(const TTaskDialog& request);

// A button of the emulation, in creation order (right to left, see EmulationButtons).
struct EmulationButton {
  int id = 0;
  std::string caption;  // ampersands removed
  bool isDefault = false;
  bool isCancel = false;  // Escape presses it
};

// The emulation's buttons in the order they are placed from the right edge: the custom buttons
// from the last to the first, then Close, Retry, Cancel, No, Yes, OK. Common buttons answer
// OK 1, Yes 6, No 7, Cancel 2, Retry 4, Close 3.
std::vector<EmulationButton> EmulationButtons(const PreparedTaskDialog& dialog);

// The identifier Escape answers with, or 0 when Escape does nothing: the first button in
// creation order that is marked for Escape.
int EmulationEscapeResult(const std::vector<EmulationButton>& buttons);

}  // namespace kelvane
