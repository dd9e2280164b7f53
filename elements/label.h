// TQxLabel: a line of text in a "STATIC" control, made at construction, that reports clicks and
// can change its text colour or underline while the pointer is over it. Must never install the
// pointer notifications unless a hover effect asks for them.
#pragma once

#include <cstdint>

#include "elements/win.h"

class TQxLabel : public TQxWin {
 public:
  TQx_Event outClick;
  std::int32_t HoverColor = 0;  // 0: no effect
  std::uint8_t HoverUnderline = 0;
  ByteString Caption;

  explicit TQxLabel(TControl* parentControl);

  // Act on the control at once; the application calls them right after construction.
  void SetAutoSize(std::uint8_t on);
  void SetTextAlign(std::int32_t align);  // 0 left, 1 right, 2 centred

  void Init() override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
};
