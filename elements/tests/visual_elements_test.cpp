// Visual elements on a real form: the common base (fonts, mouse, keys, size filter, tab order,
// control lifetime), the LED, the label, the button and the edit, driven by window messages.
#include <gtest/gtest.h>

#include <string>

#include "elements/button.h"
#include "elements/edit.h"
#include "elements/label.h"
#include "elements/led.h"
#include "elements/tests/probe.h"
#include "elements/win.h"
#include "platform/handlers.h"
#include "platform/tests/test_pump.h"
#include "platform/text_codec.h"

namespace {

std::string Text(const TData& d) { return std::string(d.StrValue.view()); }

TControl* MakeForm() {
  TControl* form = CreateFormWindow(nullptr, "elements");
  form->SetBoundsRect({10, 10, 510, 410});
  form->CreateVisible = true;
  form->GetFont();
  form->CreateWindowHandle();
  SetForegroundWindow(form->Handle);
  PumpMessages();
  return form;
}

// One form for the whole suite: showing a window under Wine waits for the display.
class VisualElements : public ::testing::Test {
 protected:
  static TControl* sharedForm;
  TControl* form = nullptr;

  static void SetUpTestSuite() { sharedForm = MakeForm(); }
  static void TearDownTestSuite() {
    sharedForm->Free();
    sharedForm = nullptr;
    PumpMessages();
  }
  void SetUp() override {
    ASSERT_NE(sharedForm->Handle, nullptr);
    form = sharedForm;
    form->SetOnKeyDown({});
    form->DefaultButton = nullptr;
    EnableDelivery();
  }
  void TearDown() override {
    PumpMessages();
    DisableDelivery();
  }

  // The element's properties as the application sets them, then Init.
  template <class E>
  E* Place(E* e, int left, int top, int width, int height) {
    e->Left = left;
    e->Top = top;
    e->Width = width;
    e->Height = height;
    e->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
    e->Init();
    return e;
  }

  TQxLED* MakeLED(int left, int top, int size) {
    auto* led = new TQxLED(form);
    led->OnColor = 255;
    led->OffColor = 0x00F0CAA6;
    led->LightColor = 0xFFFFFF;
    led->Shape = 1;
    led->Bevel = 1;
    return Place(led, left, top, size, size);
  }

  TQxEdit* MakeEdit(const char* text) {
    auto* edit = new TQxEdit(form);
    edit->Text = text;
    edit->ClearAfterEnter = 1;
    edit->TextSource = edit->OwnTextSource();
    Place(edit, 10, 200, 200, 22);
    ::SetFocus(edit->Control->Handle);
    return edit;
  }
};

TControl* VisualElements::sharedForm = nullptr;

void Click(HWND window) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
}

// Two quick clicks on one spot as a window of a double-click class receives them: the second
// button-down arrives as a double click.
void DoubleClick(HWND window) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
}

COLORREF PrintedPixel(HWND window, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixel;
}

void Type(HWND window, char ch) {
  SendMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 0);
  SendMessageW(window, WM_CHAR, WideOfCp1251(static_cast<unsigned char>(ch)), 0);
  SendMessageA(window, WM_KEYUP, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 0);
}

