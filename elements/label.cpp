// TQxLabel: the label control, its automatic sizing and alignment, and the hover effects.
#include "elements/label.h"

namespace {

void ClickProc(void* data, TObj*) { FireEmpty(static_cast<TQxLabel*>(data)->outClick); }

}  // namespace

TQxLabel::TQxLabel(TControl* parentControl) : TQxWin(parentControl) {
  Control = CreateLabel(parentControl, {});
  Control->SetOnClick({&ClickProc, this});
}

void TQxLabel::SetAutoSize(std::uint8_t on) { Control->SetAutoSize(on != 0); }

void TQxLabel::SetTextAlign(std::int32_t align) { Control->SetTextAlign(align); }

void TQxLabel::Init() {
  CommonInit();
  Control->SetCaption(Caption.view());
  if (HoverColor != 0 || HoverUnderline != 0) InstallHover();
}

void TQxLabel::DoMouseEnter() {
  TQxWin::DoMouseEnter();
  if (Control == nullptr) return;
  TGraphicTool* font = Control->GetFont();
  if (HoverColor != 0) font->SetColor(HoverColor);
  if (HoverUnderline != 0) font->SetFontStyle(font->FontStyle() | TGraphicTool::StyleUnderline);
}

void TQxLabel::DoMouseLeave() {
  TQxWin::DoMouseLeave();
  if (Control == nullptr) return;
  TGraphicTool* font = Control->GetFont();
  if (HoverColor != 0) font->SetColor(Font.Color);
  if (HoverUnderline != 0)
    font->SetFontStyle(font->FontStyle() & static_cast<std::uint8_t>(~TGraphicTool::StyleUnderline));
}
