// TClassMainForm_1509590: the cube editor's application form. Owns every element of the program,
// creates them in the fixed element order with their constant properties, sets every link and
// frees the elements in reverse order. Computes nothing itself at run time.
#pragma once

#include <array>
#include <vector>

#include "app/cube_view_panel.h"
#include "app/effect_player.h"
#include "app/export_panel.h"
#include "app/form_keys.h"
#include "app/frame_graph.h"
#include "app/frame_lines_panel.h"
#include "app/generator_panel.h"
#include "app/pattern_tools.h"
#include "app/save_flow.h"
#include "app/save_guard.h"
#include "elements/button.h"
#include "elements/cube_pattern_element.h"
#include "elements/edit.h"
#include "elements/file_dialog_element.h"
#include "elements/image.h"
#include "elements/label.h"
#include "elements/led.h"
#include "elements/main_form.h"
#include "elements/memo.h"
#include "elements/timer_element.h"
#include "platform/paint_now.h"
#include "runtime/hub.h"

class TClassMainForm_1509590 {
 public:
  TClassMainForm_1509590();
  ~TClassMainForm_1509590();
  TClassMainForm_1509590(const TClassMainForm_1509590&) = delete;
  TClassMainForm_1509590& operator=(const TClassMainForm_1509590&) = delete;

  TQxMainForm* EditorWindow = nullptr;
  std::array<TQxLED*, frame::kLedCount> Leds{};  // LED N at N - 1
  std::array<TQxLabel*, 6> LayerLabels{};
  TQxLabel* FrameLabel = nullptr;
  TQxLabel* EffectLabel = nullptr;
  TQxLabel* TitleLabel = nullptr;
  TQxButton* ResetButton = nullptr;
  TQxButton* SaveButton = nullptr;
  TQxEdit* FrameEdit = nullptr;
  TQxMemo* EffectMemo = nullptr;
  TQxImage* CubeImage = nullptr;
  TFrameGraph* Frame = nullptr;
  TQxHub* EnterHub = nullptr;
  TQxHub* SaveHub = nullptr;
  TQxHub* TickHub = nullptr;
  TQxODialog* SaveDialog = nullptr;
  TQxTimer* ClearTimer = nullptr;
  // Not part of the original graph: keeps the effect text when a save fails (two extra links).
  TQxSaveGuard* SaveGuard = nullptr;
  // The workbench, made after the designed elements and counted apart from them.
  TQxCubePattern* Pattern = nullptr;
  TFormKeys* Keys = nullptr;  // every shortcut of the workbench, in one map
  TPatternTools* PatternTools = nullptr;
  TEffectPlayerPanel* Effect = nullptr;
  TSaveFlowPanel* SaveFlow = nullptr;
  TFrameLinesPanel* FrameLines = nullptr;
  TExportPanel* Exporter = nullptr;
  TCubeViewPanel* CubeView = nullptr;
  TGeneratorPanel* Generator = nullptr;

  TQxLED* Led(int n) { return Leds[n - 1]; }

  // Elements in element order, each once (the frame graph's elements counted one by one).
  int ElementCount();
  int VisualCount() const { return static_cast<int>(visualOrder_.size()); }
  int LinkCount() const { return linkCount_; }
  int GuardLinkCount() const { return guardLinkCount_; }
  int WorkbenchElementCount() const;
  int WorkbenchLinkCount() const;
  // The visual elements in element order.
  const std::vector<TQxWin*>& VisualOrder() const { return visualOrder_; }

 private:
  void CreateVisual(int slot);
  TQxLED* CreateLed(int n);
  TQxEdit* CreateFrameEdit();
  TQxMemo* CreateEffectMemo();
  TQxImage* CreateCubeImage();
  void CreateNonVisual();
  void ConnectAll();
  void CreateWorkbench();
  void CreatePattern();
  // The LEDs as a follower of the pattern's owner: the changed ones take their new states; a whole
  // frame's are painted at once.
  static void ShowOnLeds(void* form, const cube::TPatternChange& change);
  // Once the window is shown: the LEDs, the look the first frame needs, first and all at once.
  static void PaintLedsAtShow(void* form);

  std::vector<TQxWin*> visualOrder_;  // EditorWindow at its place in the element order
  int linkCount_ = 0;
  int guardLinkCount_ = 0;
  int patternLinkCount_ = 0;
  // Where each LED shows on the form (neighbours in the deeper layers overlap); read once, since
  // nothing on the form moves.
  TChildAreas ledAreas_;
};
