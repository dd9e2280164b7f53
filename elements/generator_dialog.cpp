// The generator dialog: controls made once, rows shown and filled for the chosen generator, every
// change regenerating the frames the preview plays. Its own modal loop hands Enter and Esc to the
// system's dialog navigation and Tab to the window library's.
#include "elements/generator_dialog.h"

#include "elements/win.h"
#include "platform/handlers.h"
#include "platform/handles.h"
#include "platform/text_codec.h"

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 326;
constexpr int kFieldsLeft = 220;
constexpr int kFieldLeft = 380;
constexpr int kRowTop = 28;
constexpr int kRowStep = 30;
// The preview: the six layers side by side, layer 1 on the left, as the editor shows them.
constexpr int kPreviewTop = 186;
constexpr int kCell = 7;
constexpr int kLayerGap = 8;
constexpr int kPreviewWidth = 6 * 6 * kCell + 5 * kLayerGap;
constexpr int kPreviewHeight = 6 * kCell;
constexpr COLORREF kLitColor = 0x0000FF;   // the editor's lit LED
constexpr COLORREF kDarkColor = 0xF0CAA6;  // and its dark one
constexpr COLORREF kDarkBlue = 0x800000;
constexpr COLORREF kRefusalColor = 0x0000A0;

void Dress(TControl* c, bool heading, COLORREF color = kDarkBlue) {
  TGraphicTool* font = c->GetFont();
  font->SetFontName("Arial");
  font->SetValue(TGraphicTool::FontHeight, FontHeightForSize(heading ? 8 : 9, ScreenPixelsPerInch()));
  font->SetFontStyle(heading ? 3 : 0);
  font->SetCharSet(204);
  font->SetColor(static_cast<std::int32_t>(heading ? color : 0));
  c->ApplyFont();
  // Fields and the list on the window colour, as the editor's own text fields.
  if (!heading) c->SetColor(SystemColor(COLOR_WINDOW));
}

void Bounds(TControl* c, int left, int top, int width, int height) {
  c->SetBoundsRect({left, top, left + width, top + height});
}

TControl* Label(TControl* form, const char* caption, int left, int top, int width) {
  TControl* label = CreateLabel(form, caption);
  Bounds(label, left, top, width, 18);
  Dress(label, true);
  return label;
}

}  // namespace

TGeneratorDialog::TGeneratorDialog(TControl* owner, const TGeneratorRequest& request)
    : owner_(owner), request_(request) {
  const int count = static_cast<int>(gen::Generators().size());
  generator_ = request.Generator >= 0 && request.Generator < count ? request.Generator : 0;
}

TGeneratorDialog::~TGeneratorDialog() {
  if (timer_ != nullptr) {
    timer_->SetEnabled(false);
    timer_->Free();
  }
  if (form_ != nullptr) form_->Free();  // its controls end with it
}

