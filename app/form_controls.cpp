#include "app/form_controls.h"

namespace form_controls {

void Place(TQxWin* e, int left, int top, int width, int height, Joining joining) {
  e->Left = left;
  e->Top = top;
  e->Width = width;
  e->Height = height;
  e->Align = 0;
  e->ParentFont = 0;
  e->Visible = 1;
  e->Enabled = 1;
  e->Cursor = 0;
  e->EdgeStyle = 0;
  e->TabOrder = joining.TabOrder;
  if (joining.Hint != nullptr) e->Hint = joining.Hint;
}

void Dress(TQxWin* e, std::int32_t color, const TFontRec& font, std::uint8_t ctl3D) {
  e->Color = color;
  e->Font = font;
  e->Ctl3D = ctl3D;
}

TQxButton* MakeButton(TControl* parent, int left, int top, int width, int height, std::uint8_t fontSize,
                      const char* caption, Joining joining) {
  auto* button = new TQxButton(parent);
  Place(button, left, top, width, height, joining);
  button->Font = MakeFontRec("Arial", fontSize, 3, kDarkBlue, 204);
  button->Ctl3D = 0;
  button->Flat = 0;
  button->Default = 0;
  button->Caption = caption;
  button->Init();
  return button;
}

TQxLabel* MakeLabel(TControl* parent, const LabelRow& row, bool autoSize, Joining joining) {
  auto* label = new TQxLabel(parent);
  Place(label, row.Left, row.Top, row.Width, row.Height, joining);
  Dress(label, kFaceColor, MakeFontRec(row.FontName, row.Size, row.Style, kDarkBlue, row.CharSet), 1);
  label->Caption = row.Caption;
  label->Transparent = 0;
  label->HoverColor = 0;
  label->HoverUnderline = 0;
  label->SetAutoSize(autoSize ? 1 : 0);
  label->SetTextAlign(0);
  label->Init();
  return label;
}

}  // namespace form_controls
