// Window objects: message routing through the layers, reflected notifications, lazy creation,
// destruction, geometry defaults, captions, styles, tab order, long texts, closing.
#include "platform/control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace {

constexpr UINT kProbe = WM_APP + 17;

std::vector<std::string> calls;
std::string stopAt;  // the layer that reports "handled"

bool Note(const char* layer, const TMessage& msg) {
  if (msg.Message != kProbe) return false;
  calls.emplace_back(layer);
  return stopAt == layer;
}

bool GlobalLayer(TControl*, TMessage& m, LRESULT&) { return Note("global", m); }
bool AppLayer(void*, TMessage& m, LRESULT&) { return Note("app", m); }
bool SelfLayer(void*, TMessage& m, LRESULT&) { return Note("self", m); }
bool HandlerA(TControl*, TMessage& m, LRESULT&) { return Note("A", m); }
bool HandlerB(TControl*, TMessage& m, LRESULT& r) {
  r = 42;
  return Note("B", m);
}
bool HandlerC(TControl*, TMessage& m, LRESULT&) { return Note("C", m); }
bool ExtraLayer(TControl*, TMessage& m, LRESULT&) { return Note("extra", m); }
bool AfterLayer(TControl*, TMessage& m, LRESULT&) {
  Note("after", m);
  return false;
}
LRESULT CALLBACK BaseLayer(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kProbe) calls.emplace_back("base");
  return DefWindowProcA(w, m, wp, lp);
}
bool FreeingHandler(TControl* self, TMessage& m, LRESULT&) {
  if (m.Message != kProbe) return false;
  calls.emplace_back("free");
  self->Free();
  return false;
}
void NoteDestroyed(void* data, TObj*) {
  calls.emplace_back("destroyed");
  if (data != nullptr) ++*static_cast<int*>(data);
}
void CountDestroyed(void* data, TObj*) { ++*static_cast<int*>(data); }

// Keeps the process-wide loop state and hooks of one test from leaking into the next.
class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    stopAt.clear();
  }
  void TearDown() override {
    GlobalMessageHook = IgnoreMessage;
    AppWindow = nullptr;
    AppRunning = false;
    AppTerminated = false;
    DiscardMessages();
  }
};

std::string Pattern(std::size_t length, char first = 'a') {
  std::string s(length, ' ');
  for (std::size_t i = 0; i < length; ++i) s[i] = static_cast<char>(first + static_cast<char>(i % 26));
  return s;
}

// --- Routing

TEST_F(Controls, MessageRoutingRunsEveryLayerInOrderNewestHandlerFirst) {
  TControl* app = CreateAppWindow("routing app");
  TControl* form = CreateFormWindow(app, "routing form");
  TControl* box = CreatePaintBox(form);
  box->BaseWindowProc = BaseLayer;
  box->SetBoundsRect({0, 0, 20, 20});
  ASSERT_NE(form->GetHandle(), nullptr);
  ASSERT_NE(box->Handle, nullptr);

  AppWindow = app;
  AppRunning = true;
  GlobalMessageHook = GlobalLayer;
  app->SetOnMessage({AppLayer, nullptr});
  box->SetOnMessage({SelfLayer, nullptr});
  box->AttachHandler(HandlerA, false);
  box->AttachHandler(HandlerB, false);
  box->AttachHandler(HandlerC, false);
  box->AttachHandler(HandlerA, false);  // already attached: stays where it was
  box->ExtraHandler = ExtraLayer;
  box->AfterMessageHook = AfterLayer;

  SendMessageA(box->Handle, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"global", "app", "self", "C", "B", "A", "extra", "base"}));

  calls.clear();
  stopAt = "B";
  EXPECT_EQ(SendMessageA(box->Handle, kProbe, 0, 0), 42);
  EXPECT_EQ(calls, (std::vector<std::string>{"global", "app", "self", "C", "B", "after"}));

  calls.clear();
  stopAt = "self";
  SendMessageA(box->Handle, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"global", "app", "self", "after"}));

  // The application window's OnMessage sees other windows' messages only while the loop runs.
  calls.clear();
  stopAt.clear();
  AppRunning = false;
  box->DetachHandler(HandlerB);
  SendMessageA(box->Handle, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"global", "self", "C", "A", "extra", "base"}));

  app->Free();
}

TEST_F(Controls, AfterTerminationOnlyKeptHandlersRunAndNoAfterHook) {
  TControl* box = CreatePaintBox(CreateFormWindow(nullptr, "terminated form"));
  TControl* form = box->GetParent();
  box->BaseWindowProc = BaseLayer;
  ASSERT_NE(form->GetHandle(), nullptr);
  box->AttachHandler(HandlerA, true);
  box->AttachHandler(HandlerC, false);
  box->AfterMessageHook = AfterLayer;
  AppTerminated = true;
  stopAt = "A";
  SendMessageA(box->Handle, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"A"}));
  AppTerminated = false;
  calls.clear();
  SendMessageA(box->Handle, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"C", "A", "after"}));
  form->Free();
}