bool HasPendingPaint(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

// --- The common base

TEST(FontHeight, EightPointsAre11PixelsAt96AndThirteenAt120) {
  EXPECT_EQ(FontHeightForSize(8, 96), -11);
  EXPECT_EQ(FontHeightForSize(8, 120), -13);
  EXPECT_EQ(FontHeightForSize(10, 96), -13);
}

TEST_F(VisualElements, FontRecordIsAppliedToTheControlsFont) {
  auto* led = new TQxLED(form);
  led->Font = MakeFontRec("Arial", 8, 1 | 4, 0x123456, 204);
  led->Init();
  const LOGFONTA& f = led->Control->GetFont()->Description.Font;
  EXPECT_EQ(f.lfHeight, FontHeightForSize(8, ScreenPixelsPerInch()));
  EXPECT_EQ(f.lfWeight, 700);
  EXPECT_EQ(f.lfUnderline, 1);
  EXPECT_EQ(f.lfItalic, 0);
  EXPECT_EQ(f.lfCharSet, 204);
  EXPECT_STREQ(f.lfFaceName, "Arial");
  EXPECT_EQ(led->Control->GetFont()->Color(), 0x123456);
  delete led;
}

TEST_F(VisualElements, MouseMoveReportsTheButtonHeldAlone) {
  TQxLED* led = MakeLED(10, 10, 30);
  RecordingSink moves;
  led->outMouseMove = moves.Link();
  const HWND w = led->Control->Handle;
  for (WPARAM keys :
       {WPARAM{MK_LBUTTON}, WPARAM{MK_RBUTTON}, WPARAM{MK_MBUTTON}, WPARAM{MK_LBUTTON | MK_CONTROL},
        WPARAM{0}, WPARAM{MK_LBUTTON | MK_RBUTTON}, WPARAM{MK_RBUTTON | MK_SHIFT}})
    SendMessageA(w, WM_MOUSEMOVE, keys, MAKELPARAM(3, 4));
  ASSERT_EQ(moves.received.size(), 7u);
  const int expected[] = {0, 1, 2, -1, -1, -1, -1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(moves.received[i].IntValue, expected[i]) << i;
  EXPECT_EQ(led->MouseInfo.X, 3);
  EXPECT_EQ(led->MouseInfo.Y, 4);
  delete led;
}

TEST_F(VisualElements, WheelReportsPlusOrMinus120WhateverKeysAreHeld) {
  TQxLED* led = MakeLED(10, 10, 30);
  RecordingSink wheel;
  led->outMouseWheel = wheel.Link();
  const HWND w = led->Control->Handle;
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(20, 20));
  SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL | MK_SHIFT, static_cast<WORD>(-120)),
               MAKELPARAM(20, 20));
  ASSERT_EQ(wheel.received.size(), 2u);
  EXPECT_EQ(wheel.received[0].IntValue, 120);
  EXPECT_EQ(wheel.received[1].IntValue, -120);
  delete led;
}

TEST_F(VisualElements, ButtonDownUpAndDoubleClickReportTheButtonLessOne) {
  TQxLED* led = MakeLED(10, 10, 30);
  RecordingSink downs, ups, doubles;
  led->outMouseDown = downs.Link();
  led->outMouseUp = ups.Link();
  led->outDblClick = doubles.Link();
  const HWND w = led->Control->Handle;
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  SendMessageA(w, WM_RBUTTONUP, 0, 0);
  SendMessageA(w, WM_MBUTTONDOWN, MK_MBUTTON, 0);
  SendMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
  ASSERT_EQ(downs.received.size(), 2u);
  EXPECT_EQ(downs.received[0].IntValue, 1);
  EXPECT_EQ(downs.received[1].IntValue, 2);
  ASSERT_EQ(ups.received.size(), 1u);
  EXPECT_EQ(ups.received[0].IntValue, 1);
  ASSERT_EQ(doubles.received.size(), 1u);
  EXPECT_EQ(doubles.received[0].IntValue, 0);
  delete led;
}

