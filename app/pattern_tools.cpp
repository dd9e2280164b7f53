// TPatternTools: the tool strip's layout as one table, the wiring as rules, and the key element.
#include "app/pattern_tools.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "platform/handlers.h"
#include "platform/text_codec.h"

namespace {

using pattern_keys::TTool;

// Two rows in the strip right of the title, above layers 3-5, clear of both.
constexpr int kRow1 = 38;
constexpr int kRow2 = 67;
constexpr int kRowHeight = 25;

struct TToolButton {
  TTool Tool;
  int Left, Top, Width;
  const char* Caption;
  const char* Hint;  // the key name follows
};

constexpr std::array<TToolButton, 15> kToolButtons{{
    {TTool::ShiftXMinus, 510, kRow1, 32, "X–", "Сдвиг на один столбец влево"},
    {TTool::ShiftXPlus, 545, kRow1, 32, "X+", "Сдвиг на один столбец вправо"},
    {TTool::ShiftYMinus, 580, kRow1, 32, "Y–", "Сдвиг на один ряд назад"},
    {TTool::ShiftYPlus, 615, kRow1, 32, "Y+", "Сдвиг на один ряд вперёд"},
    {TTool::ShiftZMinus, 650, kRow1, 32, "Z–", "Сдвиг на один слой вниз"},
    {TTool::ShiftZPlus, 685, kRow1, 32, "Z+", "Сдвиг на один слой вверх"},
    {TTool::Wrap, 725, kRow1, 100, nullptr,
     "Сдвиг по кругу: ушедшие за край светодиоды входят с другой стороны"},
    {TTool::Rotate, 828, kRow1, 70, "Поворот", "Поворот на 90° вокруг вертикальной оси"},
    {TTool::MirrorX, 510, kRow2, 72, "Зеркало X", "Отражение столбцов"},
    {TTool::MirrorY, 585, kRow2, 72, "Зеркало Y", "Отражение рядов"},
    {TTool::MirrorZ, 660, kRow2, 72, "Зеркало Z", "Отражение слоёв"},
    {TTool::Invert, 735, kRow2, 66, "Инверсия", "Погасить горящие, зажечь погашенные"},
    {TTool::LightAll, 804, kRow2, 36, "Все", "Зажечь все светодиоды"},
    {TTool::Undo, 843, kRow2, 68, "Отменить", "Отменить изменение светодиодов"},
    {TTool::Redo, 914, kRow2, 64, "Вернуть", "Вернуть отменённое изменение"},
}};

constexpr std::int32_t kCodeOf[] = {
    0,  // None
    TQxCubePattern::ctShiftXMinus,
    TQxCubePattern::ctShiftXPlus,
    TQxCubePattern::ctShiftYMinus,
    TQxCubePattern::ctShiftYPlus,
    TQxCubePattern::ctShiftZMinus,
    TQxCubePattern::ctShiftZPlus,
    0,  // Wrap
    TQxCubePattern::ctRotateZ,
    TQxCubePattern::ctMirrorX,
    TQxCubePattern::ctMirrorY,
    TQxCubePattern::ctMirrorZ,
    TQxCubePattern::ctInvert,
    TQxCubePattern::ctLightAll,
};

// Edit controls keep their keys: the frame line, the effect text and any other text field. The
// window library's classes wrap the system ones under "obj_" + the system name.
bool FocusInText() {
  HWND focus = GetFocus();
  if (focus == nullptr) return false;
  wchar_t name[64] = {};
  GetClassNameW(focus, name, 64);
  std::string lower = Cp1251FromWide(name);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const auto endsWith = [&lower](std::string_view tail) {
    return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  return lower == "edit" || endsWith("_edit") || lower.rfind("richedit", 0) == 0;
}

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
      FireInt(outTransform, kCodeOf[static_cast<int>(tool)] + (Wrap != 0 ? wrapped : 0));
      return;
    }
    default:
      FireInt(outTransform, kCodeOf[static_cast<int>(tool)]);
      return;
  }
}

void TQxPatternKeys::inShift(TData*, std::uint16_t index) {
  if (index < 6) Request(static_cast<TTool>(static_cast<int>(TTool::ShiftXMinus) + index));
}

void TQxPatternKeys::inWrap(TData*, std::uint16_t) { Request(TTool::Wrap); }

void TQxPatternKeys::inKey(TData* d, std::uint16_t) {
  const std::int32_t shift = KeyShiftState();
  const TTool tool = pattern_keys::ToolOf(AsInt(d), (shift & kCtrlKey) != 0, (shift & kShiftKey) != 0,
                                          (shift & kAltKey) != 0);
  if (tool == TTool::None || FocusInText()) return;
  if (Form != nullptr) Form->KeyOverride = 0;
  Request(tool);
}

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
  Keys->Form = form.EditorWindow;

  TControl* parent = form.EditorWindow->Control;
  for (const TToolButton& row : kToolButtons) {
    const std::string hint = std::string(row.Hint) + " (" + pattern_keys::KeyNameOf(row.Tool) + ")";
    // Off the tab order, so the designed order stays as it is; the keys reach every tool.
    TQxButton* button = form_controls::MakeButton(
        parent, row.Left, row.Top, row.Width, kRowHeight, 8,
        row.Caption != nullptr ? row.Caption : TQxPatternKeys::WrapCaption(false), {-1, hint.c_str()});
    button->AttachHint(nullptr);
    Buttons[static_cast<int>(row.Tool) - 1] = button;
  }
  Keys->WrapButton = Button(TTool::Wrap);
  Keys->UndoButton = Button(TTool::Undo);
  Keys->RedoButton = Button(TTool::Redo);

  link(form.EditorWindow->outKeyDown, MakeLink<&TQxPatternKeys::inKey>(Keys));
  for (int i = 0; i < 6; ++i) {
    TQxButton* shift = Button(static_cast<TTool>(static_cast<int>(TTool::ShiftXMinus) + i));
    link(shift->outClick, MakeLink<&TQxPatternKeys::inShift>(Keys, static_cast<std::uint16_t>(i)));
  }
  link(Button(TTool::Wrap)->outClick, MakeLink<&TQxPatternKeys::inWrap>(Keys));
  for (TTool tool :
       {TTool::Rotate, TTool::MirrorX, TTool::MirrorY, TTool::MirrorZ, TTool::Invert, TTool::LightAll}) {
    TQxButton* button = Button(tool);
    MakeInt(&button->Data, kCodeOf[static_cast<int>(tool)]);
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