TEST_F(Controls, FreeInsideTheChainEndsTheMessageAndDestroysAfterIt) {
  TControl* form = CreateFormWindow(nullptr, "free in chain");
  TControl* box = CreatePaintBox(form);
  box->BaseWindowProc = BaseLayer;
  ASSERT_NE(form->GetHandle(), nullptr);
  HWND boxWindow = box->Handle;
  int destroyed = 0;
  box->OnDestroy = {NoteDestroyed, &destroyed};
  box->AttachHandler(FreeingHandler, false);
  box->ExtraHandler = ExtraLayer;
  SendMessageA(boxWindow, kProbe, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"free", "destroyed"}));
  EXPECT_EQ(destroyed, 1);
  EXPECT_FALSE(IsWindow(boxWindow));
  EXPECT_EQ(form->ChildCount(), 0);
  form->Free();
}

// --- Reflected notifications

struct Clicks {
  std::vector<std::string> seen;
  TObj* sender = nullptr;
};
void OnClickNote(void* data, TObj* sender) {
  static_cast<Clicks*>(data)->seen.emplace_back("click");
  static_cast<Clicks*>(data)->sender = sender;
}
void OnChangeNote(void* data, TObj* sender) {
  static_cast<Clicks*>(data)->seen.emplace_back("change");
  static_cast<Clicks*>(data)->sender = sender;
}
void OnFocusNote(void* data, TObj*) { static_cast<Clicks*>(data)->seen.emplace_back("focus"); }
Clicks* preClickLog = nullptr;
void PreClickNote(TControl*) { preClickLog->seen.emplace_back("pre"); }

TEST_F(Controls, ReflectedCommandsReachTheChildsClickAndChangeEvents) {
  TControl* form = CreateFormWindow(nullptr, "reflect form");
  TControl* button = CreateButton(form, "Press");
  TControl* edit = CreateEdit(form, 0);
  TControl* label = CreateLabel(form, "label");
  button->SetBoundsRect({10, 10, 90, 32});
  edit->SetBoundsRect({10, 40, 110, 62});
  label->SetBoundsRect({10, 70, 90, 92});
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());

  Clicks log;
  preClickLog = &log;
  button->SetOnClick({OnClickNote, &log});
  button->PreClick = PreClickNote;
  SendMessageA(button->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(log.seen, (std::vector<std::string>{"pre", "click"}));
  EXPECT_EQ(log.sender, button);

  log.seen.clear();
  button->SuppressClick = true;
  SendMessageA(button->Handle, BM_CLICK, 0, 0);
  EXPECT_TRUE(log.seen.empty());

  edit->SetOnChange({OnChangeNote, &log});
  edit->SetOnFocusGained({OnFocusNote, &log});
  SetWindowTextA(edit->Handle, "12");
  EXPECT_EQ(log.seen, (std::vector<std::string>{"change"}));
  EXPECT_EQ(log.sender, edit);
  log.seen.clear();
  ::SetFocus(edit->Handle);
  EXPECT_EQ(log.seen, (std::vector<std::string>{"focus"}));
  EXPECT_EQ(form->CurrentControl, edit);

  // Every notification 0 of a label is a click.
  log.seen.clear();
  label->SetOnClick({OnClickNote, &log});
  SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(label->Id, STN_CLICKED),
               reinterpret_cast<LPARAM>(label->Handle));
  EXPECT_EQ(log.seen, (std::vector<std::string>{"click"}));
  EXPECT_EQ(log.sender, label);
  form->Free();
}

// A listener that writes its name down; `removes` leaves with another listener's data first.
struct ChangeListener {
  std::vector<std::string>* seen = nullptr;
  const char* name = "";
  TControl* control = nullptr;
  const void* removes = nullptr;
};
void OnChangeListen(void* data, TObj* sender) {
  auto* self = static_cast<ChangeListener*>(data);
  self->seen->emplace_back(self->name);
  EXPECT_EQ(sender, self->control);
  if (self->removes != nullptr) self->control->RemoveChangeListener(self->removes);
}

