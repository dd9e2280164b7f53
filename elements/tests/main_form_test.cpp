// Main form element: caption, size and border styles, the close procedure, position persistence.
#include "elements/main_form.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "elements/stored_value.h"
#include "elements/tests/probe.h"
#include "elements/tests/window_test_support.h"
#include "platform/app.h"
#include "platform/program_dir.h"
// <windows.h> renames GetObject to GetObjectA; the list's member keeps its own name.
#undef GetObject
#include "platform/strlist.h"

namespace {

constexpr const char* kRegistryName = "h8MainFormPositionTest";
constexpr const char* kRegistryPath = "Software\\h8MainFormPositionTest";
constexpr const char* kIniName = "h8_form_position.ini";

using TPlacement = std::array<long, 4>;

class MainFormTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  TQxMainForm* form = nullptr;

  void SetUp() override {
    InitMainFormWindows();
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryPath);
    DeleteFileA((ProgramDirectory() + kIniName).c_str());
  }
  void TearDown() override {
    End();
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryPath);
    DeleteFileA((ProgramDirectory() + kIniName).c_str());
  }

  // The editor's form as the application sets it up, at a place of the test's choosing.
  TQxMainForm* Make(const ByteString& positionKey = {}) {
    auto* f = new TQxMainForm(nullptr);
    f->Left = 20;
    f->Top = 30;
    f->Width = 640;
    f->Height = 480;
    f->Color = static_cast<std::int32_t>(0xFF00000F);
    f->PositionKey = positionKey;
    f->SetCaption(" НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА");
    f->SetBorderStyle(2);
    f->Init();
    return f;
  }
  // The start step of the program: delivery on, then the form's start procedure shows it.
  void Start() {
    StartStep(false, &EnableDelivery);
    PumpMessages();
  }
  // Returns the quit messages the close posted (a closed main form ends the message loop).
  int Close(TQxMainForm* f, LPARAM noAsking = 0) {
    SendMessageA(f->Control->Handle, WM_CLOSE, 0, noAsking);
    return PumpMessages();
  }
  // Ends the form element and the application window it made.
  void End() {
    const bool ownedApp = form != nullptr && form->OwnsApp != 0;
    delete form;
    form = nullptr;
    if (ownedApp && AppWindow != nullptr) {
      AppWindow->Free();
      AppWindow = nullptr;
    }
    PumpMessages();
    EnableDelivery();
  }
  RECT Rect(TQxMainForm* f) {
    RECT r{};
    GetWindowRect(f->Control->Handle, &r);
    return r;
  }
  // The window's left, top, width and height, compared whole so that a failure shows all four.
  TPlacement Placement(TQxMainForm* f) {
    const RECT r = Rect(f);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
};

TEST_F(MainFormTest, FirstFormOwnsTheApplicationWindowAndMirrorsTheCaption) {
  ASSERT_EQ(AppWindow, nullptr);
  form = Make();
  EXPECT_EQ(form->OwnsApp, 1);
  ASSERT_NE(AppWindow, nullptr);
  EXPECT_EQ(WindowText(form->Control->Handle), " НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА");
  EXPECT_EQ(WindowText(AppWindow->GetHandle()), " НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА");
}

TEST_F(MainFormTest, SizeAndPositionAreAsSet) {
  form = Make();
  EXPECT_EQ(Placement(form), (TPlacement{20, 30, 640, 480}));
}

TEST_F(MainFormTest, FormStaysHiddenUntilTheStartStep) {
  form = Make();
  EXPECT_FALSE(IsWindowVisible(form->Control->Handle));
  RecordingSink created;
  form->outCreate = created.Link();
  Start();
  EXPECT_EQ(created.received.size(), 1u);
  EXPECT_TRUE(IsWindowVisible(form->Control->Handle));
  EXPECT_EQ(form->Shown, 1);
}

TEST_F(MainFormTest, BorderStylesSetTheirStyleBits) {
  struct Expected {
    std::uint32_t style, exStyle;
  };
  constexpr Expected kTable[10] = {{0, 0},           {0xC20000, 0},    {0xC70000, 0}, {0xC00000, 0x100},
                                   {0xC00000, 0x80}, {0xC40000, 0x80}, {0, 0x1},      {0x40000, 0x80},
                                   {0, 0x201},       {0x40000, 0x200}};
  form = Make();
  HWND window = form->Control->Handle;
  for (std::uint8_t n = 0; n < 10; ++n) {
    form->SetBorderStyle(n);
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
    const auto exStyle = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(style & 0xC70000u, kTable[n].style) << int(n);
    // The system adds the raised window edge (0x100) to every captioned or framed window itself.
    EXPECT_EQ(exStyle & 0x81u, kTable[n].exStyle & 0x81u) << int(n);
    EXPECT_EQ(exStyle & kTable[n].exStyle, kTable[n].exStyle) << int(n);
  }
  form->SetBorderStyle(4);
  form->SetBorderStyle(10);  // out of range: ignored
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE)) & 0xC70000u, 0xC00000u);
  EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongA(window, GWL_EXSTYLE)) & 0x81u, 0x80u);
}