TEST_F(VisualElements, HeightDeltaAnsweringZeroFreezesTheHeight) {
  TQxLED* led = MakeLED(10, 10, 30);
  FixedSource zero;
  MakeInt(&zero.value, 0);
  led->dataHeightDelta = zero.Link();
  led->Control->SetSize(50, 70);
  EXPECT_EQ(led->Control->GetWidth(), 50);
  EXPECT_EQ(led->Control->GetHeight(), 30);
  SetWindowPos(led->Control->Handle, nullptr, 0, 0, 60, 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(led->Control->GetHeight(), 30);
  EXPECT_GE(zero.reads, 2);

  // A width-only change does not ask about the height; an unconnected input lets sizes change.
  const int readsBefore = zero.reads;
  led->Control->SetSize(40, 30);
  EXPECT_EQ(zero.reads, readsBefore);
  led->dataHeightDelta = {};
  led->Control->SetSize(40, 45);
  EXPECT_EQ(led->Control->GetHeight(), 45);
  delete led;
}

TEST_F(VisualElements, WidthDeltaCanCorrectTheProposal) {
  TQxLED* led = MakeLED(10, 10, 30);
  FixedSource five;
  MakeInt(&five.value, 5);
  led->dataWidthDelta = five.Link();
  led->Control->SetSize(100, 30);
  EXPECT_EQ(led->Control->GetWidth(), 35);
  // An answer that is not an integer keeps the proposal.
  MakeStr(&five.value, "7");
  led->Control->SetSize(60, 30);
  EXPECT_EQ(led->Control->GetWidth(), 60);
  delete led;
}

TEST_F(VisualElements, TabOrderZeroKeepsATabStopNegativeRemovesItPositiveOrdersIt) {
  auto* keep = new TQxEdit(form);
  keep->TabOrder = 0;
  Place(keep, 10, 10, 80, 22);
  EXPECT_TRUE(keep->Control->TabStop);
  auto* removed = new TQxEdit(form);
  removed->TabOrder = -1;
  Place(removed, 10, 40, 80, 22);
  EXPECT_FALSE(removed->Control->TabStop);
  auto* ordered = new TQxLED(form);
  ordered->TabOrder = 1;
  Place(ordered, 10, 70, 20, 20);
  EXPECT_EQ(ordered->Control->GetTabOrder(), 1);
  EXPECT_EQ(ordered->Control->NavigationKeys, kNavTab);
  EXPECT_NE(GetWindowLongA(ordered->Control->Handle, GWL_STYLE) & WS_TABSTOP, 0);
  // An LED shows no focus: its place in the order does not make Tab stop on it.
  EXPECT_FALSE(ordered->Control->TabStop);
  auto* orderedEdit = new TQxEdit(form);
  orderedEdit->TabOrder = 2;
  Place(orderedEdit, 10, 100, 80, 22);
  EXPECT_EQ(orderedEdit->Control->GetTabOrder(), 2);
  EXPECT_TRUE(orderedEdit->Control->TabStop) << "an edit stays a stop at its place";
  delete keep;
  delete removed;
  delete ordered;
  delete orderedEdit;
}

TEST_F(VisualElements, TabPassesOverAnOrderedLedToTheNextControl) {
  auto* first = new TQxEdit(form);
  first->TabOrder = 1;
  Place(first, 10, 10, 80, 22);
  auto* led = new TQxLED(form);
  led->TabOrder = 2;
  Place(led, 10, 40, 20, 20);
  auto* last = new TQxEdit(form);
  last->TabOrder = 3;
  Place(last, 10, 70, 80, 22);
  EXPECT_EQ(NextTabControl(form, first->Control, true), last->Control);
  EXPECT_EQ(NextTabControl(form, last->Control, false), first->Control);
  delete first;
  delete led;
  delete last;
}

void SwallowKeyA(void*, TControl*, std::int32_t& key, std::int32_t) {
  if (key == 'A') key = 0;
}

TEST_F(VisualElements, KeySwallowedByTheParentReachesNeitherOutputNorControlNorItsCharacter) {
  TQxEdit* edit = MakeEdit("");
  RecordingSink downs, chars;
  edit->outKeyDown = downs.Link();
  edit->outKeyChar = chars.Link();
  form->SetOnKeyDown({&SwallowKeyA, nullptr});
  const HWND w = edit->Control->Handle;
  ASSERT_EQ(GetFocus(), w);
  SendMessageA(w, WM_KEYDOWN, 'A', 0);
  SendMessageA(w, WM_CHAR, 'a', 0);
  EXPECT_TRUE(downs.received.empty());
  EXPECT_TRUE(chars.received.empty());
  EXPECT_EQ(edit->Control->GetCaption(), "");

  SendMessageA(w, WM_KEYDOWN, 'B', 0);
  SendMessageA(w, WM_CHAR, 'b', 0);
  ASSERT_EQ(downs.received.size(), 1u);
  EXPECT_EQ(downs.received[0].IntValue, 'B');
  ASSERT_EQ(chars.received.size(), 1u);
  EXPECT_EQ(Text(chars.received[0]), "b");
  EXPECT_EQ(edit->Control->GetCaption(), "b");

  // Without KeysToParent the parent does not see the key.
  edit->KeysToParent = 0;
  SendMessageA(w, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(downs.received.size(), 2u);
  form->SetOnKeyDown({});
  delete edit;
}

TEST_F(VisualElements, FocusBlurMoveAndResizeAreReported) {
  TQxEdit* edit = MakeEdit("x");
  auto* other = new TQxEdit(form);
  Place(other, 10, 250, 80, 22);
  RecordingSink focus, blur, moved, resized;
  edit->outFocus = focus.Link();
  edit->outBlur = blur.Link();
  edit->outMove = moved.Link();
  edit->outResize = resized.Link();
  ::SetFocus(other->Control->Handle);
  ::SetFocus(edit->Control->Handle);
  EXPECT_EQ(blur.received.size(), 1u);
  EXPECT_EQ(focus.received.size(), 1u);
  edit->Control->SetPosition(20, 210);
  EXPECT_GE(moved.received.size(), 1u);
  edit->Control->SetSize(150, 22);
  EXPECT_GE(resized.received.size(), 1u);
  delete other;
  delete edit;
}

TEST_F(VisualElements, ControlFreedWithItsFormIsNotFreedAgainByTheElement) {
  TControl* ownForm = MakeForm();
  auto* led = new TQxLED(ownForm);
  Place(led, 10, 10, 20, 20);
  ASSERT_NE(led->Control->Handle, nullptr);
  ownForm->Free();
  EXPECT_EQ(led->ControlGone, 1);
  delete led;
}

TEST_F(VisualElements, EmptyHintAndNoRecordAttachNothing) {
  TQxLED* led = MakeLED(10, 10, 20);
  led->AttachHint(nullptr);
  EXPECT_EQ(led->HintLink, nullptr);
  EXPECT_FALSE(led->Control->Events().OnMouseEnter);
  delete led;
}

struct HintLog {
  int registered = 0, unregistered = 0;
  std::string text;
  HWND window = nullptr;
};
THintId RegisterTip(void* self, HWND window) {
  auto* log = static_cast<HintLog*>(self);
  ++log->registered;
  log->window = window;
  return 77;
}
void UnregisterTip(void* self, THintId id) {
  if (id == 77) ++static_cast<HintLog*>(self)->unregistered;
}
void SetTip(void* self, THintId, const ByteString& text) { static_cast<HintLog*>(self)->text = text.view(); }

TEST_F(VisualElements, HintRecordRegistersTheWindowAndIsUnregisteredAtTheEnd) {
  HintLog log;
  HintCallbacks record;
  record.Register = {&RegisterTip, &log};
  record.Unregister = {&UnregisterTip, &log};
  record.SetTipText = {&SetTip, &log};
  TQxLED* led = MakeLED(10, 10, 20);
  led->Hint = "tip";
  led->AttachHint(&record);
  EXPECT_EQ(log.registered, 1);
  EXPECT_EQ(log.window, led->Control->Handle);
  EXPECT_EQ(log.text, "tip");
  EXPECT_EQ(led->HintId, 77);
  EXPECT_TRUE(led->Control->Events().OnMouseEnter);
  delete led;
  EXPECT_EQ(log.unregistered, 1);
}

TEST_F(VisualElements, Ctl3DTwoKeepsTheCreatedLookAndEdgeStyleNeedsCtl3DZero) {
  auto* kept = new TQxEdit(form);
  kept->EdgeStyle = 2;
  Place(kept, 10, 10, 80, 22);
  const LONG keptEx = GetWindowLongA(kept->Control->Handle, GWL_EXSTYLE);
  EXPECT_NE(keptEx & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(keptEx & WS_EX_STATICEDGE, 0);

  auto* flat = new TQxEdit(form);
  flat->Ctl3D = 1;
  flat->EdgeStyle = 2;
  Place(flat, 10, 40, 80, 22);
  EXPECT_EQ(GetWindowLongA(flat->Control->Handle, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
  EXPECT_NE(flat->Control->GetStyle() & WS_BORDER, 0u);

  auto* edged = new TQxEdit(form);
  edged->Ctl3D = 0;
  edged->EdgeStyle = 2;
  Place(edged, 10, 70, 80, 22);
  const LONG edgedEx = GetWindowLongA(edged->Control->Handle, GWL_EXSTYLE);
  EXPECT_NE(edgedEx & WS_EX_STATICEDGE, 0);
  EXPECT_EQ(edgedEx & WS_EX_CLIENTEDGE, 0);
  delete kept;
  delete flat;
  delete edged;
}

TEST_F(VisualElements, InvisibleElementStaysHiddenAndDestructionRemovesTheWindow) {
  auto* hidden = new TQxLED(form);
  hidden->Visible = 0;
  Place(hidden, 10, 10, 20, 20);
  const HWND w = hidden->Control->Handle;
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(IsWindowVisible(w));
  TQxLED* shown = MakeLED(40, 10, 20);
  EXPECT_TRUE(IsWindowVisible(shown->Control->Handle));
  delete hidden;
  PumpMessages();
  EXPECT_FALSE(IsWindow(w));
  delete shown;
}

TEST_F(VisualElements, MouseCaptureHoldsTheMouseFromDownToUp) {
  auto* led = new TQxLED(form);
  led->MouseCapture = 1;
  Place(led, 10, 10, 20, 20);
  const HWND w = led->Control->Handle;
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(GetCapture(), w);
  SendMessageA(w, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  delete led;
}

TEST_F(VisualElements, KeyUpAndCharactersAreReported) {
  TQxEdit* edit = MakeEdit("");
  RecordingSink ups, chars;
  edit->outKeyUp = ups.Link();
  edit->outKeyChar = chars.Link();
  Type(edit->Control->Handle, 'Q');
  ASSERT_EQ(ups.received.size(), 1u);
  EXPECT_EQ(ups.received[0].IntValue, 'Q');
  ASSERT_EQ(chars.received.size(), 1u);
  EXPECT_EQ(chars.received[0].Kind, dkString);
  EXPECT_EQ(Text(chars.received[0]), "Q");
  delete edit;
}

TEST_F(VisualElements, HintWithoutARecordUsesTheProcessWideManagerWithoutEnterOrLeave) {
  HintLog log;
  HintCallbacks record;
  record.Register = {&RegisterTip, &log};
  record.Unregister = {&UnregisterTip, &log};
  record.SetTipText = {&SetTip, &log};
  ProcessHintCallbacks = &record;
  TQxLED* led = MakeLED(10, 10, 20);
  led->Hint = "process tip";
  led->AttachHint(nullptr);
  ProcessHintCallbacks = nullptr;
  EXPECT_EQ(log.registered, 1);
  EXPECT_EQ(log.text, "process tip");
  EXPECT_EQ(led->HintLink, &record);
  EXPECT_FALSE(led->Control->Events().OnMouseEnter);
  delete led;
  EXPECT_EQ(log.unregistered, 1);
}

// --- LED

TEST_F(VisualElements, LedClickSendsOnlyOutClick) {
  TQxLED* led = MakeLED(10, 10, 20);
  RecordingSink clicks, states;
  led->outClick = clicks.Link();
  led->outState = states.Link();
  Click(led->Control->Handle);
  ASSERT_EQ(clicks.received.size(), 1u);
  EXPECT_EQ(clicks.received[0].Kind, dkEmpty);
  EXPECT_TRUE(states.received.empty());
  EXPECT_EQ(led->State, 0);
  delete led;
}

TEST_F(VisualElements, LedClickLinkedToToggleLightsThenDarkens) {
  TQxLED* led = MakeLED(10, 10, 20);
  RecordingSink states;
  led->outClick = MakeLink<&TQxLED::inToggle>(led);
  led->outState = states.Link();
  TData state;
  Click(led->Control->Handle);
  led->getState(&state, 0);
  EXPECT_EQ(state.IntValue, 1);
  Click(led->Control->Handle);
  led->getState(&state, 0);
  EXPECT_EQ(state.Kind, dkInteger);
  EXPECT_EQ(state.IntValue, 0);
  ASSERT_EQ(states.received.size(), 2u);
  EXPECT_EQ(states.received[0].Kind, dkInteger);
  EXPECT_EQ(states.received[0].IntValue, 1);
  EXPECT_EQ(states.received[1].IntValue, 0);
  delete led;
}

TEST_F(VisualElements, LedDoubleClickCountsAsTwoClicksSoItTogglesBack) {
  TQxLED* led = MakeLED(10, 10, 20);
  RecordingSink clicks;
  led->outClick = clicks.Link();
  DoubleClick(led->Control->Handle);
  EXPECT_EQ(clicks.received.size(), 2u);
  EXPECT_EQ(led->State, 0) << "a click alone changes nothing";
  delete led;
}

TEST_F(VisualElements, LedDoubleClickLinkedToToggleSwitchesTwice) {
  TQxLED* led = MakeLED(10, 10, 20);
  RecordingSink states, doubles;
  led->outClick = MakeLink<&TQxLED::inToggle>(led);
  led->outState = states.Link();
  led->outDblClick = doubles.Link();
  DoubleClick(led->Control->Handle);
  ASSERT_EQ(states.received.size(), 2u);
  EXPECT_EQ(states.received[0].IntValue, 1);
  EXPECT_EQ(states.received[1].IntValue, 0);
  EXPECT_EQ(led->State, 0);
  EXPECT_EQ(doubles.received.size(), 1u) << "the double click is still reported, once";
  // Lit by a single click, then a double click darkens and lights it again.
  Click(led->Control->Handle);
  DoubleClick(led->Control->Handle);
  EXPECT_EQ(led->State, 1);
  EXPECT_EQ(states.received.size(), 5u);
  delete led;
}

TEST_F(VisualElements, LabelDoubleClickStaysOneClickAndADoubleClick) {
  auto* label = new TQxLabel(form);
  label->Caption = "double";
  Place(label, 20, 20, 100, 20);
  RecordingSink clicks, doubles;
  label->outClick = clicks.Link();
  label->outDblClick = doubles.Link();
  DoubleClick(label->Control->Handle);
  EXPECT_EQ(clicks.received.size(), 1u);
  EXPECT_EQ(doubles.received.size(), 1u);
  delete label;
}

TEST_F(VisualElements, InOffOnADarkLedSendsNothingAndDoesNotRepaint) {
  TQxLED* led = MakeLED(10, 10, 20);
  RecordingSink states;
  led->outState = states.Link();
  const HWND w = led->Control->Handle;
  UpdateWindow(w);
  ASSERT_FALSE(HasPendingPaint(w));
  FireEmpty(MakeLink<&TQxLED::inOff>(led));
  EXPECT_FALSE(HasPendingPaint(w));
  EXPECT_TRUE(states.received.empty());

  FireEmpty(MakeLink<&TQxLED::inToggle>(led));
  EXPECT_TRUE(HasPendingPaint(w));
  UpdateWindow(w);
  FireEmpty(MakeLink<&TQxLED::inOff>(led));
  EXPECT_TRUE(HasPendingPaint(w));
  ASSERT_EQ(states.received.size(), 2u);
  EXPECT_EQ(states.received[1].Kind, dkInteger);
  EXPECT_EQ(states.received[1].IntValue, 0);
  EXPECT_EQ(led->State, 0);
  delete led;
}

TEST_F(VisualElements, LedPaintsItsBodyInTheColourOfItsState) {
  TQxLED* led = MakeLED(10, 10, 20);
  const HWND w = led->Control->Handle;
  EXPECT_EQ(PrintedPixel(w, 10, 10), 0x00F0CAA6u);
  FireEmpty(MakeLink<&TQxLED::inToggle>(led));
  EXPECT_EQ(PrintedPixel(w, 10, 10), 0x000000FFu);
  // The pens and brushes were made at Init: a later colour change shows nothing.
  led->OnColor = 0x00FF00;
  EXPECT_EQ(PrintedPixel(w, 10, 10), 0x000000FFu);
  delete led;
}

TEST_F(VisualElements, LedInitialStateComesFromTheProperty) {
  auto* led = new TQxLED(form);
  led->State = 1;
  led->OnColor = 255;
  Place(led, 10, 10, 20, 20);
  RecordingSink states;
  led->outState = states.Link();
  FireEmpty(MakeLink<&TQxLED::inOff>(led));
  ASSERT_EQ(states.received.size(), 1u);
  EXPECT_EQ(states.received[0].IntValue, 0);
  delete led;
}

// --- Label

SIZE Measure(const char* face, int height, bool italic, const std::string& text) {
  HFONT font = CreateFontA(height, 0, 0, 0, 0, italic, 0, 0, 1, 0, 0, 0, 0, face);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  const TWideString wide = WideFromCp1251(text);  // as the label measures it, whatever the locale
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return size;
}

TEST_F(VisualElements, AutoSizedLabelIsOnePixelLargerThanItsText) {
  const int height = FontHeightForSize(8, ScreenPixelsPerInch());
  auto* label = new TQxLabel(form);
  label->SetAutoSize(1);
  label->SetTextAlign(0);
  label->Caption = "СЛОЙ 1";
  Place(label, 20, 20, 200, 50);
  SIZE text = Measure("MS Sans Serif", height, false, "СЛОЙ 1");
  ASSERT_GT(text.cx, 0);
  EXPECT_EQ(label->Control->GetWidth(), text.cx + 1);
  EXPECT_EQ(label->Control->GetHeight(), text.cy + 1);
  EXPECT_EQ(label->Control->GetCaption(), "\xd1\xcb\xce\xc9 1");
  delete label;

  // An italic caption is measured with one blank more.
  auto* italic = new TQxLabel(form);
  italic->SetAutoSize(1);
  italic->Caption = "СЛОЙ 1";
  italic->Left = 20;
  italic->Top = 80;
  italic->Font = MakeFontRec("MS Sans Serif", 8, 2, 0, 1);
  italic->Init();
  text = Measure("MS Sans Serif", height, true, "СЛОЙ 1 ");
  EXPECT_EQ(italic->Control->GetWidth(), text.cx + 1);
  delete italic;
}

TEST_F(VisualElements, LabelClickSendsOutClick) {
  auto* label = new TQxLabel(form);
  label->Caption = "click me";
  Place(label, 20, 20, 100, 20);
  RecordingSink clicks;
  label->outClick = clicks.Link();
  Click(label->Control->Handle);
  EXPECT_EQ(clicks.received.size(), 1u);
  delete label;
}

TEST_F(VisualElements, LabelHoverChangesColourAndUnderlineAndRestoresThem) {
  auto* label = new TQxLabel(form);
  label->Caption = "hover";
  label->HoverColor = 0x0000FF;
  label->HoverUnderline = 1;
  Place(label, 20, 20, 100, 20);
  label->Font.Color = 0x00FF00;
  label->Control->GetFont()->SetColor(0x00FF00);
  RecordingSink enters, leaves;
  label->outMouseEnter = enters.Link();
  label->outMouseLeave = leaves.Link();
  const HWND w = label->Control->Handle;
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(label->Control->GetFont()->Color(), 0x0000FF);
  EXPECT_NE(label->Control->GetFont()->FontStyle() & TGraphicTool::StyleUnderline, 0);
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label->Control->GetFont()->Color(), 0x00FF00);
  EXPECT_EQ(label->Control->GetFont()->FontStyle() & TGraphicTool::StyleUnderline, 0);
  EXPECT_EQ(enters.received.size(), 1u);
  EXPECT_EQ(leaves.received.size(), 1u);
  EXPECT_TRUE(label->Control->Events().OnMouseEnter);
  EXPECT_TRUE(label->Control->Events().OnMouseLeave);
  delete label;
}

TEST_F(VisualElements, LabelWithoutHoverEffectsHasNoEnterOrLeaveHandling) {
  auto* label = new TQxLabel(form);
  label->Caption = "plain";
  Place(label, 20, 20, 100, 20);
  RecordingSink enters;
  label->outMouseEnter = enters.Link();
  SendMessageA(label->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(enters.received.empty());
  EXPECT_FALSE(label->Control->Events().OnMouseEnter);
  EXPECT_FALSE(label->Control->Events().OnMouseLeave);
  delete label;
}

// --- Button

TEST_F(VisualElements, ButtonClickSendsACopyOfItsDataOrAnEmptyValue) {
  auto* withData = new TQxButton(form);
  withData->Caption = "СБРОС КАДРА";
  MakeInt(&withData->Data, 7);
  Place(withData, 10, 10, 120, 25);
  auto* plain = new TQxButton(form);
  Place(plain, 10, 50, 120, 25);
  RecordingSink clicks;
  withData->outClick = clicks.Link();
  plain->outClick = clicks.Link();
  SendMessageA(withData->Control->Handle, BM_CLICK, 0, 0);
  SendMessageA(plain->Control->Handle, BM_CLICK, 0, 0);
  ASSERT_EQ(clicks.received.size(), 2u);
  EXPECT_EQ(clicks.received[0].Kind, dkInteger);
  EXPECT_EQ(clicks.received[0].IntValue, 7);
  EXPECT_EQ(clicks.received[1].Kind, dkEmpty);
  EXPECT_EQ(withData->Data.IntValue, 7);
  const LONG style = GetWindowLongA(withData->Control->Handle, GWL_STYLE);
  EXPECT_NE(style & BS_MULTILINE, 0);
  EXPECT_EQ(style & BS_DEFPUSHBUTTON, 0);
  EXPECT_EQ(form->DefaultButton, nullptr);
  delete withData;
  delete plain;
}

TEST_F(VisualElements, DefaultButtonBecomesTheFormsDefault) {
  auto* button = new TQxButton(form);
  button->Default = 1;
  Place(button, 10, 10, 120, 25);
  EXPECT_EQ(form->DefaultButton, button->Control);
  EXPECT_NE(GetWindowLongA(button->Control->Handle, GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  auto* other = new TQxButton(form);
  Place(other, 10, 50, 120, 25);
  EXPECT_EQ(form->DefaultButton, button->Control);
  delete other;
  delete button;
}

// --- Edit

TEST_F(VisualElements, InitialTextIsNotReportedTypingIs) {
  RecordingSink changes;
  auto* edit = new TQxEdit(form);
  edit->outChange = changes.Link();
  edit->TextSource = edit->OwnTextSource();
  EXPECT_EQ(edit->ChangeArmed, 0);
  Place(edit, 10, 200, 200, 22);
  EXPECT_TRUE(changes.received.empty());
  EXPECT_EQ(edit->ChangeArmed, 1);
  ::SetFocus(edit->Control->Handle);
  Type(edit->Control->Handle, '1');
  Type(edit->Control->Handle, '2');
  ASSERT_EQ(changes.received.size(), 2u);
  EXPECT_EQ(Text(changes.received[0]), "1");
  EXPECT_EQ(Text(changes.received[1]), "12");
  delete edit;
}

TEST_F(VisualElements, InitialNonEmptyTextIsShownAndNotReported) {
  RecordingSink changes;
  auto* edit = new TQxEdit(form);
  edit->outChange = changes.Link();
  edit->TextSource = edit->OwnTextSource();
  edit->Text = "227";
  Place(edit, 10, 200, 200, 22);
  EXPECT_TRUE(changes.received.empty());
  EXPECT_EQ(edit->Control->GetCaption(), "227");
  delete edit;
}

TEST_F(VisualElements, EnterSendsTheTextEmptiesTheLineQuietlyAndSwallowsTheKey) {
  TQxEdit* edit = MakeEdit("");
  RecordingSink enters, changes, downs, chars;
  const HWND w = edit->Control->Handle;
  Type(w, '4');
  Type(w, '2');
  edit->outEnter = enters.Link();
  edit->outChange = changes.Link();
  edit->outKeyDown = downs.Link();
  edit->outKeyChar = chars.Link();
  Type(w, '\r');
  ASSERT_EQ(enters.received.size(), 1u);
  EXPECT_EQ(Text(enters.received[0]), "42");
  EXPECT_EQ(edit->Control->GetCaption(), "");
  EXPECT_TRUE(changes.received.empty());
  EXPECT_TRUE(downs.received.empty());
  EXPECT_TRUE(chars.received.empty());
  // The next character is reported again.
  Type(w, '3');
  ASSERT_EQ(changes.received.size(), 1u);
  EXPECT_EQ(Text(changes.received[0]), "3");
  // Enter on an empty line still sends it, and typing afterwards is still reported.
  enters.received.clear();
  changes.received.clear();
  SetWindowTextA(w, "");
  changes.received.clear();
  Type(w, '\r');
  ASSERT_EQ(enters.received.size(), 1u);
  EXPECT_EQ(Text(enters.received[0]), "");
  Type(w, '5');
  ASSERT_EQ(changes.received.size(), 1u);
  EXPECT_EQ(Text(changes.received[0]), "5");
  delete edit;
}

TEST_F(VisualElements, EnterWithOutEnterUnconnectedIsAnOrdinaryKey) {
  TQxEdit* edit = MakeEdit("ab");
  RecordingSink downs;
  edit->outKeyDown = downs.Link();
  Type(edit->Control->Handle, '\r');
  ASSERT_EQ(downs.received.size(), 1u);
  EXPECT_EQ(downs.received[0].IntValue, 13);
  EXPECT_EQ(edit->Control->GetCaption(), "ab");
  delete edit;
}

bool NoText(void*, TData*) { return false; }

TEST_F(VisualElements, EnterWithoutAValueIsConsumedAndClearsNothing) {
  TQxEdit* edit = MakeEdit("keep");
  edit->TextSource = {&NoText, nullptr};
  RecordingSink enters, downs;
  edit->outEnter = enters.Link();
  edit->outKeyDown = downs.Link();
  Type(edit->Control->Handle, '\r');
  EXPECT_TRUE(enters.received.empty());
  EXPECT_TRUE(downs.received.empty());
  EXPECT_EQ(edit->Control->GetCaption(), "keep");
  delete edit;
}

DWORD Caret(HWND w) {
  DWORD end = 0;
  SendMessageA(w, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
  return end;
}

TEST_F(VisualElements, InTextKeepsTheCaretAndReportsTheChange) {
  TQxEdit* edit = MakeEdit("abcdef");
  RecordingSink changes;
  edit->outChange = changes.Link();
  const HWND w = edit->Control->Handle;
  SendMessageA(w, EM_SETSEL, 3, 3);
  FireStr(MakeLink<&TQxEdit::inText>(edit), "0,1,215,227");
  EXPECT_EQ(edit->Control->GetCaption(), "0,1,215,227");
  EXPECT_EQ(Caret(w), 3u);
  ASSERT_EQ(changes.received.size(), 1u);
  EXPECT_EQ(Text(changes.received[0]), "0,1,215,227");
  // A shorter text leaves the caret at its end.
  SendMessageA(w, EM_SETSEL, 9, 9);
  FireStr(MakeLink<&TQxEdit::inText>(edit), "227");
  EXPECT_EQ(Caret(w), 3u);
  delete edit;
}

TEST_F(VisualElements, InTextReadsAConnectedDataInputFirst) {
  TQxEdit* edit = MakeEdit("");
  FixedSource source;
  MakeStr(&source.value, "from source");
  edit->dataText = source.Link();
  FireStr(MakeLink<&TQxEdit::inText>(edit), "incoming");
  EXPECT_EQ(edit->Control->GetCaption(), "from source");
  delete edit;
}

TEST_F(VisualElements, EditOptionsReachTheControl) {
  auto* edit = new TQxEdit(form);
  edit->ReadOnly = 1;
  edit->Password = 1;
  edit->TextAlign = 2;
  edit->MaxLength = 4;
  edit->Text = "abcdefgh";
  Place(edit, 10, 200, 200, 22);
  const LONG style = GetWindowLongA(edit->Control->Handle, GWL_STYLE);
  EXPECT_NE(style & ES_READONLY, 0);
  EXPECT_NE(style & ES_PASSWORD, 0);
  EXPECT_NE(style & ES_CENTER, 0);
  EXPECT_EQ(SendMessageA(edit->Control->Handle, EM_GETLIMITTEXT, 0, 0), 4);
  delete edit;
}

}  // namespace