TEST_F(Controls, ChangeListenersHearTheChangeAfterTheOwnHandlerWhichStaysInPlace) {
  TControl* form = CreateFormWindow(nullptr, "change listeners form");
  TControl* edit = CreateEdit(form, 0);
  edit->SetBoundsRect({10, 40, 110, 62});
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());

  Clicks own;
  edit->SetOnChange({OnChangeNote, &own});
  std::vector<std::string> seen;
  ChangeListener first{&seen, "first", edit};
  ChangeListener second{&seen, "second", edit};
  edit->AddChangeListener({OnChangeListen, &first});
  edit->AddChangeListener({OnChangeListen, &second});
  edit->AddChangeListener({OnChangeListen, &first});  // once per data: still one, now last
  SetWindowTextA(edit->Handle, "12");
  EXPECT_EQ(own.seen, (std::vector<std::string>{"change"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(edit->Events().OnChange.Data, &own);  // nobody took the owner's handler

  // A listener removed by another before its turn is not told; the owner's handler still is.
  seen.clear();
  second.removes = &first;
  SetWindowTextA(edit->Handle, "123");
  EXPECT_EQ(seen, (std::vector<std::string>{"second"}));
  EXPECT_EQ(own.seen.size(), 2u);

  edit->RemoveChangeListener(&second);
  seen.clear();
  SetWindowTextA(edit->Handle, "1234");
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(own.seen.size(), 3u);

  // Dropping the events drops the listeners with them.
  edit->AddChangeListener({OnChangeListen, &first});
  edit->ClearEvents();
  SetWindowTextA(edit->Handle, "5");
  EXPECT_TRUE(seen.empty());
  form->Free();
}

TEST_F(Controls, DoubleClickNotificationIsAClickOnlyForAControlThatAsksForIt) {
  TControl* form = CreateFormWindow(nullptr, "double click form");
  TControl* label = CreateLabel(form, "label");
  TControl* button = CreateButton(form, "Press");
  label->SetBoundsRect({10, 10, 90, 32});
  button->SetBoundsRect({10, 40, 90, 62});
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());
  Clicks log;
  label->SetOnClick({OnClickNote, &log});
  button->SetOnClick({OnClickNote, &log});
  auto notify = [&](TControl* c, WORD code) {
    SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(c->Id, code), reinterpret_cast<LPARAM>(c->Handle));
  };

  notify(label, STN_DBLCLK);
  notify(button, BN_DOUBLECLICKED);
  EXPECT_TRUE(log.seen.empty()) << "by default a double click is no click";

  label->DoubleClickIsClick = true;
  notify(label, STN_DBLCLK);
  EXPECT_EQ(log.seen, (std::vector<std::string>{"click"}));
  EXPECT_EQ(log.sender, label);
  label->SuppressClick = true;
  notify(label, STN_DBLCLK);
  EXPECT_EQ(log.seen.size(), 1u) << "suppressed like any click";

  // The real control sends the notification itself when its window gets a double click.
  label->SuppressClick = false;
  log.seen.clear();
  SendMessageA(label->Handle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(log.seen, (std::vector<std::string>{"click"}));
  form->Free();
}

TEST_F(Controls, ReflectedColourQueryAnswersWithTheChildsColours) {
  TControl* form = CreateFormWindow(nullptr, "colour form");
  TControl* label = CreateLabel(form, "label");
  label->SetColor(0x00123456);
  label->SetTextColor(0x00654321);
  ASSERT_NE(form->GetHandle(), nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush =
      reinterpret_cast<HBRUSH>(SendMessageA(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(label->Handle)));
  ASSERT_NE(brush, nullptr);
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, 0x00123456u);
  EXPECT_EQ(GetTextColor(dc), 0x00654321u);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);

  label->SetTransparent(true);
  brush = reinterpret_cast<HBRUSH>(SendMessageA(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(label->Handle)));
  EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  DeleteDC(dc);
  form->Free();
}

// --- Lazy creation and destruction

TEST_F(Controls, WindowsAreCreatedOnlyWhenNeededParentsFirst) {
  TControl* form = CreateFormWindow(nullptr, "lazy form");
  TControl* edit = CreateEdit(form, 0);
  TControl* label = CreateLabel(form, "x");
  EXPECT_EQ(form->Handle, nullptr);
  EXPECT_EQ(edit->Handle, nullptr);
  edit->SetCaption("text");
  EXPECT_EQ(edit->Handle, nullptr);

  ASSERT_NE(edit->GetHandle(), nullptr);
  ASSERT_NE(form->Handle, nullptr);
  EXPECT_EQ(GetParent(edit->Handle), form->Handle);
  EXPECT_NE(label->Handle, nullptr);  // created with its parent
  EXPECT_EQ(ControlOfWindow(edit->Handle), edit);
  EXPECT_EQ(ControlOfWindow(form->Handle), form);
  // Made hidden on demand, shown by the next creation pass.
  EXPECT_FALSE(IsWindowVisible(edit->Handle));
  EXPECT_TRUE(edit->ShowAfterCreate);
  form->CreateWindowHandle();
  EXPECT_TRUE(edit->GetVisible());
  EXPECT_FALSE(edit->ShowAfterCreate);
  EXPECT_TRUE(GetWindowLongA(edit->Handle, GWL_STYLE) & WS_VISIBLE);
  form->Free();
}

TEST_F(Controls, AHiddenControlCreatedOnDemandStaysHidden) {
  TControl* form = CreateFormWindow(nullptr, "hidden form");
  TControl* label = CreateLabel(form, "x");
  label->SetVisible(false);
  ASSERT_NE(label->GetHandle(), nullptr);
  form->CreateWindowHandle();
  EXPECT_FALSE(label->GetVisible());
  EXPECT_FALSE(GetWindowLongA(label->Handle, GWL_STYLE) & WS_VISIBLE);
  form->Free();
}

