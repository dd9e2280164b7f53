// The cube editor's form on a real window: its elements, properties and links, and the behaviour
// of clicking, recording, resetting and saving with event delivery on.
#include "app/editor_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/tests/editor_form_fixture.h"
#include "cube/effect_text.h"
#include "elements/hint_manager.h"
#include "elements/player.h"
#include "platform/app.h"
#include "platform/control.h"
#include "platform/handlers.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"
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
  HWND box = FindWindowW(L"#32770", WideFromCp1251("Ошибка сохранения").c_str());
  if (box == nullptr) return;
  KillTimer(nullptr, id);
  boxCaption = WindowText(box);
  EnumChildWindows(box, &CollectText, 0);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// Any box of the workbench by its caption; notes the player's state while the box is up.
const char* wantedBox = "";
TQxPlayer::TState stateUnderBox = TQxPlayer::psStopped;
void CALLBACK AnswerWorkbenchBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(L"#32770", WideFromCp1251(wantedBox).c_str());
  if (box == nullptr) return;
  KillTimer(nullptr, id);
  boxCaption = WindowText(box);
  stateUnderBox = form->Effect->Player->State();
  EnumChildWindows(box, &CollectText, 0);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

class EditorForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form = editor_form_fixture::StartForm(false); }
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

// The first test of the suite: nothing has saved yet. The start waited for the first tick; the
// timer stopped itself there, so no later tick clears what the user types.
TEST_F(EditorForm, TheClearingTimerStopsItselfAtItsFirstTick) {
  EXPECT_FALSE(form->ClearTimer->Timer->Enabled);
}

TEST_F(EditorForm, HasEveryElementAndEveryLink) {
  EXPECT_EQ(form->ElementCount(), 1326);
  EXPECT_EQ(form->VisualCount(), 231);
  EXPECT_EQ(form->LinkCount(), 2609);
  EXPECT_EQ(form->GuardLinkCount(), 2);
}

TEST_F(EditorForm, TheWorkbenchIsCountedApartFromTheDesignedGraph) {
  ASSERT_NE(form->PatternTools, nullptr);
  // The pattern tools: the key element and fifteen buttons; 15 button clicks, the key element's
  // three requests and the history state that greys undo and redo.
  EXPECT_EQ(form->PatternTools->ElementCount(), 16);
  EXPECT_EQ(form->PatternTools->LinkCount(), 15 + 3 + 1);
  // The key map: the 15 pattern keys, the effect panel's 10, the 5 line tools', the export's, the view's and
  // the generator's.
  EXPECT_EQ(form->Keys->LinkCount(), 15 + 10 + 5 + 1 + 1 + 1);
  // The effect panel's 16 elements and 39 links (3 of them end playback on a click or a key in
  // the effect text, 2 elements and 4 links are the wrap button's).
  EXPECT_EQ(form->Effect->ElementCount(), 16);
  EXPECT_EQ(form->Effect->LinkCount(), 39);
  // The line tools: five buttons and the line element; five clicks and the cube's frame.
  EXPECT_EQ(form->FrameLines->ElementCount(), 6);
  EXPECT_EQ(form->FrameLines->LinkCount(), 5 + 1);
  // With the pattern element and its 216 LED change reports.
  EXPECT_EQ(form->SaveFlow->ElementCount(), 2);
  EXPECT_EQ(form->SaveFlow->LinkCount(), 12);
  // The export: its button and element; the click, the effect text, the rate and the settling of
  // a rate typed, the folder and the pause of playback.
  EXPECT_EQ(form->Exporter->ElementCount(), 2);
  EXPECT_EQ(form->Exporter->LinkCount(), 6);
  // The view's button and window; the button's click, the frame read and the change report.
  EXPECT_EQ(form->CubeView->ElementCount(), 2);
  EXPECT_EQ(form->CubeView->LinkCount(), 3);
  // The generator: its button and the dialog element; the click, the cube's frame, the rate field.
  EXPECT_EQ(form->Generator->ElementCount(), 2);
  EXPECT_EQ(form->Generator->LinkCount(), 1 + 2);
  EXPECT_EQ(form->WorkbenchElementCount(), 1 + 16 + 16 + 2 + 6 + 2 + 2 + 2);
  EXPECT_EQ(form->WorkbenchLinkCount(), 216 + 19 + 39 + 12 + 6 + 33 + 6 + 3 + 3);
  for (int n = 1; n <= 216; ++n) {
    EXPECT_TRUE(form->Led(n)->outChange.Connected()) << n;
    EXPECT_EQ(form->Led(n)->outClick.Target, form->Led(n)) << n;  // the designed click link is untouched
  }
}

