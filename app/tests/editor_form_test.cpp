// The cube editor's form on a real window: its elements, properties and links, and the behaviour
// of clicking, recording, resetting and saving with event delivery on.
#include "app/editor_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/control.h"
#include "platform/handlers.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

TClassMainForm_1509590* form = nullptr;

void ClickWindow(HWND window) {
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void ClickLed(int n) { ClickWindow(form->Led(n)->Control->Handle); }

// The failure box, answered from a thread timer that runs inside its modal loop.
std::string boxCaption;
std::string boxText;
BOOL CALLBACK CollectText(HWND child, LPARAM) {
  boxText += WindowText(child);
  boxText += '|';
  return TRUE;
}
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", "Ошибка сохранения");
  if (box == nullptr) return;
  KillTimer(nullptr, id);
  boxCaption = WindowText(box);
  EnumChildWindows(box, &CollectText, 0);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

class EditorForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitCommonControlClasses(ICC_WIN95_CLASSES);
    StartHintManager();
    InitMainFormWindows();
    form = new TClassMainForm_1509590();
    StartStep(false, &EnableDelivery);
    // The clearing timer ticks once a second after start; let that tick pass.
    PumpFor(1500);
  }
  void SetUp() override {
    SendMessageA(form->ResetButton->Control->Handle, BM_CLICK, 0, 0);
    FireEmpty(MakeLink<&TQxWinList::inClear>(form->EffectMemo, 0));
    SetWindowTextA(form->FrameEdit->Control->Handle, "");
  }
  std::string Frame() { return WindowText(form->FrameEdit->Control->Handle); }
  std::string Effect() { return WindowText(form->EffectMemo->Control->Handle); }
  void PressEnterInFrameEdit() {
    const HWND edit = form->FrameEdit->Control->Handle;
    SetFocus(edit);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(edit, WM_CHAR, '\r', 0);
    SendMessageA(edit, WM_KEYUP, VK_RETURN, 0);
  }
  void SaveThroughTheHub(const std::string& path) {
    FireStr(MakeLink<&TQxHub::inEvent>(form->SaveHub, 0), ByteString(path));
  }
  // Saves the effect under a name the file dialog would hand on, and accepts either outcome the
  // user may see: the file written whole, or the failure box with the text kept past the tick.
  void SaveAndExpectWrittenOrReported(const std::string& path) {
    ClickLed(9);
    PressEnterInFrameEdit();
    boxCaption.clear();
    boxText.clear();
    const UINT_PTR answer = SetTimer(nullptr, 0, 100, &AnswerBox);
    SaveThroughTheHub(path);
    KillTimer(nullptr, answer);
    if (boxCaption.empty()) {
      EXPECT_EQ(ReadFileBytes(path), "8,227\r\n") << "no failure was told, yet the file is not the effect";
      DeleteFileA(path.c_str());
      return;
    }
    EXPECT_EQ(boxCaption, "Ошибка сохранения");
    EXPECT_NE(boxText.find("Не удалось сохранить эффект в файл"), std::string::npos) << boxText;
    PumpFor(5000, [&] { return !form->SaveGuard->KeepText; });  // the clearing tick the save started
    EXPECT_FALSE(form->SaveGuard->KeepText) << "the clearing tick did not come";
    EXPECT_EQ(Effect(), "8,227");
  }
};

// --- inventory

TEST_F(EditorForm, HasEveryElementAndEveryLink) {
  EXPECT_EQ(form->ElementCount(), 1326);
  EXPECT_EQ(form->VisualCount(), 231);
  EXPECT_EQ(form->LinkCount(), 2609);
  EXPECT_EQ(form->GuardLinkCount(), 2);
}

TEST_F(EditorForm, TheWorkbenchIsCountedApartFromTheDesignedGraph) {
  ASSERT_NE(form->PatternTools, nullptr);
  // The pattern tools: the key element and fifteen buttons; the key report, 15 button clicks and
  // the key element's three requests.
  EXPECT_EQ(form->PatternTools->ElementCount(), 16);
  EXPECT_EQ(form->PatternTools->LinkCount(), 1 + 15 + 3);
  // With the pattern element and its 216 LED change reports.
  EXPECT_EQ(form->WorkbenchElementCount(), 1 + 16);
  EXPECT_EQ(form->WorkbenchLinkCount(), 216 + 19);
  for (int n = 1; n <= 216; ++n) {
    EXPECT_TRUE(form->Led(n)->outChange.Connected()) << n;
    EXPECT_EQ(form->Led(n)->outClick.Target, form->Led(n)) << n;  // the designed click link is untouched
  }
}

TEST_F(EditorForm, VisualOrderStartsAndEndsAsTheElementTable) {
  const auto& order = form->VisualOrder();
  EXPECT_EQ(order.front(), form->Led(187));
  EXPECT_EQ(order[20], form->EditorWindow);
  EXPECT_EQ(order[21], form->Led(1));
  EXPECT_EQ(order[23], form->FrameEdit);
  EXPECT_EQ(order[order.size() - 2], form->Led(6));
  EXPECT_EQ(order.back(), form->CubeImage);
}