// A window is its control's only while it exists: a destroyed window, or one the library did not
// make, has none, so nothing is ever sent on to an object that is gone or was never there.
TEST_F(Controls, OnlyTheLibrarysLiveWindowsHaveAControl) {
  TControl* form = CreateFormWindow(nullptr, "owner form");
  TControl* label = CreateLabel(form, "x");
  ASSERT_NE(label->GetHandle(), nullptr);
  HWND labelWindow = label->Handle;
  EXPECT_EQ(ControlOfWindow(labelWindow), label);
  HWND foreign = CreateWindowExW(0, L"STATIC", L"foreign", WS_CHILD, 0, 0, 10, 10, form->Handle, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(ControlOfWindow(foreign), nullptr);
  EXPECT_EQ(ControlOfWindow(nullptr), nullptr);
  DestroyWindow(labelWindow);
  EXPECT_EQ(ControlOfWindow(labelWindow), nullptr);
  HWND formWindow = form->Handle;
  form->Free();
  PumpMessages();
  EXPECT_EQ(ControlOfWindow(formWindow), nullptr);
  EXPECT_EQ(ControlOfWindow(foreign), nullptr);
}

TEST_F(Controls, SystemCursorsAreTheSystemsOwnSharedHandles) {
  // Looked up once, then given out again: the very handles LoadCursorA gives for them.
  for (LPCSTR id : {IDC_ARROW, IDC_IBEAM, IDC_HAND, IDC_ARROW}) {
    const HCURSOR expected = LoadCursorA(nullptr, id);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(LoadSharedCursor(nullptr, id), expected);
    EXPECT_EQ(LoadSharedCursor(nullptr, id), expected);
  }
  EXPECT_NE(LoadSharedCursor(nullptr, IDC_ARROW), LoadSharedCursor(nullptr, IDC_IBEAM));
  // No such cursor, asked for twice: nothing, both times.
  EXPECT_EQ(LoadSharedCursor(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  EXPECT_EQ(LoadSharedCursor(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  // A cursor of a module is not the system's: looked up in that module each time.
  EXPECT_EQ(LoadSharedCursor(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32512)), nullptr);

  TControl* form = CreateFormWindow(nullptr, "cursor form");
  TControl* label = CreateLabel(form, "x");
  label->LoadCursor(nullptr, IDC_HAND);
  EXPECT_EQ(label->GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  ASSERT_NE(label->GetHandle(), nullptr);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(label->Handle, GCLP_HCURSOR)),
            LoadCursorA(nullptr, IDC_ARROW))
      << "the class cursor of the library's windows";
  form->Free();
}

TEST_F(Controls, ChildWithoutParentWindowIsNotCreated) {
  TControl* orphan = CreateChildControl(nullptr, "STATIC", WS_CHILD | WS_VISIBLE, false);
  EXPECT_FALSE(orphan->CreateWindowHandle());
  EXPECT_EQ(orphan->Handle, nullptr);
  orphan->Free();
}

TEST_F(Controls, FreeingAParentFreesItsChildrenTheirWindowsAndTools) {
  TControl* form = CreateFormWindow(nullptr, "parent form");
  form->GetFont();
  TControl* a = CreateLabel(form, "a");
  TControl* b = CreateEdit(form, 0);
  ASSERT_NE(a->Font, nullptr);  // children copy the parent's font tool
  int children = 0;
  int fonts = 0;
  a->OnDestroy = {CountDestroyed, &children};
  b->OnDestroy = {CountDestroyed, &children};
  a->Font->OnDestroy = {CountDestroyed, &fonts};
  b->Font->OnDestroy = {CountDestroyed, &fonts};
  ASSERT_NE(form->GetHandle(), nullptr);
  HWND aWindow = a->Handle;
  HWND formWindow = form->Handle;
  form->Free();
  EXPECT_EQ(children, 2);
  EXPECT_EQ(fonts, 2);
  EXPECT_FALSE(IsWindow(aWindow));
  EXPECT_FALSE(IsWindow(formWindow));
}

TEST_F(Controls, AddRefKeepsAControlAliveAcrossFreeUntilRelease) {
  TControl* form = CreateFormWindow(nullptr, "kept form");
  ASSERT_NE(form->GetHandle(), nullptr);
  int destroyed = 0;
  form->OnDestroy = {CountDestroyed, &destroyed};
  form->AddRef();
  form->Free();
  EXPECT_EQ(destroyed, 0);
  EXPECT_TRUE(IsWindow(form->Handle));
  form->Free();  // a second Free changes nothing
  EXPECT_EQ(destroyed, 0);
  form->Release();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(Controls, SelfReleaseMessageFreesTheControl) {
  TControl* form = CreateFormWindow(nullptr, "self release");
  ASSERT_NE(form->GetHandle(), nullptr);
  int destroyed = 0;
  form->OnDestroy = {CountDestroyed, &destroyed};
  form->AddRef();
  SendMessageA(form->Handle, kSelfReleaseMessage, 0, 0);
  EXPECT_TRUE(form->Released);
  EXPECT_EQ(destroyed, 0);
  form->Release();
  EXPECT_EQ(destroyed, 1);
}

// --- Geometry

TEST_F(Controls, DefaultSizesOfStandardControls) {
  TControl* form = CreateFormWindow(nullptr, "sizes");
  TControl* edit = CreateEdit(form, 0);
  TControl* memo = CreateEdit(form, eoMultiline);
  TControl* label = CreateLabel(form, "l");
  TControl* button = CreateButton(form, "b");
  EXPECT_EQ(edit->GetWidth(), 100);
  EXPECT_EQ(edit->GetHeight(), 22);
  EXPECT_EQ(memo->GetWidth(), 200);
  EXPECT_EQ(memo->GetHeight(), 200);
  EXPECT_EQ(label->GetHeight(), 22);
  EXPECT_EQ(button->GetHeight(), 22);
  EXPECT_EQ(edit->NavigationKeys, 13);
  EXPECT_EQ(memo->NavigationKeys, 1);
  EXPECT_EQ(CreateEdit(form, eoMultiline | eoWantTab)->NavigationKeys, 0);
  EXPECT_EQ(label->NavigationKeys, 15);
  // Sunken edits trade the border for a client edge; labels keep their flat look.
  EXPECT_EQ(edit->GetStyle() & WS_BORDER, 0u);
  EXPECT_NE(edit->GetExStyle() & WS_EX_CLIENTEDGE, 0u);
  EXPECT_EQ(label->GetExStyle() & WS_EX_CLIENTEDGE, 0u);
  EXPECT_EQ(edit->GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
  EXPECT_EQ(memo->GetStyle() & (WS_HSCROLL | WS_VSCROLL),
            static_cast<std::uint32_t>(WS_HSCROLL | WS_VSCROLL));
  ASSERT_NE(form->GetHandle(), nullptr);
  EXPECT_EQ(edit->GetWidth(), 100);
  EXPECT_EQ(memo->GetHeight(), 200);
  form->Free();
}

TEST_F(Controls, TopLevelWindowWithoutSizeOrPositionGetsTheSystemDefaults) {
  TControl* form = CreateFormWindow(nullptr, "default bounds");
  ASSERT_NE(form->GetHandle(), nullptr);
  EXPECT_GT(form->GetWidth(), 0);
  EXPECT_GT(form->GetHeight(), 0);
  TControl* placed = CreateFormWindow(nullptr, "placed");
  placed->SetBoundsRect({30, 40, 330, 240});
  ASSERT_NE(placed->GetHandle(), nullptr);
  const RECT r = placed->GetBoundsRect();
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  form->Free();
  placed->Free();
}

TEST_F(Controls, ChildBoundsAreInTheParentsClientCoordinates) {
  TControl* form = CreateFormWindow(nullptr, "child bounds");
  form->SetBoundsRect({100, 100, 500, 400});
  TControl* label = CreateLabel(form, "x");
  label->SetBoundsRect({10, 20, 70, 42});
  ASSERT_NE(form->GetHandle(), nullptr);
  RECT r = label->GetBoundsRect();
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  label->SetPosition(15, 25);
  label->SetSize(0, 30);  // values <= 0 are ignored
  r = label->GetBoundsRect();
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.top, 25);
  EXPECT_EQ(r.right - r.left, 60);
  EXPECT_EQ(r.bottom - r.top, 30);
  form->Free();
}

// --- Caption, style, state

TEST_F(Controls, CaptionSetBeforeCreationIsTheWindowText) {
  TControl* form = CreateFormWindow(nullptr, "first");
  TControl* button = CreateButton(form, "one");
  button->SetCaption("\xCD\xE0\xE6\xEC\xE8");
  EXPECT_EQ(button->GetCaption(), "\xCD\xE0\xE6\xEC\xE8");
  ASSERT_NE(form->GetHandle(), nullptr);
  EXPECT_EQ(WindowText(button->Handle), "\xCD\xE0\xE6\xEC\xE8");
  EXPECT_EQ(button->GetCaption(), "\xCD\xE0\xE6\xEC\xE8");
  // A NUL byte ends the text in the window and in the stored copy alike.
  button->SetCaption(std::string_view("ab\0cd", 5));
  EXPECT_EQ(button->GetCaption(), "ab");
  EXPECT_EQ(button->StoredCaption(), "ab");
  form->Free();
}

TEST_F(Controls, LongCaptionsAreReadWhole) {
  TControl* form = CreateFormWindow(nullptr, "long");
  TControl* label = CreateLabel(form, "");
  const std::string text = Pattern(100000);
  label->SetCaption(text);
  EXPECT_EQ(label->GetCaption(), text);  // stored copy
  ASSERT_NE(form->GetHandle(), nullptr);
  EXPECT_EQ(label->GetCaption(), text);  // from the window
  TControl* edit = CreateEdit(form, 0);
  ASSERT_NE(edit->GetHandle(), nullptr);
  edit->SetCaption(text);
  EXPECT_EQ(edit->GetCaption(), text);
  form->Free();
}

int styleChanges = 0;
bool CountStyleChanges(void*, TMessage& m, LRESULT&) {
  if (m.Message == WM_STYLECHANGED) ++styleChanges;
  return false;
}

TEST_F(Controls, SetStyleWithTheSameValueDoesNothing) {
  TControl* form = CreateFormWindow(nullptr, "style");
  form->SetBoundsRect({0, 0, 200, 100});
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());
  UpdateWindow(form->Handle);
  ValidateRect(form->Handle, nullptr);
  form->SetOnMessage({CountStyleChanges, nullptr});
  styleChanges = 0;
  form->SetStyle(form->GetStyle());
  form->SetExStyle(form->GetExStyle());
  EXPECT_EQ(styleChanges, 0);
  EXPECT_FALSE(GetUpdateRect(form->Handle, nullptr, FALSE));

  const std::uint32_t changed = form->GetStyle() & ~static_cast<std::uint32_t>(WS_MAXIMIZEBOX);
  form->SetStyle(changed);
  EXPECT_GT(styleChanges, 0);
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(form->Handle, GWL_STYLE)) & WS_MAXIMIZEBOX, 0u);
  EXPECT_TRUE(GetUpdateRect(form->Handle, nullptr, FALSE));
  form->Free();
}

TEST_F(Controls, VisibilityAndEnabledStateFollowTheStyleAndTheWindow) {
  TControl* form = CreateFormWindow(nullptr, "state");
  TControl* button = CreateButton(form, "b");
  button->SetEnabled(false);
  EXPECT_NE(button->GetStyle() & WS_DISABLED, 0u);
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());
  EXPECT_FALSE(IsWindowEnabled(button->Handle));
  button->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(button->Handle));
  button->SetVisible(false);
  EXPECT_EQ(button->GetStyle() & WS_VISIBLE, 0u);
  EXPECT_FALSE(IsWindowVisible(button->Handle));
  button->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(button->Handle));
  form->Free();
}

