// TCanvas: lazy DC, tool selection remembered in SelectedState, and giving the DC back the way it
// came. Must never release or delete a DC it only borrowed, nor leave a tool's object selected in
// a DC it lets go of.
#include "platform/canvas.h"

#include <climits>

#include "platform/colors.h"
#include "platform/text_codec.h"

namespace {

struct StockObjects {
  HGDIOBJ Pen;
  HGDIOBJ Brush;
  HGDIOBJ Font;
};

const StockObjects& Stock() {
  static const StockObjects stock{GetStockObject(BLACK_PEN), GetStockObject(NULL_BRUSH),
                                  GetStockObject(SYSTEM_FONT)};
  return stock;
}

void FetchWindowDC(void* /*data*/, TCanvas* canvas) {
  if (canvas->Control == nullptr) return;
  HWND window = canvas->Control->CanvasWindow();
  if (window == nullptr) return;
  HDC dc = GetDC(window);
  if (dc != nullptr) canvas->SetHandle(dc, TDCRelease::ReleaseDC, window);
}

}  // namespace

void TCanvas::ToolChanged(void* data, TObj* /*tool*/) { static_cast<TCanvas*>(data)->DeselectTools(); }

TCanvas* TCanvas::CreateForControl(TCanvasHost* host, TGraphicTool* font, TGraphicTool* brush) {
  auto* canvas = new TCanvas();
  canvas->Control = host;
  canvas->OnGetHandle = {&FetchWindowDC, nullptr};
  if (font != nullptr) canvas->SetFont(font->Copy());
  if (brush != nullptr) canvas->SetBrush(brush->Copy());
  return canvas;
}

TCanvas* TCanvas::CreateForDC(HDC dc, TDCRelease release) {
  auto* canvas = new TCanvas();
  canvas->SetHandle(dc, release);
  return canvas;
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  for (TGraphicTool** slot : {&Pen, &Brush, &Font}) {
    if (*slot != nullptr) {
      (*slot)->OnChange = {};
      (*slot)->Free();
      *slot = nullptr;
    }
  }
}

void TCanvas::DeselectTools() {
  if (Handle != nullptr) {
    const StockObjects& stock = Stock();
    if ((ToolsSelected & PenValid) != 0) SelectObject(Handle, stock.Pen);
    if ((ToolsSelected & BrushValid) != 0) SelectObject(Handle, stock.Brush);
    if ((ToolsSelected & FontValid) != 0) SelectObject(Handle, stock.Font);
  }
  ToolsSelected = 0;
  SelectedState &= static_cast<std::uint8_t>(~(PenValid | BrushValid | FontValid));
}

void TCanvas::SetHandle(HDC dc, TDCRelease release, HWND window) {
  if (dc == Handle) return;
  if (Handle != nullptr) DeselectTools();
  SelectedState = 0;
  ToolsSelected = 0;
  HeldDC = TDC(dc, release, window);
  Handle = dc;
  if (dc != nullptr) {
    SelectedState = HandleValid;
    MoveToEx(dc, PenPos.x, PenPos.y, nullptr);
  }
}

