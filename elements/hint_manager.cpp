// The hint manager over the system tooltip control.
#include "elements/hint_manager.h"

#include <algorithm>
#include <cstring>

#include "platform/app.h"
#include "platform/colors.h"
#include "platform/control.h"
#include "platform/startup_trace.h"
#include "platform/text_codec.h"

TQxHintManager* HintManager = nullptr;

namespace {

THintTool* ToolOf(THintId id) { return reinterpret_cast<THintTool*>(id); }

HFONT CreateTipFont(const TFontRec& font) {
  LOGFONTW lf{};
  lf.lfHeight = FontHeightForSize(font.Size, ScreenPixelsPerInch());
  lf.lfWeight = (font.Style & 1) != 0 ? 700 : 0;
  lf.lfItalic = (font.Style & 2) != 0 ? 1 : 0;
  lf.lfUnderline = (font.Style & 4) != 0 ? 1 : 0;
  lf.lfStrikeOut = (font.Style & 8) != 0 ? 1 : 0;
  lf.lfCharSet = font.CharSet;
  const TWideString name = WideFromCp1251(font.Name.view());
  const std::size_t nameLength = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  std::copy_n(name.data(), nameLength, lf.lfFaceName);
  return CreateFontIndirectW(&lf);
}

}  // namespace

TQxHintManager::TQxHintManager() {
  Callbacks = new HintCallbacks();
  HintCallbacks& c = *Callbacks;
  c.Register = decltype(c.Register)::Member<&TQxHintManager::Register>(this);
  c.Unregister = decltype(c.Unregister)::Member<&TQxHintManager::Unregister>(this);
  c.SetTipText = decltype(c.SetTipText)::Member<&TQxHintManager::SetTipText>(this);
  c.SetTipTitle = decltype(c.SetTipTitle)::Member<&TQxHintManager::SetTipTitle>(this);
  c.TipEnter = decltype(c.TipEnter)::Member<&TQxHintManager::TipEnter>(this);
  c.TipLeave = decltype(c.TipLeave)::Member<&TQxHintManager::TipLeave>(this);
  c.TipMove = decltype(c.TipMove)::Member<&TQxHintManager::TipMove>(this);
}

TQxHintManager::~TQxHintManager() {
  if (idleTimer_ != 0) KillTimer(nullptr, idleTimer_);
  if (ProcessHintCallbacks == Callbacks) ProcessHintCallbacks = nullptr;
  delete Callbacks;
}

void TQxHintManager::InitHintManager() {
  Font = MakeFontRec("Tahoma", 8, 0, 0, 1);
  RectTips = 1;
  InitialDelay = 500;
  AutoPopDelay = 5000;
  Tracking = 0;
  Margin = 0;
  BackColor = ElementSystemColor(COLOR_INFOBK);
  Font.Color = ElementSystemColor(COLOR_INFOTEXT);
}

THintId TQxHintManager::Register(HWND owner) {
  auto* tool = new THintTool();
  tool->Manager = this;
  TOOLINFOW& info = tool->Info;
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(owner);
  info.lpszText = tool->Text.data();
  // The tooltip window waits for the mouse, or for the program to fall idle after its first paint
  // (a thread timer ticks only once no paint waits): dozens of them made at start would delay it.
  TControl* control = ControlOfWindow(owner);
  if (control != nullptr) {
    waiting_[owner] = tool;
    control->AttachHandler(&FirstHover, false);
    if (idleTimer_ == 0) idleTimer_ = SetTimer(nullptr, 0, 0, &MakeWaitingTips);
  } else {
    MakeTipWindow(reinterpret_cast<THintId>(tool));
  }
  return reinterpret_cast<THintId>(tool);
}

HWND TQxHintManager::MakeTipWindow(THintId id) {
  THintTool* tool = ToolOf(id);
  if (tool == nullptr) return nullptr;
  if (HWND made = TipWindow(id)) return made;
  TStartupSpan span("tooltips");
  TOOLINFOW& info = tool->Info;
  StopWaiting(*tool);
  static const bool commonControlsReady = [] {
    InitCommonControlClasses(ICC_WIN95_CLASSES);
    return true;
  }();
  if (!commonControlsReady) return nullptr;
  DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  if (RectTips == 0) style |= TTS_BALLOON;
  HWND tip =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, info.hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tip == nullptr) return nullptr;
  tool->Font.Reset(CreateTipFont(Font));
  info.lpszText = tool->Text.data();
  SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(tool->Font.Get()), 0);
  SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(tip, TTM_SETTIPTEXTCOLOR, ResolveColor(Font.Color), 0);
  SendMessageW(tip, TTM_SETTIPBKCOLOR, ResolveColor(BackColor), 0);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, InitialDelay);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, AutoPopDelay);
  RECT margin = {Margin, Margin, Margin, Margin};
  SendMessageW(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  if (tool->HasTitle)
    SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(tool->TitleIcon),
                 reinterpret_cast<LPARAM>(WideFromCp1251(tool->Title).c_str()));
  info.lParam = reinterpret_cast<LPARAM>(tip);
  return tip;
}

