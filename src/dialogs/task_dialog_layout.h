#pragma once
// Where every part of the emulated task dialog goes, in client pixels, computed from the
// prepared request and text sizes the caller measures in the dialog's font. The window is then
// built from these rectangles alone.

#include <optional>
#include <string>
#include <vector>

#include "dialogs/task_dialog.h"

namespace kelvane {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
  int width = 0;
  int height = 0;
};

enum class LayoutFont { Normal, Instruction };  // the instruction is bold and a little taller

// Text measurement in the dialog's fonts, supplied by the caller.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // Unwrapped size: the widest line and the height of all lines.
  virtual LayoutSize extent(const std::string& text, LayoutFont font) const = 0;
  // Height of the text word-wrapped to `width`.
  virtual int wrappedHeight(const std::string& text, LayoutFont font, int width) const = 0;
};

enum class LabelRole { Instruction, Content, Expanded };

struct LabelBox {
  LabelRole role;
  std::string text;
  LayoutRect rect;
};

struct ButtonBox {
  EmulationButton button;
  LayoutRect rect;
};

struct TaskDialogLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  std::optional<LayoutRect> mainIcon;
  std::vector<LabelBox> labels;
  std::vector<ButtonBox> buttons;  // creation order: right to left, row by row
  std::optional<LayoutRect> verification;
  std::optional<LayoutRect> separator;
  std::optional<LayoutRect> footerIcon;  // already at half the icon's natural size
  std::optional<LayoutRect> footerText;
};

// What the layout needs to know of the screen: the system icons' sizes as loaded (a zero size
// means no icon) and the dots per inch, by which the layout's distances, given at 96 dpi, grow.
struct TaskDialogMetrics {
  LayoutSize mainIcon;
  LayoutSize footerIcon;  // natural size; the footer draws it at half
  int dpi = 96;
};

// `buttons` is normally EmulationButtons(dialog); passing them separately lets a layout without
// any button row be asked for.
TaskDialogLayout LayoutTaskDialog(const PreparedTaskDialog& dialog, const std::vector<EmulationButton>& buttons,
                                  const TaskDialogMetrics& metrics, const TextMeasure& measure);

// Client widths of the emulation at 96 dpi.
constexpr int kNarrowClientWidth = 420;
constexpr int kWideClientWidth = 480;

}  // namespace kelvane
