// TCanvas: a device context together with the tools selected into it, fetched lazily.
// It knows how its DC came and releases it the same way (ReleaseDC, DeleteDC, or not at all for a
// DC it only borrows, such as the one of a paint in progress). Must never depend on TControl: it
// reaches its window through TCanvasHost.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/graphic_tool.h"
#include "platform/handles.h"
#include "platform/obj.h"

class TCanvas;

// What a canvas needs of the window it draws on; TControl implements it.
class TCanvasHost {
 public:
  virtual HWND CanvasWindow() = 0;  // creates the window if needed; null when it cannot be had
  virtual std::int32_t CanvasColor() = 0;
  virtual std::int32_t CanvasTextColor() = 0;
  virtual TGraphicTool* CanvasBrushTool() = 0;  // may be null

 protected:
  ~TCanvasHost() = default;
};

// Supplies a DC when the canvas needs one: the procedure calls canvas->SetHandle.
using TCanvasGetHandle = TCallback<void(TCanvas* canvas)>;

class TCanvas : public TObj {
 public:
  enum : std::uint8_t { HandleValid = 1, PenValid = 2, BrushValid = 4, FontValid = 8 };

  // A control's canvas: its DC is GetDC of the host's window; Font and Brush are own copies of
  // `font` and `brush` (either may be null).
  static TCanvas* CreateForControl(TCanvasHost* host, TGraphicTool* font, TGraphicTool* brush);
  // A canvas without a control that adopts `dc` and gives it back as `release` says.
  static TCanvas* CreateForDC(HDC dc, TDCRelease release = TDCRelease::None);

  // Ensures the state bits of `flags`; the DC is fetched through OnGetHandle when there is none.
  void RequireState(std::uint8_t flags);
  // Gives the previous DC back (stock objects first) and adopts `dc`. `window` is the window of a
  // DC released with ReleaseDC.
  void SetHandle(HDC dc, TDCRelease release = TDCRelease::None, HWND window = nullptr);
  HDC GetHandle() {
    RequireState(HandleValid);
    return Handle;
  }

  void FillRect(const RECT& rect);
  SIZE TextExtent(std::string_view text);
  void MoveTo(std::int32_t x, std::int32_t y);
  void LineTo(std::int32_t x, std::int32_t y);
  void TextOutAt(std::int32_t x, std::int32_t y, std::string_view text);

  // Tools are owned by the canvas; setting one frees the previous.
  void SetBrush(TGraphicTool* brush);
  void SetFont(TGraphicTool* font);
  void SetPen(TGraphicTool* pen);

  TCanvasHost* Control = nullptr;
  HDC Handle = nullptr;
  TGraphicTool* Brush = nullptr;
  TGraphicTool* Font = nullptr;
  TGraphicTool* Pen = nullptr;
  POINT PenPos = {0, 0};
  std::uint8_t SelectedState = 0;
  TCanvasGetHandle OnGetHandle;
  TDC HeldDC;  // Handle, and how it goes back

 protected:
  TCanvas() = default;
  ~TCanvas() override;

 private:
  static void ToolChanged(void* data, TObj* tool);
  // Puts the stock objects back for what this canvas selected and clears the tool bits.
  void DeselectTools();
  void AdoptTool(TGraphicTool*& slot, TGraphicTool* tool, std::uint8_t bit);
  std::uint8_t ToolsSelected = 0;  // tool objects actually selected (a missing tool selects none)
};