void TGeneratorDialog::Build() {
  form_ = CreateFormWindow(owner_, "Генератор эффекта");
  form_->SetStyle(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  form_->SetExStyle(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
  form_->SetOnMessage({&FormMessage, this});
  EnableKeyboardNavigation(form_);
  Label(form_, "Генератор:", 8, 8, 200);
  list_ = CreateChildControl(
      form_, "LISTBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      true);
  list_->Id = kListId;
  list_->NavigationKeys = kNavTab;  // the arrows choose in the list, as in the fields below
  Bounds(list_, 8, kRowTop, 200, 282);
  Dress(list_, false);
  BuildRows();
  preview_ = CreatePaintBox(form_);
  preview_->Id = kPreviewId;
  Bounds(preview_, kFieldsLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
  preview_->SetOnPaint({&Paint, this});
  preview_->SetOnMessage({&PreviewMessage, this});
  count_ = Label(form_, "", kFieldsLeft, kPreviewTop + kPreviewHeight + 8, 320);
  count_->Id = kCountId;
  message_ = Label(form_, "", kFieldsLeft, kPreviewTop + kPreviewHeight + 28, 332);
  message_->Id = kMessageId;
  Dress(message_, true, kRefusalColor);
  TControl* insert = CreateButton(form_, "Вставить");
  insert->Id = IDOK;
  insert->SetStyle(insert->GetStyle() | BS_DEFPUSHBUTTON);
  Bounds(insert, 372, 290, 88, 26);
  Dress(insert, true);
  TControl* cancel = CreateButton(form_, "Отмена");
  cancel->Id = IDCANCEL;
  Bounds(cancel, 466, 290, 86, 26);
  Dress(cancel, true);
  form_->SetClientSize(kClientWidth, kClientHeight);
  form_->GetHandle();
  for (std::int32_t i = 0; i < form_->ChildCount(); ++i) form_->ChildAt(i)->GetHandle();
  for (const gen::TGeneratorInfo& info : gen::Generators())
    SendMessageW(list_->Handle, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(WideFromCp1251(info.Caption).c_str()));
  timer_ = CreateTimer(request_.RateMs);
  timer_->SetOnTimer({&Tick, this});
}

void TGeneratorDialog::BuildRows() {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    const int top = kRowTop + static_cast<int>(row) * kRowStep;
    TRow& r = rows_[row];
    r.Label = Label(form_, "", kFieldsLeft, top + 3, kFieldLeft - kFieldsLeft - 6);
    r.Edit = CreateEdit(form_, 0);
    r.Edit->Id = kFirstFieldId + 2 * static_cast<std::int32_t>(row);
    r.Edit->NavigationKeys = kNavTab;
    Bounds(r.Edit, kFieldLeft, top, 172, 24);
    Dress(r.Edit, false);
    r.Choice =
        CreateChildControl(form_, "COMBOBOX", WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, false);
    r.Choice->Id = r.Edit->Id + 1;
    r.Choice->NavigationKeys = kNavTab;
    Bounds(r.Choice, kFieldLeft, top, 172, 240);
    Dress(r.Choice, false);
  }
}

void TGeneratorDialog::ShowRow(std::size_t row, const char* caption, bool choice) {
  TRow& r = rows_[row];
  const bool used = caption != nullptr;
  r.Label->SetCaption(used ? std::string(caption) + ":" : std::string());
  r.Edit->SetVisible(used && !choice);
  r.Choice->SetVisible(used && choice);
  SendMessageW(r.Choice->Handle, CB_RESETCONTENT, 0, 0);
}

void TGeneratorDialog::ShowGenerator(int index) {
  filling_ = true;
  generator_ = index;
  SendMessageW(list_->Handle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const gen::TGeneratorInfo& info = gen::Generators()[static_cast<std::size_t>(index)];
  std::size_t row = 0;
  for (const gen::TParamInfo& param : info.Params) {
    const bool choice = param.Kind == gen::TParamKind::Choice;
    ShowRow(row, param.Caption, choice);
    TRow& r = rows_[row++];
    if (choice) {
      for (const gen::TOption& option : param.Options)
        SendMessageW(r.Choice->Handle, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(WideFromCp1251(option.Caption).c_str()));
      SendMessageW(r.Choice->Handle, CB_SETCURSEL, static_cast<WPARAM>(param.Default), 0);
    } else {
      r.Edit->SetCaption(param.Kind == gen::TParamKind::Text ? param.DefaultText
                                                             : std::to_string(param.Default));
    }
  }
  if (info.Seeded) {
    ShowRow(row, "Зерно случая", false);
    rows_[row++].Edit->SetCaption(std::to_string(gen::kDefaultSeed));
  }
  for (; row < rows_.size(); ++row) ShowRow(row, nullptr, false);
  filling_ = false;
  Refresh();
}

bool TGeneratorDialog::ReadFields(gen::TValues& values, std::uint64_t& seed, gen::TRefusal& refusal) {
  const gen::TGeneratorInfo& info = gen::Generators()[static_cast<std::size_t>(generator_)];
  values = gen::Defaults(info);
  for (std::size_t row = 0; row < info.Params.size(); ++row) {
    const gen::TParamInfo& param = info.Params[row];
    const TRow& r = rows_[row];
    if (param.Kind == gen::TParamKind::Choice)
      values[row].Number = static_cast<int>(SendMessageW(r.Choice->Handle, CB_GETCURSEL, 0, 0));
    else if (param.Kind == gen::TParamKind::Text)
      values[row].Text = r.Edit->GetCaption();
    else
      refusal = gen::ReadNumber(param, r.Edit->GetCaption(), values[row].Number);
    if (refusal.Refused()) return false;
  }
  if (info.Seeded) refusal = gen::ReadSeed(rows_[info.Params.size()].Edit->GetCaption(), seed);
  return !refusal.Refused();
}

bool TGeneratorDialog::Refresh() {
  if (filling_) return false;
  gen::TValues values;
  std::uint64_t seed = gen::kDefaultSeed;
  gen::TRefusal refusal;
  gen::TGenerated made;
  if (ReadFields(values, seed, refusal))
    made =
        gen::Generate(gen::Generators()[static_cast<std::size_t>(generator_)], values, seed, request_.Start);
  else
    made.Refusal = refusal;
  frames_ = std::move(made.Frames);
  shown_ = 0;
  count_->SetCaption(frames_.empty() ? std::string() : "Кадров: " + std::to_string(frames_.size()));
  Say(made.Refusal.Russian);
  timer_->SetEnabled(frames_.size() > 1);
  preview_->Invalidate();
  return !frames_.empty();
}

void TGeneratorDialog::Say(const std::string& message) {
  message_->SetCaption(message);
  if (!message.empty()) MessageBeep(MB_ICONWARNING);
}

void TGeneratorDialog::Insert() {
  if (!Refresh()) return;  // the refusal is on show; nothing goes in
  std::string lines = gen::FramesText(frames_);
  if (!effect::FitsEffect(request_.MemoText,
                          effect::InsertAfterCaretLine(request_.MemoText, request_.Caret, lines))) {
    Say("Не вставлено: эффект стал бы больше, чем редактор открывает (4 МБ)");
    return;
  }
  result_ = std::move(lines);
  done_ = true;
}

bool TGeneratorDialog::Command(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (id == IDOK) {
    Insert();
  } else if (id == IDCANCEL) {
    done_ = true;
  } else if (id == kListId && code == LBN_SELCHANGE) {
    const auto chosen = static_cast<int>(SendMessageW(list_->Handle, LB_GETCURSEL, 0, 0));
    if (chosen >= 0 && chosen != generator_) ShowGenerator(chosen);
  } else if (id >= kFirstFieldId && id < kFirstFieldId + 2 * kRows &&
             (code == EN_CHANGE || code == CBN_SELCHANGE)) {
    Refresh();
  } else {
    return false;
  }
  return true;
}

bool TGeneratorDialog::FormMessage(void* data, TMessage& msg, LRESULT& result) {
  auto* self = static_cast<TGeneratorDialog*>(data);
  if (msg.Message == WM_COMMAND && self->Command(msg.WParam)) {
    result = 0;
    return true;
  }
  if (msg.Message == WM_CLOSE) {  // the caption's close box is Отмена
    self->done_ = true;
    result = 0;
    return true;
  }
  return false;
}

// The preview paints every pixel of itself through one bitmap: no erasing, no flicker.
bool TGeneratorDialog::PreviewMessage(void*, TMessage& msg, LRESULT& result) {
  if (msg.Message != WM_ERASEBKGND) return false;
  result = 1;
  return true;
}

void TGeneratorDialog::Paint(void* data, TControl*, HDC dc) {
  static_cast<TGeneratorDialog*>(data)->PaintPreview(dc);
}

void TGeneratorDialog::PaintPreview(HDC dc) {
  TDC memory = TDC::Memory(dc);
  TOwnedBitmap bitmap(CreateCompatibleBitmap(dc, kPreviewWidth, kPreviewHeight));
  TSelection chosen(memory.Get(), bitmap.Get());
  RECT all{0, 0, kPreviewWidth, kPreviewHeight};
  FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
  const cube::TPattern shown = shown_ < frames_.size() ? frames_[shown_] : cube::TPattern();
  TOwnedBrush lit(CreateSolidBrush(kLitColor));
  TOwnedBrush dark(CreateSolidBrush(kDarkColor));
  for (int layer = 0; layer < cube::kSide; ++layer) {
    for (int row = 0; row < cube::kSide; ++row) {
      for (int column = 0; column < cube::kSide; ++column) {
        const int left = layer * (cube::kSide * kCell + kLayerGap) + column * kCell;
        RECT cell{left, row * kCell, left + kCell - 1, row * kCell + kCell - 1};
        FillRect(memory.Get(), &cell, shown.test(cube::IndexOf(column, row, layer)) ? lit.Get() : dark.Get());
      }
    }
  }
  BitBlt(dc, 0, 0, kPreviewWidth, kPreviewHeight, memory.Get(), 0, 0, SRCCOPY);
}

void TGeneratorDialog::Tick(void* data, TObj*) {
  auto* self = static_cast<TGeneratorDialog*>(data);
  if (self->frames_.empty()) return;
  self->shown_ = (self->shown_ + 1) % self->frames_.size();
  InvalidateRect(self->preview_->Handle, nullptr, FALSE);
}

std::optional<std::string> TGeneratorDialog::RunModal() {
  HWND owner = owner_ != nullptr ? owner_->Handle : nullptr;
  Build();
  ShowGenerator(generator_);
  RECT around{};
  GetWindowRect(owner != nullptr ? owner : GetDesktopWindow(), &around);
  const RECT box = form_->GetBoundsRect();
  form_->SetPosition(around.left + (around.right - around.left - (box.right - box.left)) / 2,
                     around.top + (around.bottom - around.top - (box.bottom - box.top)) / 2);
  ShowWindow(form_->Handle, SW_SHOW);
  if (owner != nullptr) EnableWindow(owner, FALSE);
  SetFocus(list_->Handle);
  MSG msg{};
  while (!done_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop ends too
      break;
    }
    // Tab goes the window library's way, by the order the controls were made in; Enter, Esc and the
    // rest of the keyboard the system's dialog way.
    const bool tab = (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.wParam == VK_TAB;
    if (!tab && IsDialogMessageW(form_->Handle, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  timer_->SetEnabled(false);
  // The owner comes back before the dialog goes, or the system would activate another program.
  if (owner != nullptr) EnableWindow(owner, TRUE);
  ShowWindow(form_->Handle, SW_HIDE);
  return result_;
}
