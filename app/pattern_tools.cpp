// TPatternTools: the tool strip's layout as one table, the wiring as rules, and the key element.
#include "app/pattern_tools.h"

#include <string>

#include "app/editor_form.h"
#include "app/form_controls.h"

namespace {

using pattern_keys::TTool;

// Two rows in the strip right of the title, above layers 3-5, clear of both.
constexpr int kRow1 = 38;
constexpr int kRow2 = 67;
constexpr int kRowHeight = 25;

// Where each tool's button stands; what it says and does comes from its row in pattern_keys.
struct TToolPlace {
  TTool Tool;
  int Left, Top, Width;
};

constexpr std::array<TToolPlace, 15> kToolPlaces{{
    {TTool::ShiftXMinus, 510, kRow1, 32},
    {TTool::ShiftXPlus, 545, kRow1, 32},
    {TTool::ShiftYMinus, 580, kRow1, 32},
    {TTool::ShiftYPlus, 615, kRow1, 32},
    {TTool::ShiftZMinus, 650, kRow1, 32},
    {TTool::ShiftZPlus, 685, kRow1, 32},
    {TTool::Wrap, 725, kRow1, 100},
    {TTool::Rotate, 828, kRow1, 70},
    {TTool::MirrorX, 510, kRow2, 72},
    {TTool::MirrorY, 585, kRow2, 72},
    {TTool::MirrorZ, 660, kRow2, 72},
    {TTool::Invert, 735, kRow2, 66},
    {TTool::LightAll, 804, kRow2, 36},
    {TTool::Undo, 843, kRow2, 68},
    {TTool::Redo, 914, kRow2, 64},
}};

}  // namespace

const char* TQxPatternKeys::WrapCaption(bool wrap) { return wrap ? "По кругу: да" : "По кругу: нет"; }

void TQxPatternKeys::Request(TTool tool) {
  switch (tool) {
    case TTool::None:
      return;
    case TTool::Wrap:
      Wrap = Wrap == 0 ? 1 : 0;
      if (WrapButton != nullptr && WrapButton->Control != nullptr)
        WrapButton->Control->SetCaption(WrapCaption(Wrap));
      return;
    case TTool::Undo:
      FireEmpty(outUndo);
      return;
    case TTool::Redo:
      FireEmpty(outRedo);
      return;
    case TTool::ShiftXMinus:
    case TTool::ShiftXPlus:
    case TTool::ShiftYMinus:
    case TTool::ShiftYPlus:
    case TTool::ShiftZMinus:
    case TTool::ShiftZPlus: {
      const std::int32_t wrapped = TQxCubePattern::ctWrapShiftXMinus - TQxCubePattern::ctShiftXMinus;
      FireInt(outTransform, pattern_keys::RowOf(tool).Code + (Wrap != 0 ? wrapped : 0));
      return;
    }
    default:
      FireInt(outTransform, pattern_keys::RowOf(tool).Code);
      return;
  }
}

void TQxPatternKeys::inShift(TData*, std::uint16_t index) {
  if (index < 6) Request(static_cast<TTool>(static_cast<int>(TTool::ShiftXMinus) + index));
}

void TQxPatternKeys::inWrap(TData*, std::uint16_t) { Request(TTool::Wrap); }

void TQxPatternKeys::inTool(TData*, std::uint16_t index) { Request(static_cast<TTool>(index)); }

void TQxPatternKeys::inHistory(TData* d, std::uint16_t) {
  const std::int32_t state = AsInt(d);
  if (UndoButton != nullptr && UndoButton->Control != nullptr)
    UndoButton->Control->SetEnabled((state & 1) != 0);
  if (RedoButton != nullptr && RedoButton->Control != nullptr)
    RedoButton->Control->SetEnabled((state & 2) != 0);
}

TPatternTools::TPatternTools(TClassMainForm_1509590& form, TQxCubePattern* pattern) : Pattern(pattern) {
  auto link = [this](TQx_Event& field, const TQx_Event& target) {
    field = target;
    ++linkCount_;
  };

  Keys = new TQxPatternKeys();

  TControl* parent = form.EditorWindow->Control;
  for (const TToolPlace& place : kToolPlaces) {
    const pattern_keys::TKey& row = pattern_keys::RowOf(place.Tool);
    const std::string hint = std::string(row.Hint) + " (" + row.Name + ")";
    // Off the tab order, so the designed order stays as it is; the keys reach every tool.
    TQxButton* button = form_controls::MakeButton(
        parent, place.Left, place.Top, place.Width, kRowHeight, 8,
        row.Caption != nullptr ? row.Caption : TQxPatternKeys::WrapCaption(false), {-1, hint.c_str()});
    button->AttachHint(nullptr);
    Buttons[static_cast<int>(row.Tool) - 1] = button;
  }
  Keys->WrapButton = Button(TTool::Wrap);
  Keys->UndoButton = Button(TTool::Undo);
  Keys->RedoButton = Button(TTool::Redo);

  // The text fields keep these keys for themselves while they have the focus.
  for (const pattern_keys::TKey& key : pattern_keys::kKeys)
    form.Keys->Add(key.VirtualKey, key.Ctrl ? kCtrlKey : 0, TFormKeys::TWhere::OutsideText,
                   MakeLink<&TQxPatternKeys::inTool>(Keys, static_cast<std::uint16_t>(key.Tool)));
  for (int i = 0; i < 6; ++i) {
    TQxButton* shift = Button(static_cast<TTool>(static_cast<int>(TTool::ShiftXMinus) + i));
    link(shift->outClick, MakeLink<&TQxPatternKeys::inShift>(Keys, static_cast<std::uint16_t>(i)));
  }
  link(Button(TTool::Wrap)->outClick, MakeLink<&TQxPatternKeys::inWrap>(Keys));
  for (TTool tool :
       {TTool::Rotate, TTool::MirrorX, TTool::MirrorY, TTool::MirrorZ, TTool::Invert, TTool::LightAll}) {
    TQxButton* button = Button(tool);
    MakeInt(&button->Data, pattern_keys::RowOf(tool).Code);
    link(button->outClick, MakeLink<&TQxCubePattern::inTransform>(Pattern));
  }
  link(Button(TTool::Undo)->outClick, MakeLink<&TQxCubePattern::inUndo>(Pattern));
  link(Button(TTool::Redo)->outClick, MakeLink<&TQxCubePattern::inRedo>(Pattern));
  link(Keys->outTransform, MakeLink<&TQxCubePattern::inTransform>(Pattern));
  link(Keys->outUndo, MakeLink<&TQxCubePattern::inUndo>(Pattern));
  link(Keys->outRedo, MakeLink<&TQxCubePattern::inRedo>(Pattern));
  link(Pattern->outHistory, MakeLink<&TQxPatternKeys::inHistory>(Keys));
  TData history;
  MakeInt(&history, Pattern->HistoryState());
  Keys->inHistory(&history, 0);
}

TPatternTools::~TPatternTools() {
  for (std::size_t i = Buttons.size(); i > 0; --i) delete Buttons[i - 1];
  delete Keys;
}
