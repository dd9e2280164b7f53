// The "Экспорт…" dialog: which format (C header, GIF of the layers, GIF of the 3D view, PNG strip)
// and which frames (all, or from–to). A modal system dialog made from a template in memory, so the
// dialog manager gives it Tab, arrows, Enter and Esc. Windows builds only; reads nothing but its
// own controls and never checks the range against the effect (the export does, and says why).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

enum class TExportFormat { CHeader, LayersGif, CubeGif, PngStrip };

struct TExportChoice {
  TExportFormat Format = TExportFormat::CHeader;
  bool AllFrames = true;
  std::string First;  // the from–to fields as typed, when AllFrames is false
  std::string Last;
};

// Control ids, for the tests that drive the dialog.
namespace export_dialog_ids {
inline constexpr int kCHeader = 101, kLayersGif = 102, kCubeGif = 103, kPngStrip = 104;
inline constexpr int kAllFrames = 110, kRange = 111, kFirst = 112, kLast = 113;
}  // namespace export_dialog_ids

inline constexpr const char* kExportDialogTitle = "Экспорт эффекта";

// Shows the dialog over `owner`, starting from `choice` (a session's last one); `frames` is told in
// the "all" line and fills the range. `cubeView` false greys the 3D view's choice out. True on OK,
// with `choice` set.
bool RunExportDialog(HWND owner, std::size_t frames, bool cubeView, TExportChoice& choice);