// --- properties

TEST_F(EditorForm, LedsStandOnTheLayerGridWithTheFourOffGridOnes) {
  struct Expect {
    int n, left, top, size;
  };
  for (const Expect& e :
       {Expect{1, 70, 245, 40}, Expect{2, 125, 245, 40}, Expect{3, 180, 245, 40}, Expect{8, 125, 300, 40},
        Expect{30, 340, 450, 40}, Expect{6, 340, 245, 40}, Expect{37, 370, 195, 35},
        Expect{108, 795, 315, 30}, Expect{181, 1125, 40, 15}, Expect{216, 1225, 140, 15}}) {
    TQxLED* led = form->Led(e.n);
    EXPECT_EQ(led->Left, e.left) << e.n;
    EXPECT_EQ(led->Top, e.top) << e.n;
    EXPECT_EQ(led->Width, e.size) << e.n;
    EXPECT_EQ(led->Height, e.size) << e.n;
  }
}

TEST_F(EditorForm, ColumnZeroLedsAreSystemColourTwoWhenDark) {
  for (int n = 1; n <= 216; ++n) {
    const bool columnZero = (n - 1) % 6 == 0;
    EXPECT_EQ(form->Led(n)->OffColor, columnZero ? SystemColor(COLOR_ACTIVECAPTION) : 0xF0CAA6) << n;
    EXPECT_EQ(form->Led(n)->OnColor, 255);
  }
}

TEST_F(EditorForm, OnlyLed133HasItsOwnTabOrderAndThreeNamesCarryABlank) {
  for (int n = 1; n <= 216; ++n) EXPECT_EQ(form->Led(n)->TabOrder, n == 133 ? 133 : 1) << n;
  EXPECT_EQ(form->Led(1)->Name.view(), " 1");
  EXPECT_EQ(form->Led(17)->Name.view(), " 17");
  EXPECT_EQ(form->Led(33)->Name.view(), " 33");
  EXPECT_EQ(form->Led(187)->Name.view(), "187");
}

// The controls Tab visits from FrameEdit, one full cycle, named for the test's messages.
std::vector<std::string> TabCycleFromFrameEdit(bool forward) {
  TControl* window = form->EditorWindow->Control;
  std::map<const TControl*, std::string> names;
  for (int n = 1; n <= 216; ++n) names[form->Led(n)->Control] = "Led" + std::to_string(n);
  for (int i = 0; i < 6; ++i) names[form->LayerLabels[i]->Control] = "LayerLabel" + std::to_string(i + 1);
  names[form->FrameLabel->Control] = "FrameLabel";
  names[form->EffectLabel->Control] = "EffectLabel";
  names[form->TitleLabel->Control] = "TitleLabel";
  names[form->ResetButton->Control] = "ResetButton";
  names[form->SaveButton->Control] = "SaveButton";
  names[form->FrameEdit->Control] = "FrameEdit";
  names[form->EffectMemo->Control] = "EffectMemo";
  names[form->CubeImage->Control] = "CubeImage";
  std::vector<std::string> cycle;
  const TControl* at = form->FrameEdit->Control;
  for (int step = 0; step < 300; ++step) {
    at = NextTabControl(window, at, forward);
    if (at == nullptr) break;
    cycle.push_back(names.count(at) != 0 ? names[at] : "?");
    if (at == form->FrameEdit->Control) break;
  }
  return cycle;
}

// The LEDs keep their places in the order but are no stops: they show no focus.
TEST_F(EditorForm, TabCyclePassesOverTheLedsAndKeepsTheDesignedOrderOfTheRest) {
  const std::vector<std::string> forward = {
      "ResetButton", "LayerLabel1", "LayerLabel2", "LayerLabel3", "LayerLabel4", "LayerLabel5", "LayerLabel6",
      "FrameLabel",  "EffectMemo",  "EffectLabel", "TitleLabel",  "SaveButton",  "CubeImage",   "FrameEdit"};
  EXPECT_EQ(TabCycleFromFrameEdit(true), forward);
  std::vector<std::string> backward(forward.rbegin() + 1, forward.rend());
  backward.push_back("FrameEdit");
  EXPECT_EQ(TabCycleFromFrameEdit(false), backward);
  for (int n = 1; n <= 216; ++n) {
    EXPECT_FALSE(form->Led(n)->Control->TabStop) << n;
    EXPECT_NE(GetWindowLongA(form->Led(n)->Control->Handle, GWL_STYLE) & WS_TABSTOP, 0) << n;
  }
}