bool TQxHintManager::FirstHover(TControl*, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_MOUSEMOVE || HintManager == nullptr) return false;
  const auto waiting = HintManager->waiting_.find(msg.Window);
  if (waiting == HintManager->waiting_.end()) return false;
  THintTool* tool = waiting->second;
  // The tooltip hooks the owner only from now on, so this first move is handed to it directly.
  if (HWND tip = tool->Manager->MakeTipWindow(reinterpret_cast<THintId>(tool))) {
    MSG move{msg.Window, msg.Message, msg.WParam, msg.LParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&move.pt);
    SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  }
  return false;
}

void CALLBACK TQxHintManager::MakeWaitingTips(HWND, UINT, UINT_PTR timer, DWORD) {
  // A thread timer ticks only once no paint waits: the whole window is painted by now.
  StartupStamp("idle, every paint done");
  KillTimer(nullptr, timer);
  if (HintManager == nullptr) return;
  HintManager->idleTimer_ = 0;
  while (!HintManager->waiting_.empty())
    HintManager->MakeTipWindow(reinterpret_cast<THintId>(HintManager->waiting_.begin()->second));
}

void TQxHintManager::StopWaiting(THintTool& tool) {
  const auto waiting = waiting_.find(tool.Info.hwnd);
  if (waiting == waiting_.end() || waiting->second != &tool) return;
  waiting_.erase(waiting);
  if (TControl* control = ControlOfWindow(tool.Info.hwnd)) control->DetachHandler(&FirstHover);
}

void TQxHintManager::Unregister(THintId id) {
  THintTool* tool = ToolOf(id);
  if (tool == nullptr) return;
  StopWaiting(*tool);
  HWND tip = TipWindow(id);
  if (tip != nullptr) {
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool->Info));
    DestroyWindow(tip);
  }
  // The window is gone before its font, so it never draws with a deleted one.
  delete tool;
}

void TQxHintManager::SetTipText(THintId id, const ByteString& text) {
  THintTool* tool = ToolOf(id);
  if (tool == nullptr) return;
  tool->Text = WideFromCp1251(text.view());
  tool->Info.lpszText = tool->Text.data();
  if (HWND tip = TipWindow(id); tip != nullptr)
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool->Info));
}

void TQxHintManager::SetTipTitle(std::int32_t icon, THintId id, const ByteString& title) {
  THintTool* tool = ToolOf(id);
  if (tool == nullptr) return;
  tool->HasTitle = true;
  tool->TitleIcon = icon;
  tool->Title.assign(title.data(), title.size());
  if (HWND tip = TipWindow(id); tip != nullptr)
    SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(icon),
                 reinterpret_cast<LPARAM>(WideFromCp1251(title.view()).c_str()));
}

void TQxHintManager::TipEnter(THintId id) {
  if (Tracking == 0) return;
  if (HWND tip = MakeTipWindow(id); tip != nullptr)
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ToolOf(id)->Info));
}

void TQxHintManager::TipLeave(THintId id) {
  if (Tracking == 0) return;
  if (HWND tip = TipWindow(id); tip != nullptr)
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ToolOf(id)->Info));
}

void TQxHintManager::TipMove(THintId id, std::int32_t x, std::int32_t y) {
  if (Tracking == 0) return;
  if (HWND tip = TipWindow(id); tip != nullptr)
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

HWND TQxHintManager::TipWindow(THintId id) {
  const THintTool* tool = ToolOf(id);
  return tool == nullptr ? nullptr : reinterpret_cast<HWND>(tool->Info.lParam);
}

void StartHintManager() {
  if (HintManager != nullptr) return;
  HintManager = new TQxHintManager();
  HintManager->InitHintManager();
  ProcessHintCallbacks = HintManager->Callbacks;
}

void FinishHintManager() {
  delete HintManager;
  HintManager = nullptr;
}
