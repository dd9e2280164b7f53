// The look the editor's own controls share: the form's colours, placing a control, and the bold
// italic Arial button and the plain label that the designed form and the workbench both make.
// Sets constant properties only; links and layout tables stay with the form that owns the control.
#pragma once

#include <cstdint>

#include "elements/button.h"
#include "elements/label.h"

namespace form_controls {

inline constexpr std::int32_t kFaceColor = ElementSystemColor(COLOR_BTNFACE);
inline constexpr std::int32_t kWindowColor = ElementSystemColor(COLOR_WINDOW);
inline constexpr std::int32_t kDarkBlue = 0x800000;

struct LabelRow {
  int Left, Top, Width, Height;
  const char* FontName;
  std::uint8_t Size, Style, CharSet;
  const char* Caption;
};

// How a control joins the form: its tab order (-1: out of it) and its hint (none when null).
struct Joining {
  std::int32_t TabOrder = 0;
  const char* Hint = nullptr;
};

// Position and size, visible and enabled, no alignment, edge or cursor of its own.
void Place(TQxWin* e, int left, int top, int width, int height, Joining joining = {});

// Colour, font and 3-D look, as the designed elements set them before Init.
void Dress(TQxWin* e, std::int32_t color, const TFontRec& font, std::uint8_t ctl3D);

// A new control of class T, placed and dressed; the caller sets the rest of its own properties.
template <class T>
T* NewDressed(TControl* parent, int left, int top, int width, int height, std::int32_t color,
              const TFontRec& font, std::uint8_t ctl3D, Joining joining = {}) {
  auto* e = new T(parent);
  Place(e, left, top, width, height, joining);
  Dress(e, color, font, ctl3D);
  return e;
}

TQxButton* MakeButton(TControl* parent, int left, int top, int width, int height, std::uint8_t fontSize,
                      const char* caption, Joining joining = {});

TQxLabel* MakeLabel(TControl* parent, const LabelRow& row, bool autoSize, Joining joining = {});

}  // namespace form_controls