TEST_F(MainFormTest, ClosingFiresOutCloseThenSwitchesDeliveryOff) {
  form = Make();
  Start();
  RecordingSink closed;
  form->outClose = closed.Link();
  EXPECT_EQ(Close(form), 1);
  EXPECT_EQ(closed.received.size(), 1u);
  EXPECT_FALSE(DeliveryEnabled());
  // Whatever fires during the teardown reaches nobody.
  RecordingSink late;
  FireEmpty(late.Link());
  FireStr(late.Link(), "late");
  EXPECT_TRUE(late.received.empty());
}

TEST_F(MainFormTest, KeepOpenAnswerKeepsTheFormAndSavesNothing) {
  form = Make(ByteString(kRegistryName));
  Start();
  FixedSource keepOpen;
  MakeInt(&keepOpen.value, 1);
  form->dataKeepOpen = keepOpen.Link();
  RecordingSink closed;
  form->outClose = closed.Link();
  EXPECT_EQ(Close(form), 0) << "a form kept open must not end the message loop";
  EXPECT_EQ(keepOpen.reads, 1);
  EXPECT_TRUE(closed.received.empty());
  EXPECT_TRUE(DeliveryEnabled());
  EXPECT_TRUE(IsWindow(form->Control->Handle));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryPath, 0, KEY_READ, &key), ERROR_SUCCESS);

  // A request that does not ask closes it anyway.
  EXPECT_EQ(Close(form, 1), 1);
  EXPECT_EQ(keepOpen.reads, 1);
  EXPECT_EQ(closed.received.size(), 1u);
  EXPECT_FALSE(DeliveryEnabled());
}

TEST_F(MainFormTest, EndOfSessionAsksTheKeepOpenAnswerAndClosesNothing) {
  form = Make();
  Start();
  FixedSource keepOpen;
  MakeInt(&keepOpen.value, 1);
  form->dataKeepOpen = keepOpen.Link();
  RecordingSink closed;
  form->outClose = closed.Link();
  EXPECT_EQ(SendMessageA(form->Control->Handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE)
      << "a form kept open stops the end of the session";
  MakeInt(&keepOpen.value, 0);
  EXPECT_EQ(SendMessageA(form->Control->Handle, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_EQ(keepOpen.reads, 2);
  EXPECT_TRUE(closed.received.empty()) << "only asked: the session's end itself closes";
  EXPECT_TRUE(IsWindow(form->Control->Handle));
  EXPECT_TRUE(DeliveryEnabled());
}

TEST_F(MainFormTest, MoveFiresOutMoveOnce) {
  form = Make();
  Start();
  RecordingSink moved;
  form->outMove = moved.Link();
  form->Control->SetPosition(60, 70);
  PumpMessages();
  EXPECT_EQ(moved.received.size(), 1u);
}

TEST_F(MainFormTest, ActivationFiresActivateAndDeactivate) {
  form = Make();
  RecordingSink activated, deactivated;
  form->outActivate = activated.Link();
  form->outDeactivate = deactivated.Link();
  // The default handling of an activation may bring real activations of its own: count each
  // notification's own effect.
  SendMessageA(form->Control->Handle, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_GE(activated.received.size(), 1u);
  const std::size_t deactivationsBefore = deactivated.received.size();
  const std::size_t activationsBefore = activated.received.size();
  SendMessageA(form->Control->Handle, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(deactivated.received.size(), deactivationsBefore + 1);
  EXPECT_EQ(activated.received.size(), activationsBefore);
}

TEST_F(MainFormTest, IniPositionKeyChoosesFileAndSection) {
  EXPECT_EQ(ChoosePositionStore(""), TPositionStore::None);
  EXPECT_EQ(ChoosePositionStore("cfg.ini\\Main"), TPositionStore::IniFile);
  EXPECT_EQ(ChoosePositionStore("MyTool"), TPositionStore::Registry);
  EXPECT_EQ(ChoosePositionStore("cfg.ini"), TPositionStore::Registry);
  const TIniPlace place = SplitIniKey("cfg.ini\\Main");
  EXPECT_EQ(place.File, "cfg.ini");
  EXPECT_EQ(place.Section, "Main");
}

TEST_F(MainFormTest, IniPositionIsWrittenOnCloseAndReadOnTheNextStart) {
  const ByteString key = ByteString(kIniName) + "\\Main";
  form = Make(key);
  Start();
  // A first run finds no file: the designed position stays.
  RECT r = Rect(form);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right - r.left, 640);
  form->Control->SetPosition(33, 44);
  form->Control->SetSize(300, 200);
  Close(form);
  const std::string file = ProgramDirectory() + kIniName;
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Left", -1, file.c_str()), 33u);
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Top", -1, file.c_str()), 44u);
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Width", -1, file.c_str()), 300u);
  EXPECT_EQ(GetPrivateProfileIntA("Main", "Height", -1, file.c_str()), 200u);
  End();

  form = Make(key);
  Start();
  EXPECT_EQ(Placement(form), (TPlacement{33, 44, 300, 200}));
}

TEST_F(MainFormTest, RegistryPositionIsWrittenOnCloseAndReadOnTheNextStart) {
  form = Make(ByteString(kRegistryName));
  Start();
  form->Control->SetPosition(41, 52);
  form->Control->SetSize(320, 240);
  Close(form);
  End();

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryPath, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, value = 0, size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "Height", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 240u);
  RegCloseKey(key);

  form = Make(ByteString(kRegistryName));
  Start();
  EXPECT_EQ(Placement(form), (TPlacement{41, 52, 320, 240}));
}

TEST_F(MainFormTest, RegistryKeepsDesignedValuesForMissingOrOverlongValues) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD left = 77;
  RegSetValueExA(key, "Left", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), sizeof left);
  const unsigned long long wide = 99;
  RegSetValueExA(key, "Top", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide), sizeof wide);
  RegCloseKey(key);

  form = Make(ByteString(kRegistryName));
  Start();
  EXPECT_EQ(Placement(form), (TPlacement{77, 30, 640, 480}));
}