TEST_F(EditorForm, EffectControlsStandInTheFreeAreasOverNoDesignedControlAndOutOfTheTabOrder) {
  HWND window = form->EditorWindow->Control->Handle;
  auto placeOf = [window](TQxWin* e) {
    RECT r{};
    GetWindowRect(e->Control->Handle, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  TEffectPlayerPanel& p = *form->Effect;
  const std::vector<TQxWin*> strip{p.PlayButton, p.StopButton, p.BackButton, p.ForwardButton,
                                   p.RateEdit,   p.RateLabel,  p.LoopButton, p.CounterLabel};
  const std::vector<TQxWin*> desk{p.OpenButton, p.ReplaceButton, p.BringButton, p.WrapButton};
  const std::vector<TQxWin*> lineTools(form->FrameLines->Buttons.begin(), form->FrameLines->Buttons.end());
  // The workbench buttons right of layer 5, one under another.
  const std::vector<TQxWin*> exporter{form->Exporter->Button};
  const std::vector<TQxWin*> generator{form->Generator->Button};
  const std::vector<TQxWin*> view{form->CubeView->ViewButton};
  for (const auto& [group, area] :
       {std::pair{strip, RECT{450, 5, 980, 33}}, std::pair{desk, RECT{786, 565, 1043, 620}},
        std::pair{lineTools, RECT{556, 452, 640, 582}}, std::pair{generator, RECT{1140, 206, 1236, 230}},
        std::pair{view, RECT{1140, 231, 1236, 255}}, std::pair{exporter, RECT{1140, 256, 1236, 278}}}) {
    for (TQxWin* e : group) {
      const RECT r = placeOf(e);
      EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                  r.bottom <= area.bottom)
          << e->Control->GetCaption() << " at " << r.left << "," << r.top << "-" << r.right << ","
          << r.bottom;
      EXPECT_FALSE(e->Control->TabStop) << e->Control->GetCaption();
      for (TQxWin* designed : form->VisualOrder()) {
        if (designed == form->EditorWindow) continue;
        const RECT d = placeOf(designed);
        RECT both{};
        EXPECT_FALSE(IntersectRect(&both, &r, &d))
            << e->Control->GetCaption() << " covers " << designed->Control->GetCaption();
      }
      std::vector<TQxWin*> others(strip);
      for (TQxButton* tool : form->PatternTools->Buttons) others.push_back(tool);
      for (TQxWin* other : others) {
        if (other == e) continue;
        const RECT o = placeOf(other);
        RECT both{};
        EXPECT_FALSE(IntersectRect(&both, &r, &o)) << e->Control->GetCaption();
      }
    }
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
    EXPECT_EQ(form->Led(n)->OffColor, columnZero ? ElementSystemColor(COLOR_ACTIVECAPTION) : 0xF0CAA6) << n;
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
  // Appended, not a literal + string chain: i686 GCC 12 at -O3 warns falsely (-Wrestrict) on that.
  for (int i = 0; i < 6; ++i)
    names[form->LayerLabels[i]->Control] = std::string("LayerLabel").append(std::to_string(i + 1));
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
  PumpFor(5000, [&] { return !form->SaveGuard->KeepText; });
  EXPECT_FALSE(form->SaveGuard->KeepText) << "the clearing tick did not come";
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

// --- the effect workbench inside the form

TEST_F(EditorForm, AnEffectOpenedWhileAClearingTickIsDueOutlivesTheTickAndTheNextSaveClearsAgain) {
  const std::string saved = TempPath("cube_effect_saved.txt");
  const std::string opened = TempPath("cube_effect_opened.txt");
  std::ofstream(opened, std::ios::binary) << "3,227\n4,227\n";
  ClickLed(2);
  PressEnterInFrameEdit();
  SaveThroughTheHub(saved);  // the clearing tick is due in a second
  FireStr(MakeLink<&TQxEffectFile::inOpenFile>(form->Effect->EffectFile), ByteString(opened));
  EXPECT_EQ(Effect(), "3,227\r\n4,227");
  // The clearing timer stops itself at its tick: that is the moment to look.
  const auto ticked = [&] { return !form->ClearTimer->Timer->Enabled; };
  PumpFor(5000, ticked);
  ASSERT_TRUE(ticked()) << "the clearing tick did not come";
  EXPECT_EQ(Effect(), "3,227\r\n4,227") << "the tick due before the open cleared the opened effect";
  SaveThroughTheHub(saved);
  PumpFor(5000, ticked);
  EXPECT_EQ(Effect(), "") << "a save after the open is cleared as always";
  EXPECT_EQ(ReadFileBytes(saved), "3,227\r\n4,227\r\n");
  std::remove(saved.c_str());
  std::remove(opened.c_str());
}

TEST_F(EditorForm, AFrameBroughtBackFromTheTextIsOneUndoStepAndShownOnTheLeds) {
  SetWindowTextA(form->EffectMemo->Control->Handle, "1,227\r\n0,5,215,227");
  SendMessageA(form->EffectMemo->Control->Handle, EM_SETSEL, 9, 9);
  FireEmpty(MakeLink<&TQxEffectFile::inBringBack>(form->Effect->EffectFile));
  EXPECT_EQ(Frame(), "0,5,215,227");
  EXPECT_EQ(form->Led(1)->State, 1);
  EXPECT_EQ(form->Led(6)->State, 1);
  EXPECT_EQ(form->Led(216)->State, 1);
  EXPECT_EQ(form->Led(2)->State, 0);
  EXPECT_TRUE(form->Effect->EffectFile->HasSourceLine());
  EXPECT_EQ(form->Effect->EffectFile->SourceLine(), 1u);
  FireEmpty(MakeLink<&TQxCubePattern::inUndo>(form->Pattern));
  EXPECT_EQ(Frame(), "227");
  EXPECT_EQ(form->Led(216)->State, 0);
}

TEST_F(EditorForm, PlaybackStepsShowEachFrameOnTheLedsAndStopPutsTheEarlierOneBack) {
  ClickLed(10);
  SetWindowTextA(form->EffectMemo->Control->Handle, "0,227\r\nno frame\r\n1,2,227");
  TEffectPlayerPanel& panel = *form->Effect;
  FireEmpty(MakeLink<&TQxPlayer::inForward>(panel.Player));
  EXPECT_EQ(Frame(), "0,227");
  FireEmpty(MakeLink<&TQxPlayer::inForward>(panel.Player));
  EXPECT_EQ(Frame(), "1,2,227");
  EXPECT_EQ(form->Led(3)->State, 1);
  EXPECT_EQ(WindowText(panel.CounterLabel->Control->Handle), "кадр 2 из 2");
  DWORD from = 0, to = 0;
  SendMessageA(form->EffectMemo->Control->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
               reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 17u) << "the memo marks the frame's line by the caret at its start";
  EXPECT_EQ(to, 17u);
  FireEmpty(MakeLink<&TQxPlayer::inStop>(panel.Player));
  EXPECT_EQ(Frame(), "9,227");
  EXPECT_EQ(form->Led(10)->State, 1);
  EXPECT_EQ(form->Led(3)->State, 0);
}

TEST_F(EditorForm, ShortcutKeysReachTheWorkbenchFromInsideTheTextControls) {
  ClickLed(4);
  SetWindowTextA(form->EffectMemo->Control->Handle, "7,227");
  HWND memo = form->EffectMemo->Control->Handle;
  SetFocus(memo);
  SendMessageA(memo, EM_SETSEL, 0, 0);
  SendMessageA(memo, WM_KEYDOWN, VK_F2, 0);
  EXPECT_EQ(Frame(), "7,227");
  EXPECT_EQ(WindowText(memo), "7,227") << "the key reached the text";
  ClickLed(1);
  SetFocus(form->FrameEdit->Control->Handle);
  SendMessageA(form->FrameEdit->Control->Handle, WM_KEYDOWN, VK_F3, 0);
  EXPECT_EQ(WindowText(memo), "0,7,227") << "F3 writes the frame back over its line";
}

TEST_F(EditorForm, TheKeyMapTakesEachKeyOnceAndLeavesTheTextFieldsTheirKeys) {
  const std::vector<TFormKeys::TRow>& rows = form->Keys->Rows();
  std::set<std::pair<std::int32_t, std::int32_t>> taken;
  for (const TFormKeys::TRow& row : rows) {
    EXPECT_TRUE(taken.insert({row.Key, row.Shift}).second) << "key " << row.Key << " taken twice";
    EXPECT_TRUE(row.Action.Connected()) << row.Key;
  }
  const HWND texts[] = {form->FrameEdit->Control->Handle, form->EffectMemo->Control->Handle,
                        form->Effect->RateEdit->Control->Handle};
  for (const TFormKeys::TRow& row : rows) {
    EXPECT_EQ(form->Keys->Find(row.Key, row.Shift, form->Led(1)->Control->Handle), &row) << row.Key;
    for (HWND text : texts)
      EXPECT_EQ(form->Keys->Find(row.Key, row.Shift, text) == &row, row.Where == TFormKeys::TWhere::Anywhere)
          << row.Key;
  }
  EXPECT_EQ(form->Keys->Find('1', kCtrlKey | kShiftKey, nullptr), nullptr) << "modifiers must match exactly";
}

TEST_F(EditorForm, TheRateFieldIsClampedWhenSettledAndTheLoopButtonTellsItsSetting) {
  TEffectPlayerPanel& panel = *form->Effect;
  HWND rate = panel.RateEdit->Control->Handle;
  SetFocus(rate);
  const std::int32_t before = panel.Player->Rate;
  SetWindowTextA(rate, "5");
  EXPECT_EQ(panel.Player->Rate, before) << "a rate being typed (\"1\" of \"1500\") must not apply yet";
  EXPECT_EQ(WindowText(rate), "5") << "and is not rewritten while typed";
  SendMessageA(rate, WM_CHAR, 'x', 1);
  EXPECT_EQ(WindowText(rate), "5") << "the field takes digits only";
  SendMessageA(rate, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(WindowText(rate), "20");
  SetWindowTextA(rate, "99999");
  SetFocus(form->FrameEdit->Control->Handle);  // leaving the field settles it
  EXPECT_EQ(WindowText(rate), "2000");
  SetFocus(rate);
  SetWindowTextA(rate, "100");
  SendMessageA(rate, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(panel.Player->Rate, 100);

  HWND loop = panel.LoopButton->Control->Handle;
  EXPECT_EQ(WindowText(loop), "Повтор: нет");
  SetFocus(form->FrameEdit->Control->Handle);
  SendMessageA(form->FrameEdit->Control->Handle, WM_KEYDOWN, VK_F9, 0);
  EXPECT_EQ(WindowText(loop), "Повтор: да");
  EXPECT_EQ(panel.Player->Loop, 1);
  SendMessageA(loop, BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(loop), "Повтор: нет");
}

TEST_F(EditorForm, TheRateFieldShowsTheLargestRateWhole) {
  HWND rate = form->Effect->RateEdit->Control->Handle;
  HDC dc = GetDC(rate);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(rate, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, "2000", 4, &size);
  SelectObject(dc, old);
  ReleaseDC(rate, dc);
  RECT room{};
  SendMessageA(rate, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
  EXPECT_LE(size.cx, room.right - room.left) << "\"2000\" would show as \"000\"";
}

// The session's end and the counter, through the paths that send the memo no change report.
class EffectSession : public EditorForm {
 protected:
  TEffectPlayerPanel& panel = *form->Effect;
  void TearDown() override {
    FireEmpty(MakeLink<&TQxPlayer::inStop>(panel.Player));
    FireInt(MakeLink<&TQxPlayer::inLoop>(panel.Player), 0);
    FireInt(MakeLink<&TQxPlayer::inRate>(panel.Player, 1), TQxPlayer::kDefaultRate);
  }
  std::string Counter() { return WindowText(panel.CounterLabel->Control->Handle); }
  void PlayLooping(const char* text) {
    SetWindowTextA(form->EffectMemo->Control->Handle, text);
    FireInt(MakeLink<&TQxPlayer::inLoop>(panel.Player), 1);
    FireInt(MakeLink<&TQxPlayer::inRate>(panel.Player, 1), 20);
    FireEmpty(MakeLink<&TQxPlayer::inPlay>(panel.Player));
    ASSERT_EQ(panel.Player->State(), TQxPlayer::psPlaying);
  }
};

TEST_F(EffectSession, TheClearingTickAfterASaveEndsPlaybackAndTheCounterStops) {
  ClickLed(1);
  PlayLooping("3,227\r\n4,227");
  const std::string path = TempPath("cube_effect_played_saved.txt");
  SaveThroughTheHub(path);
  PumpFor(3000, [&] { return Effect().empty(); });
  ASSERT_EQ(Effect(), "");
  EXPECT_EQ(panel.Player->State(), TQxPlayer::psStopped);
  EXPECT_EQ(Counter(), "кадр 0 из 0");
  const std::string frame = Frame();
  PumpFor(300);
  EXPECT_EQ(Counter(), "кадр 0 из 0") << "the counter still advances";
  EXPECT_EQ(Frame(), frame) << "frames still reach the cube";
  EXPECT_EQ(ReadFileBytes(path), "3,227\r\n4,227\r\n");
  std::remove(path.c_str());
}

TEST_F(EffectSession, TypingInTheFrameLineWhilePlayingEndsPlaybackAndKeepsWhatWasTyped) {
  PlayLooping("3,227\r\n4,227");
  PumpFor(100);
  ASSERT_EQ(panel.Player->State(), TQxPlayer::psPlaying) << "the player's own frames must not halt it";
  HWND line = form->FrameEdit->Control->Handle;
  SetFocus(line);
  SendMessageA(line, EM_SETSEL, 0, -1);
  SendMessageA(line, WM_CHAR, '9', 1);
  EXPECT_EQ(panel.Player->State(), TQxPlayer::psStopped);
  PumpFor(150);
  EXPECT_EQ(Frame(), "9");
}

TEST_F(EffectSession, AfterStopReplaceWritesToTheLineBroughtBackNotToTheLinePlayedLast) {
  HWND memo = form->EffectMemo->Control->Handle;
  SetWindowTextA(memo, "0,227\r\n1,227\r\n2,227");
  SendMessageA(memo, EM_SETSEL, 15, 15);  // line 3
  FireEmpty(MakeLink<&TQxEffectFile::inBringBack>(panel.EffectFile));
  ClickLed(36);                                              // the frame changed: "2,35,227"
  FireEmpty(MakeLink<&TQxPlayer::inForward>(panel.Player));  // line 1 shown and marked
  FireEmpty(MakeLink<&TQxPlayer::inStop>(panel.Player));
  EXPECT_EQ(Frame(), "2,35,227");
  FireEmpty(MakeLink<&TQxEffectFile::inReplace>(panel.EffectFile));
  EXPECT_EQ(Effect(), "0,227\r\n1,227\r\n2,35,227");
}

TEST_F(EffectSession, TheCounterTellsTheFramesOfAnOpenedOrEditedTextBeforePlay) {
  const std::string path = TempPath("cube_effect_counted.txt");
  std::ofstream(path, std::ios::binary) << "1,227\nnot a frame\n2,227\n3,227\n";
  wantedBox = "Эффект открыт";  // it tells of the line that is no frame
  const UINT_PTR answer = SetTimer(nullptr, 0, 100, &AnswerWorkbenchBox);
  FireStr(MakeLink<&TQxEffectFile::inOpenFile>(panel.EffectFile), ByteString(path));
  KillTimer(nullptr, answer);
  EXPECT_EQ(Counter(), "кадр 0 из 3");
  HWND memo = form->EffectMemo->Control->Handle;
  SendMessageA(memo, EM_SETSEL, 0, 0);
  SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("5,227\r\n"));
  PumpFor(2000, [&] { return Counter() == "кадр 0 из 4"; });
  EXPECT_EQ(Counter(), "кадр 0 из 4");
  std::remove(path.c_str());
}

TEST_F(EffectSession, ABoxShownWhilePlayingPausesPlaybackFirst) {
  PlayLooping("3,227\r\nnot a frame");
  SendMessageA(form->EffectMemo->Control->Handle, EM_SETSEL, 10, 10);
  wantedBox = "Кадр из строки";
  boxCaption.clear();
  stateUnderBox = TQxPlayer::psPlaying;
  const UINT_PTR answer = SetTimer(nullptr, 0, 100, &AnswerWorkbenchBox);
  FireEmpty(MakeLink<&TQxEffectFile::inBringBack>(panel.EffectFile));
  KillTimer(nullptr, answer);
  EXPECT_EQ(boxCaption, "Кадр из строки");
  EXPECT_EQ(stateUnderBox, TQxPlayer::psPaused);
}

TEST_F(EffectSession, AFileWithALineNoEffectCouldHoldIsRefusedAndTheTextKept) {
  SetWindowTextA(form->EffectMemo->Control->Handle, "5,227");
  const std::string path = TempPath("cube_effect_long_line.txt");
  std::ofstream(path, std::ios::binary) << "1,227\n" << std::string(effect::kMaxLineBytes + 1, '1') << "\n";
  wantedBox = "Ошибка открытия";
  boxCaption.clear();
  boxText.clear();
  const UINT_PTR answer = SetTimer(nullptr, 0, 100, &AnswerWorkbenchBox);
  FireStr(MakeLink<&TQxEffectFile::inOpenFile>(panel.EffectFile), ByteString(path));
  KillTimer(nullptr, answer);
  EXPECT_EQ(boxCaption, "Ошибка открытия");
  EXPECT_NE(boxText.find("Это не файл эффекта: строка 2 длиннее"), std::string::npos) << boxText;
  EXPECT_EQ(Effect(), "5,227");
  std::remove(path.c_str());
}

}  // namespace
