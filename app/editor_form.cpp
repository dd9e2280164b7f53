// The cube editor's form: element table, properties, links and teardown.
#include "app/editor_form.h"

#include <windows.h>

#include "app/form_controls.h"
#include "platform/app.h"
#include "platform/bitmap.h"
#include "platform/control.h"
#include "platform/handlers.h"
#include "platform/startup_trace.h"

namespace {

// Slots of the element order: 1..216 are LEDs, the rest the other visual elements.
enum Slot : int {
  kEditorWindow = 300,
  kFrameEdit,
  kResetButton,
  kLayerLabel1,  // .. kLayerLabel1 + 5
  kFrameLabel = kLayerLabel1 + 6,
  kEffectMemo,
  kEffectLabel,
  kTitleLabel,
  kSaveButton,
  kCubeImage,
};

constexpr std::array<int, 20> kLedsFirst{187, 193, 199, 205, 211, 151, 157, 163, 169, 175,
                                         139, 133, 127, 121, 115, 79,  85,  91,  97,  103};
constexpr std::array<int, 5> kLedsLast{30, 24, 18, 12, 6};

bool NamedFirst(int led) {
  for (int n : kLedsFirst)
    if (n == led) return true;
  return false;
}
bool NamedLast(int led) {
  for (int n : kLedsLast)
    if (n == led) return true;
  return false;
}

std::vector<int> ElementOrder() {
  std::vector<int> order(kLedsFirst.begin(), kLedsFirst.end());
  order.push_back(kEditorWindow);
  order.push_back(1);
  order.push_back(2);
  order.push_back(kFrameEdit);
  for (int n = 3; n <= 32; ++n)
    if (!NamedLast(n)) order.push_back(n);
  order.push_back(kResetButton);
  for (int n = 33; n <= 64; ++n) order.push_back(n);
  for (int i = 0; i < 6; ++i) order.push_back(kLayerLabel1 + i);
  for (int n = 65; n <= 216; ++n)
    if (!NamedFirst(n)) order.push_back(n);
  for (int s : {kFrameLabel, kEffectMemo, kEffectLabel, kTitleLabel, kSaveButton}) order.push_back(s);
  order.insert(order.end(), kLedsLast.begin(), kLedsLast.end());
  order.push_back(kCubeImage);
  return order;
}

struct Layer {
  int Size;
  std::array<int, 6> Left;
  std::array<int, 6> Top;
};
constexpr std::array<Layer, 6> kLayers{{
    {40, {70, 120, 175, 230, 285, 340}, {245, 300, 350, 400, 455, 510}},
    {35, {370, 415, 460, 505, 550, 595}, {195, 240, 285, 325, 370, 415}},
    {30, {620, 655, 690, 725, 760, 795}, {140, 175, 210, 245, 280, 315}},
    {25, {815, 845, 875, 905, 935, 965}, {100, 130, 160, 190, 220, 250}},
    {20, {985, 1010, 1035, 1060, 1085, 1110}, {60, 85, 110, 135, 160, 185}},
    {15, {1125, 1145, 1165, 1185, 1205, 1225}, {40, 60, 80, 100, 120, 140}},
}};

using form_controls::kFaceColor;
using form_controls::kWindowColor;
using form_controls::LabelRow;
using form_controls::MakeButton;
using form_controls::NewDressed;

constexpr std::array<LabelRow, 6> kLayerLabelRows{{
    {170, 565, 123, 40, "MS Sans Serif", 23, 1, 1, "СЛОЙ 1"},
    {455, 480, 98, 33, "MS Sans Serif", 18, 1, 1, "СЛОЙ 2"},
    {685, 350, 78, 28, "MS Sans Serif", 14, 1, 1, "СЛОЙ 3"},
    {870, 280, 69, 24, "MS Sans Serif", 12, 1, 1, "СЛОЙ 4"},
    {1035, 210, 58, 20, "MS Sans Serif", 10, 1, 1, "СЛОЙ 5"},
    {1160, 165, 50, 17, "MS Sans Serif", 8, 1, 1, "СЛОЙ 6"},
}};
constexpr LabelRow kTitleRow{175, 45, 321, 61, "Arial Narrow", 36, 1, 204, "TESSARO "};
constexpr LabelRow kFrameRow{500, 585, 250, 22, "Arial", 12, 3, 204, "СТРОКА ДАННЫХ ДЛЯ КАДРА"};
constexpr LabelRow kEffectRow{770,
                              355,
                              468,
                              17,
                              "MS Sans Serif",
                              8,
                              1,
                              1,
                              "ТЕКСТОВЫЙ РЕДАКТОР ДЛЯ ЭФФЕКТА-ЗАПИСЬ КАДРА КЛАВИШЕЙ ВВОД "};

// The form's own font, which the LEDs and the cube picture keep.
TFontRec FormFont() { return MakeFontRec("MS Sans Serif", 8, 0, 0x000000, 1); }

TQxLabel* MakeLabel(TControl* parent, const LabelRow& row) {
  return form_controls::MakeLabel(parent, row, /*autoSize=*/true);
}

void NothingAtInit(void*) {}

}  // namespace

