// TQxCubeView: the "Вид куба" window, an owned, non-modal top-level window that shows the cube's
// pattern in perspective. It keeps no copy of the pattern: every paint reads the frame through
// dataFrame, and inChange only marks the picture stale, so many changes between two paints cost
// one paint. Dragging with the mouse or the arrow keys turn it, Home turns it back, Esc, F11 and
// its close box hide it. Its place and turn are kept between runs beside the form's settings.
// Must never paint outside WM_PAINT (or a print request) nor take a key from another window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "cube/view3d.h"
#include "platform/control.h"
#include "platform/handles.h"
#include "runtime/data.h"

class TQxCubeView : public TQxObject {
 public:
  TControl* Owner = nullptr;  // the form the window stays above and closes with
  ByteString PositionKey;     // as TQxStoredValue's: where the place and turn are kept
  ByteString Caption;
  TQx_Event dataFrame;  // string: the frame the cube shows now

  ~TQxCubeView() override;

  // Shown when hidden, hidden when shown.
  void inToggle(TData* d, std::uint16_t index);
  // Shown and brought to the front.
  void inShow(TData* d, std::uint16_t index);
  void inHide(TData* d, std::uint16_t index);
  // The pattern changed: the picture is repainted at the next paint.
  void inChange(TData* d, std::uint16_t index);

  HWND Window() const { return window_; }
  bool Visible() const;
  cube::TViewTurn Turn() const { return turn_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create();
  void Hide();
  void PaintWindow();
  void PaintInto(HDC dc, int width, int height);
  bool Key(WPARAM key);
  void Drag(LPARAM at);
  void SetTurn(cube::TViewTurn turn);
  void Load(HWND owner, RECT& place);
  void Save();

  HWND window_ = nullptr;
  cube::TViewTurn turn_ = cube::kHomeTurn;
  bool dragging_ = false;
  POINT dragFrom_{};
  // The memory picture, kept while the client size stays the same.
  TOwnedBitmap picture_;
  SIZE pictureSize_{};
};