TEST_F(EditorForm, WindowCaptionIsTheCp1251TextAtTheOrigin) {
  const std::string caption = WindowText(form->EditorWindow->Control->Handle);
  EXPECT_EQ(caption.substr(0, 7), std::string("\x20\xCD\xCE\xCC\xC5\xD0\xC0"));
  EXPECT_EQ(caption, " НОМЕРА СВЕТОДИОДОВ ДЛЯ ЭФФЕКТА");
  EXPECT_EQ(form->EditorWindow->Left, 0);
  EXPECT_EQ(form->EditorWindow->Width, 1274);
  EXPECT_EQ(WindowText(form->TitleLabel->Control->Handle), "TESSARO ");
  EXPECT_EQ(WindowText(form->ResetButton->Control->Handle), "СБРОС КАДРА");
}

TEST_F(EditorForm, NonVisualElementsCarryTheirSettings) {
  EXPECT_EQ(form->SaveDialog->FileName.view(), "ZOZIVU.TXT");
  EXPECT_EQ(form->SaveDialog->Filter.view(), "All|*.TXT*");
  EXPECT_EQ(form->SaveHub->OutCount(), 2);
  EXPECT_EQ(form->EnterHub->InCount, 2);
  EXPECT_EQ(form->Frame->ResetHub().OutCount(), 2);
  EXPECT_NE(form->CubeImage->Picture, nullptr);
}

// --- behaviour

TEST_F(EditorForm, ClickingLedsShowsTheFrameString) {
  ClickLed(1);
  ClickLed(2);
  ClickLed(216);
  EXPECT_EQ(Frame(), "0,1,215,227");
  ClickLed(2);
  EXPECT_EQ(Frame(), "0,215,227");
}

TEST_F(EditorForm, ResetDarkensEveryLed) {
  ClickLed(3);
  ClickLed(200);
  SendMessageA(form->ResetButton->Control->Handle, BM_CLICK, 0, 0);
  for (int n = 1; n <= 216; ++n) EXPECT_EQ(form->Led(n)->State, 0) << n;
  EXPECT_EQ(Frame(), "227");
}

TEST_F(EditorForm, EnterRecordsTheFrameAndEmptiesTheLine) {
  ClickLed(1);
  ClickLed(2);
  PressEnterInFrameEdit();
  EXPECT_EQ(Effect(), "0,1,227");
  EXPECT_EQ(Frame(), "");
  ClickLed(3);
  PressEnterInFrameEdit();
  EXPECT_EQ(Effect(), "0,1,227\r\n0,1,2,227");
}

TEST_F(EditorForm, SaveToWritesEveryLineWithCrLf) {
  ClickLed(1);
  ClickLed(2);
  PressEnterInFrameEdit();
  ClickLed(3);
  PressEnterInFrameEdit();
  const std::string path = TempPath("h9_effect.txt");
  ASSERT_TRUE(form->EffectMemo->SaveTo(path));
  EXPECT_EQ(ReadFileBytes(path), "0,1,227\r\n0,1,2,227\r\n");
  std::remove(path.c_str());
}

TEST_F(EditorForm, SuccessfulSaveClearsTheEffectAfterTheTick) {
  ClickLed(5);
  PressEnterInFrameEdit();
  const std::string path = TempPath("h9_saved.txt");
  SaveThroughTheHub(path);
  EXPECT_EQ(ReadFileBytes(path), "4,227\r\n");
  EXPECT_EQ(Effect(), "4,227");
  PumpFor(5000, [&] { return Effect().empty(); });
  EXPECT_EQ(Effect(), "");
  std::remove(path.c_str());
}

TEST_F(EditorForm, FailedSaveKeepsTheEffectAndTellsTheUser) {
  ClickLed(7);
  PressEnterInFrameEdit();
  const std::string path = "Z:\\no such folder h9\\x\\effect.txt";
  boxCaption.clear();
  boxText.clear();
  SetTimer(nullptr, 0, 100, &AnswerBox);
  SaveThroughTheHub(path);
  EXPECT_EQ(boxCaption, "Ошибка сохранения");
  EXPECT_NE(boxText.find("Не удалось сохранить эффект в файл"), std::string::npos);
  EXPECT_NE(boxText.find(path), std::string::npos);
  // The clearing tick that follows must leave the text alone.
  PumpFor(2000);
  EXPECT_EQ(Effect(), "6,227");
}

// Names past MAX_PATH, fed to the save as the dialog hands a name on: under Wine the dialog itself
// cannot take them (it overruns its own buffer), so they cannot come from outside the program.

TEST_F(EditorForm, NameOfTwoHundredFiftyCharactersIsWrittenOrReported) {
  SaveAndExpectWrittenOrReported(TempPath(std::string(246, 'L') + ".txt"));
}

TEST_F(EditorForm, FullPathOverMaxPathIsWrittenOrReported) {
  SaveAndExpectWrittenOrReported(TempPath(std::string(300, 'M')));
}

}  // namespace