TEST_F(MainFormTest, AStoredValueKeepsItsNameBesideThePositionInTheRegistryAndTheIniFile) {
  for (const std::string& key : {std::string(kRegistryName), std::string(kIniName) + "\\Main"}) {
    form = Make(ByteString(key));
    Start();
    form->Control->SetPosition(41, 52);
    Close(form);
    End();
    TQxStoredValue stored;
    stored.PositionKey = ByteString(key);
    stored.Name = "WordWrap";
    stored.Default = 1;
    TData value;
    stored.getValue(&value, 0);
    EXPECT_EQ(AsInt(&value), 1) << key << ": nothing stored yet answers the default";
    MakeInt(&value, 0);
    stored.inStore(&value, 0);
    stored.getValue(&value, 0);
    EXPECT_EQ(AsInt(&value), 0) << key;
    // The position beside it stays what it was.
    form = Make(ByteString(key));
    Start();
    EXPECT_EQ(Placement(form), (TPlacement{41, 52, 640, 480})) << key;
    End();
  }
}

TEST_F(MainFormTest, EmptyPositionKeyReadsAndWritesNothing) {
  // Values a careless reader of "Software\" would pick up.
  HKEY software = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software), ERROR_SUCCESS);
  const DWORD left = 5;
  RegSetValueExA(software, "Left", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), sizeof left);

  form = Make();
  Start();
  EXPECT_EQ(Rect(form).left, 20);
  form->Control->SetPosition(61, 62);
  Close(form);
  DWORD value = 0, size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(software, "Left", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 5u);
  EXPECT_NE(RegQueryValueExA(software, "Top", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegDeleteValueA(software, "Left");
  RegCloseKey(software);
}

TEST_F(MainFormTest, SecondFormDoesNotOwnTheApplicationAndJoinsMainFormWindows) {
  form = Make();
  auto* second = new TQxMainForm(nullptr);
  second->Width = 100;
  second->Height = 100;
  second->Init();
  EXPECT_EQ(second->OwnsApp, 0);
  EXPECT_GE(MainFormWindows->IndexOfObject(second->Control->Handle), 0);
  HWND handle = second->Control->Handle;
  delete second;
  EXPECT_LT(MainFormWindows->IndexOfObject(handle), 0);
}

// At a normal exit the application window goes first and takes every form's control with it; the
// form elements are deleted after that and must not read their controls any more.
TEST_F(MainFormTest, FormsEndedAfterTheApplicationWindowLeaveTheListAndNeverReadTheirControls) {
  form = Make();
  auto* second = new TQxMainForm(nullptr);
  second->Width = 100;
  second->Height = 100;
  second->Init();
  HWND secondWindow = second->Control->Handle;
  ASSERT_GE(MainFormWindows->IndexOfObject(secondWindow), 0);

  AppWindow->Free();
  AppWindow = nullptr;
  EXPECT_EQ(form->ControlGone, 1);
  EXPECT_EQ(second->ControlGone, 1);
  EXPECT_LT(MainFormWindows->IndexOfObject(secondWindow), 0) << "a window that is gone is not listed";

  // Any read through the freed controls now faults instead of passing unnoticed.
  void* noAccess = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(noAccess, nullptr);
  second->Control = static_cast<TControl*>(noAccess);
  form->Control = static_cast<TControl*>(noAccess);
  delete second;
  delete form;
  form = nullptr;
  VirtualFree(noAccess, 0, MEM_RELEASE);
}

TEST_F(MainFormTest, FormEndedBeforeTheStartStepIsNotStarted) {
  const std::size_t startsBefore = DeferredStartList.size();
  form = Make();
  ASSERT_EQ(DeferredStartList.size(), startsBefore + 1);
  // What its start procedure fires first; the sink outlives the form.
  RecordingSink created;
  form->outCreate = created.Link();
  delete form;
  form = nullptr;
  AppWindow->Free();
  AppWindow = nullptr;
  EXPECT_EQ(DeferredStartList.size(), startsBefore) << "the ended form's start procedure is still listed";
  StartStep(false, &EnableDelivery);
  EXPECT_TRUE(created.received.empty()) << "the start step started the ended form";
}

}  // namespace