TClassMainForm_1509590::TClassMainForm_1509590() {
  EditorWindow = NewDressed<TQxMainForm>(nullptr, 0, 0, 1274, 709, kFaceColor, FormFont(), 1);
  EditorWindow->SetCaption(" НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА");
  EditorWindow->SetBorderStyle(2);
  {
    TStartupSpan icon("icon");
    EditorWindow->SetIcon(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
  }
  EditorWindow->AlphaBlend = 255;
  EditorWindow->WindowState = 0;
  EditorWindow->DragByClient = 0;
  EditorWindow->ClientSize = 0;
  EditorWindow->MouseCapture = 0;
  EditorWindow->MasterLink = nullptr;
  EditorWindow->KeysToParent = 1;
  EditorWindow->MasterOffsetX = 0;
  EditorWindow->MasterOffsetY = 0;
  EditorWindow->PositionKey = ByteString();
  EditorWindow->InitHook = {&NothingAtInit, nullptr};
  EditorWindow->SetAppToolWindow(0);
  EditorWindow->Init();
  StartupStamp("form window");

  for (int slot : ElementOrder()) {
    if (slot == kEditorWindow) {
      visualOrder_.push_back(EditorWindow);
      // The non-visual elements stand here in the element order; their relative order is free.
      CreateNonVisual();
      continue;
    }
    CreateVisual(slot);
  }
  StartupStamp("designed elements");
  ConnectAll();
  StartupStamp("links");
  // No element has a hint manager or popup menu, so the finishing pass attaches nothing.
  for (TQxWin* e : visualOrder_)
    if (!e->Hint.empty()) e->AttachHint(nullptr);
  EnableKeyboardNavigation(EditorWindow->Control);
  StartupStamp("designed hints, navigation");
  CreateWorkbench();
  // Now, with every control in its place, rather than in the first frame played.
  if (HWND window = EditorWindow->Control->Handle) ledAreas_.Read(window);
  StartupStamp("LED areas");
  // After the form's own start step, which shows it.
  RegisterDeferredStart(&PaintLedsAtShow, this);
}

// The workbench, after the designed graph: the pattern element, the key map and the panels.
void TClassMainForm_1509590::CreateWorkbench() {
  CreatePattern();
  Keys = new TFormKeys(EditorWindow->Control);
  Keys->AddTextField(FrameEdit->Control);
  Keys->AddTextField(EffectMemo->Control);
  StartupStamp("pattern, key map");
  PatternTools = new TPatternTools(*this, Pattern);
  StartupStamp("pattern tools");
  Effect = new TEffectPlayerPanel(*this, Pattern);
  StartupStamp("effect player");
  SaveFlow = new TSaveFlowPanel(*this);
  StartupStamp("save flow");
  FrameLines = new TFrameLinesPanel(*this, Pattern);
  StartupStamp("line tools");
  CubeView = new TCubeViewPanel(*this, Pattern);
  StartupStamp("cube view");
  Exporter = new TExportPanel(*this);
  Generator = new TGeneratorPanel(*this, Pattern, Effect->RateEdit);
  StartupStamp("export, generator");
}

void TClassMainForm_1509590::CreatePattern() {
  Pattern = new TQxCubePattern();
  for (int i = 0; i < frame::kLedCount; ++i) {
    // The LED asks; the pattern's owner decides and tells it through ShowOnLeds.
    Leds[i]->outChange = MakeLink<&TQxCubePattern::inLedChange>(Pattern, static_cast<std::uint16_t>(i));
    ++patternLinkCount_;
  }
  // The LEDs before the graph: bringing a whole frame in line reads their states.
  Pattern->Subscribe({&ShowOnLeds, this});
  Pattern->Subscribe({&FollowPatternOnGraph, Frame});
}

void TClassMainForm_1509590::ShowOnLeds(void* form, const cube::TPatternChange& change) {
  auto& self = *static_cast<TClassMainForm_1509590*>(form);
  // An LED's own click or reset repaints it as the designed LED does; a whole frame's LEDs are
  // painted at once rather than one paint message each.
  const bool byLed = cube::ByLed(change.Cause);
  const TQxLED::TRepaint repaint = byLed ? TQxLED::TRepaint::Later : TQxLED::TRepaint::ByCaller;
  std::array<TControl*, frame::kLedCount> controls{};
  std::size_t count = 0;
  const cube::TPattern& changed = change.Changed;
  for (std::size_t i = changed._Find_first(); i < changed.size(); i = changed._Find_next(i)) {
    self.Leds[i]->ShowState(change.New.test(i), repaint);
    controls[count++] = self.Leds[i]->Control;
  }
  if (byLed || count == 0) return;
  PaintNow(self.EditorWindow->Control, self.ledAreas_, std::span(controls.data(), count));
}

void TClassMainForm_1509590::PaintLedsAtShow(void* form) {
  auto& self = *static_cast<TClassMainForm_1509590*>(form);
  std::array<TControl*, frame::kLedCount> controls{};
  for (int i = 0; i < frame::kLedCount; ++i) controls[i] = self.Leds[i]->Control;
  PaintNowInsteadOfPaint(self.EditorWindow->Control, self.ledAreas_, controls);
}

int TClassMainForm_1509590::WorkbenchElementCount() const {
  return (Pattern != nullptr ? 1 : 0) + (PatternTools != nullptr ? PatternTools->ElementCount() : 0) +
         (Effect != nullptr ? Effect->ElementCount() : 0) +
         (SaveFlow != nullptr ? SaveFlow->ElementCount() : 0) +
         (FrameLines != nullptr ? FrameLines->ElementCount() : 0) +
         (Exporter != nullptr ? Exporter->ElementCount() : 0) +
         (CubeView != nullptr ? CubeView->ElementCount() : 0) +
         (Generator != nullptr ? Generator->ElementCount() : 0);
}

int TClassMainForm_1509590::WorkbenchLinkCount() const {
  return patternLinkCount_ + (PatternTools != nullptr ? PatternTools->LinkCount() : 0) +
         (Effect != nullptr ? Effect->LinkCount() : 0) + (SaveFlow != nullptr ? SaveFlow->LinkCount() : 0) +
         (FrameLines != nullptr ? FrameLines->LinkCount() : 0) + (Keys != nullptr ? Keys->LinkCount() : 0) +
         (Exporter != nullptr ? Exporter->LinkCount() : 0) +
         (CubeView != nullptr ? CubeView->LinkCount() : 0) +
         (Generator != nullptr ? Generator->LinkCount() : 0);
}

void TClassMainForm_1509590::CreateVisual(int slot) {
  TControl* parent = EditorWindow->Control;
  TQxWin* made = nullptr;
  if (slot >= 1 && slot <= frame::kLedCount) {
    made = CreateLed(slot);
  } else if (slot >= kLayerLabel1 && slot < kLayerLabel1 + 6) {
    made = LayerLabels[slot - kLayerLabel1] = MakeLabel(parent, kLayerLabelRows[slot - kLayerLabel1]);
  } else if (slot == kFrameLabel) {
    made = FrameLabel = MakeLabel(parent, kFrameRow);
  } else if (slot == kEffectLabel) {
    made = EffectLabel = MakeLabel(parent, kEffectRow);
  } else if (slot == kTitleLabel) {
    made = TitleLabel = MakeLabel(parent, kTitleRow);
  } else if (slot == kResetButton) {
    made = ResetButton = MakeButton(parent, 1045, 600, 180, 55, 14, "СБРОС КАДРА");
  } else if (slot == kSaveButton) {
    made = SaveButton = MakeButton(parent, 25, 160, 290, 60, 12, "СОХРАНЕНИЕ ЭФФЕКТА В ФАЙЛ");
  } else if (slot == kFrameEdit) {
    made = CreateFrameEdit();
  } else if (slot == kEffectMemo) {
    made = CreateEffectMemo();
  } else if (slot == kCubeImage) {
    made = CreateCubeImage();
  }
  visualOrder_.push_back(made);
}

TQxLED* TClassMainForm_1509590::CreateLed(int n) {
  TControl* parent = EditorWindow->Control;
  const int layer = (n - 1) / 36;
  const int row = ((n - 1) % 36) / 6;
  const int column = (n - 1) % 6;
  const Layer& g = kLayers[layer];
  int left = g.Left[column];
  int top = g.Top[row];
  // The four LEDs of layer 1 that stand off the grid.
  if (n == 2 || n == 8) left = 125;
  if (n == 3) left = 180;
  if (n == 30) top = 450;
  auto* led = NewDressed<TQxLED>(parent, left, top, g.Size, g.Size, kFaceColor, FormFont(), 1);
  led->TabOrder = n == 133 ? 133 : 1;
  led->OnColor = 255;
  led->OffColor = column == 0 ? ElementSystemColor(COLOR_ACTIVECAPTION) : 0xF0CAA6;
  led->LightColor = 0xFFFFFF;
  led->State = 0;
  led->Shape = 1;
  led->Bevel = 1;
  const std::string name = std::to_string(n);
  led->Name = (n == 1 || n == 17 || n == 33) ? ByteString(" " + name) : ByteString(name);
  led->Init();
  Leds[n - 1] = led;
  return led;
}

TQxEdit* TClassMainForm_1509590::CreateFrameEdit() {
  TControl* parent = EditorWindow->Control;
  FrameEdit = NewDressed<TQxEdit>(parent, 45, 625, 985, 20, kWindowColor,
                                  MakeFontRec("Arial", 8, 3, 0xFF0000, 204), 0);
  FrameEdit->TextAlign = 0;
  FrameEdit->Password = 0;
  FrameEdit->ReadOnly = 0;
  FrameEdit->MaxLength = 0;
  FrameEdit->ClearAfterEnter = 1;
  // A frame with many LEDs lit would otherwise show blank until the line is clicked.
  FrameEdit->HideSelection = 0;
  FrameEdit->TextSource = FrameEdit->OwnTextSource();
  FrameEdit->Init();
  return FrameEdit;
}

TQxMemo* TClassMainForm_1509590::CreateEffectMemo() {
  TControl* parent = EditorWindow->Control;
  EffectMemo = NewDressed<TQxMemo>(parent, 640, 380, 605, 180, kWindowColor,
                                   MakeFontRec("Arial", 10, 3, 0xFF0000, 204), 0);
  EffectMemo->ScrollBars = 2;
  EffectMemo->Editable = 1;
  EffectMemo->AddToTop = 0;
  EffectMemo->Init();
  return EffectMemo;
}

TQxImage* TClassMainForm_1509590::CreateCubeImage() {
  TControl* parent = EditorWindow->Control;
  CubeImage = NewDressed<TQxImage>(parent, 20, 10, 135, 125, kFaceColor, FormFont(), 1);
  CubeImage->MouseCapture = 0;
  CubeImage->SetPictureResource(GetModuleHandleW(nullptr), L"BITMAP0");
  CubeImage->SetSmooth(true);
  CubeImage->DrawMethod = CubeImage->FitMethod();
  CubeImage->Init();
  return CubeImage;
}

void TClassMainForm_1509590::CreateNonVisual() {
  Frame = new TFrameGraph();
  EnterHub = new TQxHub();
  EnterHub->InCount = 2;
  EnterHub->SetOutCount(1);
  SaveHub = new TQxHub();
  SaveHub->InCount = 1;
  SaveHub->SetOutCount(2);
  TickHub = new TQxHub();
  TickHub->InCount = 1;
  TickHub->SetOutCount(2);
  SaveDialog = new TQxODialog();
  SaveDialog->StartDir = ".";
  SaveDialog->Filter = "All|*.TXT*";
  SaveDialog->Title = "Open Dialog";
  SaveDialog->FileName = "ZOZIVU.TXT";
  ClearTimer = new TQxTimer();
  ClearTimer->SetInterval(1000);
  ClearTimer->SetAutoStop(0);
  ClearTimer->SetQueueTicks(0);
  ClearTimer->SetEnable(1);
  SaveGuard = new TQxSaveGuard();
  SaveGuard->Memo = nullptr;  // set with the links, once the memo exists
}

void TClassMainForm_1509590::ConnectAll() {
  TFrameGraphPorts ports;
  for (int n = 1; n <= frame::kLedCount; ++n) ports.Leds[n - 1] = FrameLedPinsOf(Led(n));
  ports.ResetSource = &ResetButton->outClick;
  ports.FrameSink = MakeLink<&TQxEdit::inText>(FrameEdit, 0);
  Frame->Connect(ports);
  linkCount_ = Frame->LinkCount();

  auto link = [this](TQx_Event& field, const TQx_Event& target) {
    field = target;
    ++linkCount_;
  };
  link(FrameEdit->outEnter, MakeLink<&TQxHub::inEvent>(EnterHub, 1));
  link(EnterHub->outEvent[0], MakeLink<&TQxWinList::inAdd>(EffectMemo, 0));
  link(SaveButton->outClick, MakeLink<&TQxODialog::inExecute>(SaveDialog, 0));
  link(SaveDialog->outExecute, MakeLink<&TQxHub::inEvent>(SaveHub, 0));
  link(SaveHub->outEvent[0], MakeLink<&TQxTimer::inStart>(ClearTimer, 0));
  // SaveHub output 1 (to EffectMemo.inSave, index 5) and TickHub output 1 (to EffectMemo.inClear,
  // index 1) pass through the save guard, which forwards them with the same values and indices:
  // the two links of the graph plus two extra ones from the guard to the memo.
  link(SaveHub->outEvent[1], MakeLink<&TQxSaveGuard::inSave>(SaveGuard, 5));
  link(ClearTimer->outTimer, MakeLink<&TQxHub::inEvent>(TickHub, 0));
  link(TickHub->outEvent[0], MakeLink<&TQxTimer::inStop>(ClearTimer, 1));
  link(TickHub->outEvent[1], MakeLink<&TQxSaveGuard::inClear>(SaveGuard, 1));

  SaveGuard->Memo = EffectMemo;
  SaveGuard->Owner = EditorWindow->Control;
  SaveGuard->outSave = MakeLink<&TQxWinList::inSave>(EffectMemo, 5);
  SaveGuard->outClear = MakeLink<&TQxWinList::inClear>(EffectMemo, 1);
  guardLinkCount_ = 2;
}

int TClassMainForm_1509590::ElementCount() {
  int count = static_cast<int>(visualOrder_.size());
  if (Frame != nullptr) count += Frame->ElementCount();
  for (TQxObject* e : std::initializer_list<TQxObject*>{EnterHub, SaveHub, TickHub, SaveDialog, ClearTimer})
    if (e != nullptr) ++count;
  return count;
}

TClassMainForm_1509590::~TClassMainForm_1509590() {
  // A form ended before the start step must not be painted by it.
  std::erase_if(DeferredStartList, [this](const TDeferredStart& entry) {
    return entry.Proc == &PaintLedsAtShow && entry.Data == this;
  });
  // Reverse element order: the visual elements after EditorWindow's place, then the non-visual
  // ones that stand right after it, then EditorWindow and the LEDs before it.
  std::size_t formAt = 0;
  while (formAt < visualOrder_.size() && visualOrder_[formAt] != EditorWindow) ++formAt;
  delete Keys;
  delete Exporter;
  delete CubeView;
  delete Generator;
  delete FrameLines;
  delete SaveFlow;
  delete Effect;
  delete PatternTools;
  delete Pattern;
  for (std::size_t i = visualOrder_.size(); i > formAt + 1; --i) delete visualOrder_[i - 1];
  delete SaveGuard;
  delete ClearTimer;
  delete SaveDialog;
  delete TickHub;
  delete SaveHub;
  delete EnterHub;
  delete Frame;
  for (std::size_t i = formAt + 1; i > 0; --i) delete visualOrder_[i - 1];
}