TEST_F(Controls, SunkenBorderSwapsClientEdgeAndBorder) {
  TControl* form = CreateFormWindow(nullptr, "sunken");
  TControl* label = CreateLabel(form, "x");
  ASSERT_NE(form->GetHandle(), nullptr);
  label->SetSunkenBorder(true);
  EXPECT_NE(GetWindowLongA(label->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(GetWindowLongA(label->Handle, GWL_STYLE) & WS_BORDER, 0);
  label->SetSunkenBorder(false);
  EXPECT_EQ(GetWindowLongA(label->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(GetWindowLongA(label->Handle, GWL_STYLE) & WS_BORDER, 0);
  form->Free();
}

TEST_F(Controls, AlphaBlendBelowOpaqueMakesTheWindowLayered) {
  TControl* form = CreateFormWindow(nullptr, "alpha");
  ASSERT_NE(form->GetHandle(), nullptr);
  form->SetAlphaBlend(128);
  EXPECT_NE(GetWindowLongA(form->Handle, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  if (GetLayeredWindowAttributes(form->Handle, nullptr, &alpha, &flags)) {
    EXPECT_EQ(alpha, 128);
  }
  form->SetAlphaBlend(255);
  EXPECT_EQ(GetWindowLongA(form->Handle, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  form->Free();
}

std::vector<TControl*> realigned;
void NoteRealign(TControl* c) { realigned.push_back(c); }

TEST_F(Controls, ResizingAChildRealignsItsParentThenItselfAndTracksTheWindowState) {
  TControl* form = CreateFormWindow(nullptr, "realign");
  TControl* label = CreateLabel(form, "x");
  ASSERT_NE(form->GetHandle(), nullptr);
  realigned.clear();
  RealignHook = NoteRealign;
  label->SetSize(50, 30);
  RealignHook = IgnoreControl;
  ASSERT_GE(realigned.size(), 2u);
  EXPECT_EQ(realigned[0], form);
  EXPECT_EQ(realigned[1], label);
  SendMessageA(form->Handle, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(100, 100));
  EXPECT_EQ(form->GetWindowState(), 2);
  SendMessageA(form->Handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
  EXPECT_EQ(form->GetWindowState(), 0);
  form->Free();
}

// --- Tab order

TEST_F(Controls, ChildrenGetTabOrdersInCreationOrderAndSetTabOrderShifts) {
  TControl* form = CreateFormWindow(nullptr, "tabs");
  TControl* first = CreateEdit(form, 0);
  TControl* second = CreateButton(form, "b");
  TControl* third = CreateLabel(form, "l");
  EXPECT_EQ(first->GetTabOrder(), 1);
  EXPECT_EQ(second->GetTabOrder(), 2);
  EXPECT_EQ(third->GetTabOrder(), 3);
  EXPECT_TRUE(first->TabStop);
  EXPECT_FALSE(third->TabStop);
  second->SetTabOrder(1);
  EXPECT_EQ(second->GetTabOrder(), 1);
  EXPECT_EQ(first->GetTabOrder(), 2);
  EXPECT_EQ(third->GetTabOrder(), 4);
  EXPECT_EQ(CreateLabel(form, "next")->GetTabOrder(), 5);
  form->Free();
}

// --- Automatic sizing

SIZE MeasureIn(TGraphicTool* font, const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  SIZE size{};
  const TWideString wide = WideFromCp1251(text);  // as the label measures it, whatever the locale
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

TEST_F(Controls, AutoSizedLabelFollowsItsCaptionAndFont) {
  TControl* form = CreateFormWindow(nullptr, "auto size");
  form->GetFont();
  TControl* label = CreateLabel(form, "СЛОЙ 1");
  label->SetBoundsRect({5, 5, 300, 60});
  ASSERT_NE(form->GetHandle(), nullptr);
  label->SetAutoSize(true);
  SIZE text = MeasureIn(label->Font, "СЛОЙ 1");
  ASSERT_GT(text.cx, 0);
  EXPECT_EQ(label->GetWidth(), text.cx + 1);
  EXPECT_EQ(label->GetHeight(), text.cy + 1);
  EXPECT_EQ(label->GetLeft(), 5);

  label->SetCaption("СТРОКА ДАННЫХ ДЛЯ КАДРА");
  text = MeasureIn(label->Font, "СТРОКА ДАННЫХ ДЛЯ КАДРА");
  EXPECT_EQ(label->GetWidth(), text.cx + 1);

  // An italic caption is measured with one blank more.
  label->Font->SetFontStyle(TGraphicTool::StyleItalic);
  text = MeasureIn(label->Font, "СТРОКА ДАННЫХ ДЛЯ КАДРА ");
  EXPECT_EQ(label->GetWidth(), text.cx + 1);

  label->SetCaption("");
  EXPECT_EQ(label->GetWidth(), 1);
  EXPECT_EQ(label->GetHeight(), 1);

  // Aligned to the top (2), only the height follows.
  label->SetBoundsRect({5, 5, 300, 60});
  label->SetAlign(2);
  label->SetCaption("x");
  EXPECT_EQ(label->GetWidth(), 295);
  form->Free();
}

// --- Edit lines

TEST_F(Controls, EditLinesOfAnyLengthAreReadWhole) {
  TControl* form = CreateFormWindow(nullptr, "lines");
  TControl* memo = CreateEdit(form, eoMultiline);
  ASSERT_NE(form->GetHandle(), nullptr);
  const std::string longLine = Pattern(100000);
  const std::string middleLine = Pattern(70000, 'A');
  memo->SetCaption(longLine + "\r\nshort\r\n" + middleLine + "\r\n");
  EXPECT_EQ(memo->LineCount(), 4);
  EXPECT_EQ(memo->GetLine(0), longLine);
  EXPECT_EQ(memo->GetLine(1), "short");
  EXPECT_EQ(memo->GetLine(2), middleLine);
  EXPECT_EQ(memo->GetLine(3), "");
  EXPECT_EQ(memo->LineStart(1), 100002);
  form->Free();
}

TEST_F(Controls, AddLineAppendsAndSetLineReplacesALine) {
  TControl* form = CreateFormWindow(nullptr, "edit ops");
  TControl* memo = CreateEdit(form, eoMultiline);
  ASSERT_NE(form->GetHandle(), nullptr);
  memo->AddLine("1,2");
  EXPECT_EQ(memo->GetCaption(), "1,2");
  memo->AddLine("\r\n3");  // no break is added by the append itself
  EXPECT_EQ(memo->GetCaption(), "1,2\r\n3");
  memo->SetLine(0, "a\r\n");
  EXPECT_EQ(memo->GetCaption(), "a\r\n3");
  memo->SetLine(1, "last");
  EXPECT_EQ(memo->GetCaption(), "a\r\nlast");
  memo->Clear();
  EXPECT_EQ(memo->GetCaption(), "");
  // Controls without line messages fall back.
  TControl* label = CreateLabel(form, "x");
  EXPECT_EQ(label->LineCount(), 0);
  EXPECT_EQ(label->LineStart(3), 3);
  label->AddLine("y");
  EXPECT_EQ(label->GetCaption(), "xy");
  form->Free();
}

TEST_F(Controls, SelectionBeyondSixteenBitsIsPlacedExactly) {
  TControl* form = CreateFormWindow(nullptr, "selection");
  TControl* memo = CreateEdit(form, eoMultiline);
  ASSERT_NE(form->GetHandle(), nullptr);
  memo->SetCaption(Pattern(80000));
  memo->SetSelStart(70000);
  memo->SetSelLength(5);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(memo->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 70000u);
  EXPECT_EQ(end, 70005u);
  memo->SetSelLength(-1);
  SendMessageA(memo->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 70000u);
  EXPECT_EQ(end, 80000u);
  form->Free();
}

// --- Closing

bool refuse = false;
void CloseQuery(void*, TControl*, bool& accept) { accept = !refuse; }

int QuitMessagesQueued() {
  int n = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) ++n;
  return n;
}

TEST_F(Controls, ClosingTheMainFormPostsQuitOnceAndASecondaryFormOnlyCloses) {
  TControl* app = CreateAppWindow("close app");
  TControl* mainForm = CreateFormWindow(app, "main form");
  TControl* secondary = CreateFormWindow(app, "secondary form");
  AppWindow = app;
  ASSERT_NE(app->GetHandle(), nullptr);
  app->CreateWindowHandle();
  ASSERT_NE(secondary->Handle, nullptr);
  EXPECT_TRUE(IsMainWindow(mainForm));
  EXPECT_TRUE(IsMainWindow(app));
  EXPECT_FALSE(IsMainWindow(secondary));
  AppRunning = true;

  int secondaryDestroyed = 0;
  secondary->OnDestroy = {CountDestroyed, &secondaryDestroyed};
  HWND secondaryWindow = secondary->Handle;
  SendMessageA(secondaryWindow, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(secondaryWindow));
  EXPECT_EQ(secondaryDestroyed, 1);  // a form of the application window frees itself
  EXPECT_EQ(app->ChildCount(), 1);
  EXPECT_EQ(QuitMessagesQueued(), 0);

  mainForm->SetOnCloseQuery({CloseQuery, nullptr});
  refuse = true;
  EXPECT_EQ(SendMessageA(mainForm->Handle, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(QuitMessagesQueued(), 0);
  refuse = false;
  SendMessageA(mainForm->Handle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(mainForm->Handle));
  EXPECT_EQ(QuitMessagesQueued(), 1);

  // Outside the loop a refusal cannot hold the close up.
  AppRunning = false;
  refuse = true;
  SendMessageA(mainForm->Handle, WM_CLOSE, 0, 0);
  EXPECT_EQ(QuitMessagesQueued(), 1);
  app->Free();
}

TEST_F(Controls, SystemMenuCloseOfTheApplicationWindowClosesTheMainForm) {
  TControl* app = CreateAppWindow("menu app");
  TControl* mainForm = CreateFormWindow(app, "menu main");
  AppWindow = app;
  ASSERT_NE(app->GetHandle(), nullptr);
  app->CreateWindowHandle();
  ASSERT_NE(mainForm->Handle, nullptr);
  EXPECT_EQ(SendMessageA(app->Handle, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, mainForm->Handle, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  app->Free();
}

TEST_F(Controls, FormBackgroundIsFilledWithItsColour) {
  TControl* form = CreateFormWindow(nullptr, "background");
  form->SetBoundsRect({0, 0, 200, 120});
  form->SetColor(0x00336699);
  ASSERT_NE(form->GetHandle(), nullptr);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 120);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(SendMessageA(form->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  EXPECT_EQ(GetPixel(dc, 5, 5), 0x00336699u);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  form->Free();
}

// --- Keys reaching the navigation of the form

std::vector<std::int32_t> navigated;
bool navigateTab = true;
bool RecordNavigation(TControl*, TControl*, std::int32_t key, bool testOnly) {
  if (!testOnly) navigated.push_back(key);
  return key == VK_TAB && navigateTab;
}
bool SwallowKeys(TControl*, TMessage& m, LRESULT&) { return m.Message == WM_KEYDOWN; }

TEST_F(Controls, KeysReachNavigationOnlyWithoutCtrlOrAltAndFromTheFocusedWindow) {
  TControl* form = CreateFormWindow(nullptr, "keys");
  TControl* memo = CreateEdit(form, eoMultiline);
  TControl* other = CreateButton(form, "other");
  other->SetPosition(0, 210);
  form->NavigationHandler = RecordNavigation;
  form->CreateVisible = true;
  ASSERT_TRUE(form->CreateWindowHandle());
  SetForegroundWindow(form->Handle);
  ::SetFocus(memo->Handle);
  ASSERT_EQ(GetFocus(), memo->Handle);
  navigated.clear();

  SendMessageA(memo->Handle, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(navigated, std::vector<std::int32_t>{VK_TAB});
  SendMessageA(memo->Handle, WM_CHAR, '\t', 0);  // the Tab of a navigating key is not typed
  EXPECT_EQ(memo->GetCaption(), "");

  navigated.clear();
  SetKeyDown(VK_CONTROL, true);
  SendMessageA(memo->Handle, WM_KEYDOWN, VK_TAB, 0);
  SetKeyDown(VK_CONTROL, false);
  SetKeyDown(VK_MENU, true);
  SendMessageA(memo->Handle, WM_KEYDOWN, VK_TAB, 0);
  SetKeyDown(VK_MENU, false);
  EXPECT_TRUE(navigated.empty());

  memo->KeyHandler = SwallowKeys;
  SendMessageA(memo->Handle, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(navigated.empty());
  memo->KeyHandler = IgnoreMessage;

  // Not focused: the key goes straight to the default processing.
  ::SetFocus(other->Handle);
  ASSERT_EQ(GetFocus(), other->Handle);
  SendMessageA(memo->Handle, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(navigated.empty());

  // Where Tab does not navigate, a multi-line edit types it.
  ::SetFocus(memo->Handle);
  navigateTab = false;
  SendMessageA(memo->Handle, WM_CHAR, '\t', 0);
  navigateTab = true;
  EXPECT_EQ(memo->GetCaption(), "\t");
  form->Free();
}

// --- Message queue

int dispatched = 0;
bool CountProbe(void*, TMessage& m, LRESULT&) {
  if (m.Message == kProbe) ++dispatched;
  return false;
}
bool FilterProbe(TControl*, MSG& msg) { return msg.message == kProbe && msg.wParam == 7; }

TEST_F(Controls, QuitMessageStopsTheBatchAndIsNotDispatched) {
  TControl* form = CreateFormWindow(nullptr, "queue");
  ASSERT_NE(form->GetHandle(), nullptr);
  form->SetOnMessage({CountProbe, nullptr});
  dispatched = 0;
  DiscardMessages();
  MSG msg;
  EXPECT_FALSE(ProcessOneMessage(nullptr));  // empty queue

  PostMessageA(form->Handle, kProbe, 0, 0);
  PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
  PostMessageA(form->Handle, kProbe, 0, 0);
  ProcessMessages(nullptr);
  EXPECT_TRUE(AppTerminated);
  EXPECT_EQ(dispatched, 1);
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, kProbe, kProbe, PM_NOREMOVE));  // still queued
  AppTerminated = false;
  ProcessMessages(nullptr);
  EXPECT_EQ(dispatched, 2);

  // A message the filter takes is consumed.
  form->MessageFilter = FilterProbe;
  PostMessageA(form->Handle, kProbe, 7, 0);
  PostMessageA(form->Handle, kProbe, 8, 0);
  ProcessMessages(form);
  EXPECT_EQ(dispatched, 3);

  // A null message ends the batch like an empty queue.
  PostMessageA(form->Handle, WM_NULL, 0, 0);
  PostMessageA(form->Handle, kProbe, 0, 0);
  EXPECT_FALSE(ProcessOneMessage(nullptr));
  EXPECT_EQ(dispatched, 3);
  EXPECT_TRUE(ProcessOneMessage(nullptr));
  EXPECT_EQ(dispatched, 4);
  form->Free();
}

// --- Start step

int deliveryOn = 0;
std::vector<int> startOrder;
void SwitchOn() { ++deliveryOn; }
void StartProc(void* data) { startOrder.push_back(*static_cast<int*>(data) * 10 + deliveryOn); }

TEST_F(Controls, StartStepSwitchesDeliveryOnThenRunsDeferredStartsInOrder) {
  TControl* app = CreateAppWindow("start app");
  AppWindow = app;
  static int one = 1;
  static int two = 2;
  deliveryOn = 0;
  startOrder.clear();
  RegisterDeferredStart(StartProc, &one);
  RegisterDeferredStart(StartProc, &two);
  StartStep(false, SwitchOn);
  EXPECT_EQ(startOrder, (std::vector<int>{11, 21}));
  EXPECT_TRUE(DeferredStartList.empty());
  EXPECT_TRUE(app->CreateVisible);
  EXPECT_FALSE(app->GetVisible());
  StartStep(true, SwitchOn);
  EXPECT_EQ(startOrder.size(), 2u);  // each runs once
  EXPECT_TRUE(app->GetVisible());
  app->Free();
}

}  // namespace