void TCanvas::RequireState(std::uint8_t flags) {
  flags |= HandleValid;
  if ((flags & ~SelectedState) == 0) return;
  if (Handle == nullptr && OnGetHandle) OnGetHandle(this);
  if (Handle == nullptr) return;
  const std::uint8_t need = flags & static_cast<std::uint8_t>(~SelectedState);

  if ((need & FontValid) != 0) {
    if (Font != nullptr) {
      if (HGDIOBJ font = Font->GetHandle()) {
        SelectObject(Handle, font);
        ToolsSelected |= FontValid;
      }
      SetTextColor(Handle, ResolveColor(Font->Color()));
    } else if (Control != nullptr) {
      SetTextColor(Handle, ResolveColor(Control->CanvasTextColor()));
    }
  }
  if ((need & PenValid) != 0 && Pen != nullptr) {
    if (HGDIOBJ pen = Pen->GetHandle()) {
      SelectObject(Handle, pen);
      ToolsSelected |= PenValid;
    }
    SetROP2(Handle, Pen->Description.Pen.PenMode + 1);
  }
  if ((need & BrushValid) != 0) {
    if (Brush != nullptr) {
      if (HGDIOBJ brush = Brush->GetHandle()) {
        SelectObject(Handle, brush);
        ToolsSelected |= BrushValid;
      }
      const COLORREF color = ResolveColor(Brush->Color());
      if (Brush->IsHollowBrush()) {
        SetBkMode(Handle, TRANSPARENT);
        SetBkColor(Handle, ~color & 0x00FFFFFF);
      } else {
        SetBkMode(Handle, OPAQUE);
        SetBkColor(Handle, color);
      }
    } else if (Control != nullptr) {
      SetBkColor(Handle, ResolveColor(Control->CanvasColor()));
      SetBkMode(Handle, OPAQUE);
    }
  }
  SelectedState |= need;
}

void TCanvas::FillRect(const RECT& rect) {
  RequireState(HandleValid | BrushValid);
  if (Handle == nullptr) return;
  HBRUSH brush = nullptr;
  TOwnedBrush temporary;
  if (Brush != nullptr) {
    brush = Brush->GetBrushHandle();
  } else if (Control != nullptr) {
    if (TGraphicTool* tool = Control->CanvasBrushTool()) {
      brush = tool->GetBrushHandle();
    } else {
      temporary.Reset(CreateSolidBrush(ResolveColor(Control->CanvasColor())));
      brush = temporary.Get();
    }
  } else {
    brush = GetSysColorBrush(COLOR_WINDOW);
  }
  if (brush == nullptr) return;
  ::FillRect(Handle, &rect, brush);
}

SIZE TCanvas::TextExtent(std::string_view text) {
  SIZE size{0, 0};
  // Measuring needs no window: without a DC a memory DC stands in for the moment.
  bool temporary = false;
  if (Handle == nullptr) {
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) return size;
    SetHandle(memory, TDCRelease::DeleteDC);
    temporary = true;
  }
  RequireState(HandleValid | FontValid);
  const int length =
      text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
  const TWideString wide = WideFromCp1251(text.substr(0, static_cast<std::size_t>(length)));
  if (!GetTextExtentPoint32W(Handle, wide.data(), length, &size)) size = SIZE{0, 0};
  if (temporary) SetHandle(nullptr);
  return size;
}

void TCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  PenPos = POINT{x, y};
  if (Handle != nullptr) MoveToEx(Handle, x, y, nullptr);
}

void TCanvas::LineTo(std::int32_t x, std::int32_t y) {
  RequireState(HandleValid | PenValid);
  if (Handle == nullptr) return;
  ::LineTo(Handle, x, y);
  PenPos = POINT{x, y};
}

void TCanvas::TextOutAt(std::int32_t x, std::int32_t y, std::string_view text) {
  RequireState(HandleValid | FontValid | BrushValid);
  if (Handle == nullptr) return;
  const int length =
      text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
  const TWideString wide = WideFromCp1251(text.substr(0, static_cast<std::size_t>(length)));
  TextOutW(Handle, x, y, wide.data(), length);
}

void TCanvas::AdoptTool(TGraphicTool*& slot, TGraphicTool* tool, std::uint8_t bit) {
  if (slot == tool) return;
  if ((ToolsSelected & bit) != 0) DeselectTools();
  SelectedState &= static_cast<std::uint8_t>(~bit);
  if (slot != nullptr) {
    slot->OnChange = {};
    slot->Free();
  }
  slot = tool;
  if (tool != nullptr) tool->OnChange = {&TCanvas::ToolChanged, this};
}

void TCanvas::SetBrush(TGraphicTool* brush) { AdoptTool(Brush, brush, BrushValid); }
void TCanvas::SetFont(TGraphicTool* font) { AdoptTool(Font, font, FontValid); }
void TCanvas::SetPen(TGraphicTool* pen) { AdoptTool(Pen, pen, PenValid); }
