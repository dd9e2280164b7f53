// The effect workbench of the built cube editor, driven from outside its process: opening effect
// files through the dialog (line ends, refusals, the question before unsaved text is replaced),
// frames brought back from the effect text and written back over their lines, and playback seen
// on the frame line and the LEDs.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/led_shot.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

using e2e::TDialogOutcome;
using e2e::TEditorProcess;

const std::string kRefusedCaption = "Ошибка открытия";

// LED numbers (1-based) lit by a frame string; empty for one that is no frame.
std::set<int> LitBy(const std::string& frame) {
  std::set<int> lit;
  std::size_t at = 0;
  while (at < frame.size()) {
    const std::size_t comma = frame.find(',', at);
    if (comma == std::string::npos) break;
    lit.insert(std::stoi(frame.substr(at, comma - at)) + 1);
    at = comma + 1;
  }
  return lit;
}

bool IsFrame(const std::string& line) {
  if (line.size() < 3 || line.compare(line.size() - 3, 3, "227") != 0) return false;
  int last = -1;
  std::size_t at = 0;
  while (at < line.size() - 3) {
    const std::size_t comma = line.find(',', at);
    if (comma == std::string::npos || comma == at) return false;
    const std::string number = line.substr(at, comma - at);
    if (number.find_first_not_of("0123456789") != std::string::npos) return false;
    const int n = std::stoi(number);
    if (n <= last || n > 215) return false;
    last = n;
    at = comma + 1;
  }
  return at == line.size() - 3;
}

class EditorEffect : public e2e::TSavingEditor {
 protected:
  std::string WriteEffect(const std::string& name, const std::string& bytes) {
    const std::string path = PathOf(name);
    EXPECT_TRUE(e2e::WriteFileBytes(path, bytes));
    return path;
  }
  // Opens the file and expects it taken without any message.
  void OpenQuietly(const std::string& path) {
    const TDialogOutcome outcome = effect.OpenFile(path);
    ASSERT_TRUE(outcome.Closed) << "the dialog stayed open";
    ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Caption << ": " << outcome.Box->Text;
  }
  void ExpectRefused(const TDialogOutcome& outcome, const std::string& reasonPart,
                     const std::string& memoBefore) {
    ASSERT_TRUE(outcome.Box.has_value()) << "no refusal message";
    EXPECT_EQ(outcome.Box->Caption, kRefusedCaption);
    EXPECT_EQ(outcome.Box->Owner, editor.Window()) << "the message belongs to the editor window";
    EXPECT_NE(outcome.Box->Text.find(reasonPart), std::string::npos) << outcome.Box->Text;
    ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
    EXPECT_EQ(editor.MemoText(), memoBefore) << "the effect text changed on a refused open";
  }
  // Waits until every LED's body shows the colour of its state in `lit` (LED numbers); answers the
  // pixels that still differ.
  std::string LedsShow(const std::set<int>& lit) {
    e2e::TLit expected;
    for (int n : lit) expected.set(static_cast<std::size_t>(n - 1));
    std::string mismatches;
    e2e::ShotShowing(editor, expected, mismatches);
    return mismatches;
  }

  e2e::TEffectDriver effect{editor, save};
};

// --- Opening

TEST_F(EditorEffect, LfCrAndCrLfLinesOpenAsTheirLinesAndSaveAgainWithCrLfAfterEach) {
  OpenQuietly(WriteEffect("mixed.TXT", "0,227\n1,2,227\r3,227\r\n4,227\n"));
  ASSERT_TRUE(editor.WaitMemoText("0,227\r\n1,2,227\r\n3,227\r\n4,227")) << editor.MemoText();
  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(dialog, PathOf("again.TXT")));
  const TDialogOutcome saved = save.PressOkAndWait(dialog);
  ASSERT_FALSE(saved.Box.has_value()) << saved.Box->Text;
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("again.TXT")).value_or("?"), "0,227\r\n1,2,227\r\n3,227\r\n4,227\r\n");
}

TEST_F(EditorEffect, LinesThatAreNotFramesAreKeptAndCountedWithTheirNumbers) {
  const TDialogOutcome outcome =
      effect.OpenFile(WriteEffect("bad.TXT", "x\r\n0,227\r\n\r\n5,3,227\r\n1,227"));
  ASSERT_TRUE(outcome.Box.has_value()) << "no word about the lines that are no frames";
  EXPECT_EQ(outcome.Box->Caption, "Эффект открыт");
  EXPECT_NE(outcome.Box->Text.find(": 3"), std::string::npos) << outcome.Box->Text;
  EXPECT_NE(outcome.Box->Text.find("1, 3, 4."), std::string::npos) << outcome.Box->Text;
  ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
  EXPECT_EQ(editor.MemoText(), "x\r\n0,227\r\n\r\n5,3,227\r\n1,227");
}

TEST_F(EditorEffect, CtrlOOpensTheDialogEvenFromTheEffectTextAndCancelChangesNothing) {
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "1,227"));
  ASSERT_TRUE(editor.ClickAt(editor.EffectMemo(), 40, 10));
  HWND dialog = effect.ShowOpenDialog(true);
  ASSERT_NE(dialog, nullptr) << "Ctrl+O brought no dialog";
  ASSERT_TRUE(save.CancelAndWait(dialog));
  EXPECT_EQ(editor.MemoText(), "1,227") << "no letter typed into the text";
}

TEST_F(EditorEffect, AFileHeldOpenByAnotherProgramIsRefusedAndTheTextKept) {
  const std::string path = WriteEffect("held.TXT", "1,227\r\n");
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "kept"));
  HANDLE held =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const TDialogOutcome outcome = effect.OpenFile(path);
  CloseHandle(held);
  ExpectRefused(outcome, "held.TXT", "kept");
}

TEST_F(EditorEffect, AFileWithNulBytesIsRefusedAsNoText) {
  const std::string path = WriteEffect("binary.TXT", std::string("1,227\r\n\0\x01\x02", 10));
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "kept"));
  ExpectRefused(effect.OpenFile(path), "нулевые байты", "kept");
}

TEST_F(EditorEffect, AFileOverFourMegabytesIsRefused) {
  const std::string path = WriteEffect("huge.TXT", std::string((4u << 20) + 1, '7'));
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "kept"));
  ExpectRefused(effect.OpenFile(path), "больше 4 МБ", "kept");
}

TEST_F(EditorEffect, AFolderIsRefusedOrBrowsedIntoButNeverOpened) {
  ASSERT_TRUE(CreateDirectoryA(PathOf("sub.TXT").c_str(), nullptr));
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "kept"));
  const TDialogOutcome outcome = effect.OpenFile(PathOf("sub.TXT"));
  if (outcome.Box.has_value()) {
    ExpectRefused(outcome, "sub.TXT", "kept");
    return;
  }
  // The system's dialog goes into a folder named in its field and stays open.
  EXPECT_FALSE(outcome.Closed);
  HWND dialog = effect.FindOpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.CancelAndWait(dialog));
  EXPECT_EQ(editor.MemoText(), "kept");
}

TEST_F(EditorEffect, RecordedTextIsReplacedOnlyAfterAYes) {
  Record({1, 2});
  ASSERT_TRUE(editor.WaitMemoText("0,1,227"));
  const std::string path = WriteEffect("other.TXT", "5,227\r\n");
  TDialogOutcome outcome = effect.OpenFile(path);
  ASSERT_TRUE(outcome.Box.has_value()) << "no question before unsaved text is replaced";
  EXPECT_EQ(outcome.Box->Caption, "Открытие эффекта");
  ASSERT_TRUE(effect.Answer(*outcome.Box, IDNO));
  EXPECT_EQ(editor.MemoText(), "0,1,227") << "No keeps the text";

  outcome = effect.OpenFile(path);
  ASSERT_TRUE(outcome.Box.has_value());
  ASSERT_TRUE(effect.Answer(*outcome.Box, IDYES));
  EXPECT_EQ(editor.MemoText(), "5,227");
}

TEST_F(EditorEffect, SavedOrOpenedTextIsReplacedWithoutAQuestion) {
  OpenQuietly(WriteEffect("a.TXT", "1,227"));
  OpenQuietly(WriteEffect("b.TXT", "2,227"));
  EXPECT_EQ(editor.MemoText(), "2,227");
}

TEST(EditorEffectStart, AFileOpenedBeforeTheFirstClearingTickIsNotCleared) {
  TEditorProcess early;
  ASSERT_TRUE(early.Start()) << early.Error();
  e2e::TSaveDriver earlySave{early};
  e2e::TEffectDriver earlyEffect{early, earlySave};
  const std::string path = early.WorkDir() + "\\early.TXT";
  ASSERT_TRUE(e2e::WriteFileBytes(path, "3,227\r\n"));
  const TDialogOutcome outcome = earlyEffect.OpenFile(path);
  ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Text;
  ASSERT_TRUE(early.WaitClearingTicks(1)) << "the first clearing tick did not come";
  EXPECT_EQ(early.MemoText(), "3,227");
}

// --- Frames brought back and written back

TEST_F(EditorEffect, ADoubleClickedLineLightsItsLedsAndFillsTheFrameLine) {
  OpenQuietly(WriteEffect("frames.TXT", "0,227\r\n0,7,43,100,215,227\r\n2,227\r\n"));
  ASSERT_TRUE(effect.DoubleClickLine(1));
  ASSERT_TRUE(editor.WaitFrameText("0,7,43,100,215,227")) << editor.FrameText();
  EXPECT_EQ(LedsShow({1, 8, 44, 101, 216}), "");
}

TEST_F(EditorEffect, F2BringsTheCaretsLineAndAnInvalidLineIsRefusedWithItsNumber) {
  const TDialogOutcome opened = effect.OpenFile(WriteEffect("frames.TXT", "4,227\r\n9,3,227"));
  ASSERT_TRUE(opened.Box.has_value());
  ASSERT_TRUE(save.DismissAndWait(*opened.Box));
  ASSERT_TRUE(effect.PutCaretOnLine(0));
  ASSERT_TRUE(editor.PressKey(VK_F2));
  ASSERT_TRUE(editor.WaitFrameText("4,227"));
  ASSERT_TRUE(effect.PutCaretOnLine(1));
  ASSERT_TRUE(editor.PressKey(VK_F2));
  const auto box = effect.WaitMessageBox();
  ASSERT_TRUE(box.has_value()) << "an invalid line is refused without a word";
  EXPECT_EQ(box->Caption, "Кадр из строки");
  EXPECT_NE(box->Text.find("Строка 2"), std::string::npos) << box->Text;
  ASSERT_TRUE(effect.Answer(*box, IDOK));
  EXPECT_EQ(editor.FrameText(), "4,227") << "the cube keeps its frame";
  EXPECT_EQ(LedsShow({5}), "");
}

TEST_F(EditorEffect, AReplacedLineIsSavedWithTheNewFrame) {
  OpenQuietly(WriteEffect("frames.TXT", "0,227\r\n1,227\r\n2,227\r\n"));
  ASSERT_TRUE(effect.DoubleClickLine(1));
  ASSERT_TRUE(editor.WaitFrameText("1,227"));
  ASSERT_TRUE(editor.ClickLed(4));
  ASSERT_TRUE(editor.WaitFrameText("1,3,227"));
  // The caret goes elsewhere: the frame still goes back over the line it came from.
  ASSERT_TRUE(effect.PutCaretOnLine(2));
  ASSERT_TRUE(effect.Press(effect.Button("Заменить кадр")));
  ASSERT_TRUE(editor.WaitMemoText("0,227\r\n1,3,227\r\n2,227"));
  // F3 with the caret on a line the frame did not come from, after the text around it changed.
  ASSERT_TRUE(editor.ClickLed(6));
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "9,227\r\n0,227"));
  ASSERT_TRUE(effect.PutCaretOnLine(1));
  ASSERT_TRUE(editor.PressKey(VK_F3));
  ASSERT_TRUE(editor.WaitMemoText("9,227\r\n1,3,5,227")) << editor.MemoText();

  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(dialog, PathOf("out.TXT")));
  ASSERT_FALSE(save.PressOkAndWait(dialog).Box.has_value());
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("out.TXT")).value_or("?"), "9,227\r\n1,3,5,227\r\n");
}

TEST_F(EditorEffect, EnterInTheFrameLineStillAppends) {
  OpenQuietly(WriteEffect("frames.TXT", "0,227"));
  Record({3});
  EXPECT_EQ(editor.MemoText(), "0,227\r\n2,227");
}

// --- Playback

class EditorPlayback : public EditorEffect {
 protected:
  // Ten frames with lines that are no frames between them.
  void OpenTenFrames() {
    std::string file;
    for (int k = 0; k < 10; ++k) {
      frames.push_back(std::to_string(k) + "," + std::to_string(20 + k) + ",227");
      file += frames.back() + "\r\n";
      if (k % 3 == 1) file += "no frame\r\n";
    }
    const TDialogOutcome outcome = effect.OpenFile(WriteEffect("ten.TXT", file));
    ASSERT_TRUE(outcome.Box.has_value()) << "the lines that are no frames are told";
    ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
  }
  void SetRate(const char* ms) {
    HWND rate = effect.RateEdit();
    ASSERT_NE(rate, nullptr);
    ASSERT_TRUE(editor.SetTextOf(rate, ms));
    ASSERT_TRUE(editor.Sync());
  }
  std::vector<std::string> frames;
};

TEST_F(EditorPlayback, TenFramesAtFiftyMillisecondsShowValidFramesInFileOrderAndEndOnTheLast) {
  OpenTenFrames();
  SetRate("50");
  ASSERT_TRUE(effect.Press(effect.PlayButton()));
  std::vector<std::string> seen;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    const std::string frame = editor.FrameText();
    if (seen.empty() || seen.back() != frame) seen.push_back(frame);
    if (effect.Counter() == "кадр 10 из 10" && effect.Button("Пуск") != nullptr) break;
    Sleep(3);
  }
  ASSERT_EQ(effect.Counter(), "кадр 10 из 10");
  // The counter may have reached the last frame after the frame line was read in the same round.
  if (const std::string last = editor.FrameText(); seen.empty() || seen.back() != last) seen.push_back(last);
  std::size_t next = 0;
  for (const std::string& frame : seen) {
    ASSERT_TRUE(IsFrame(frame)) << frame;
    while (next < frames.size() && frames[next] != frame) ++next;
    ASSERT_LT(next, frames.size()) << frame << " out of file order";
  }
  EXPECT_EQ(seen.back(), frames.back());
  EXPECT_EQ(LedsShow(LitBy(frames.back())), "");
  // The memo marks the line of the frame shown, the last line, by the caret at its start.
  const std::size_t last = effect.LineStart(12);
  EXPECT_EQ(effect.MemoSelection(), std::make_pair(last, last));
}

TEST_F(EditorPlayback, StopBringsBackThePatternFromBeforePlay) {
  OpenTenFrames();
  ASSERT_TRUE(editor.ClickLed(2));
  ASSERT_TRUE(editor.ClickLed(200));
  ASSERT_TRUE(editor.WaitFrameText("1,199,227"));
  SetRate("2000");
  ASSERT_TRUE(effect.Press(effect.PlayButton()));
  ASSERT_TRUE(editor.WaitFrameText(frames[0]));
  ASSERT_TRUE(editor.PressKey(VK_F8));  // a step forward pauses on the next frame
  ASSERT_TRUE(editor.WaitFrameText(frames[1]));
  ASSERT_TRUE(editor.PressKey(VK_F6));
  ASSERT_TRUE(editor.WaitFrameText("1,199,227"));
  EXPECT_EQ(effect.Counter(), "кадр 0 из 10");
  EXPECT_EQ(LedsShow({2, 200}), "");
}

TEST_F(EditorPlayback, F5InTheRateFieldPlaysAtTheRateTypedThere) {
  OpenTenFrames();
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'R'));  // to the rate field, its text selected
  ASSERT_TRUE(editor.WaitFocus(effect.RateEdit()));
  for (WORD digit : {'2', '0', '0', '0'}) ASSERT_TRUE(editor.PressKey(digit));
  const DWORD pressed = GetTickCount();
  ASSERT_TRUE(editor.PressKey(VK_F5));  // neither Enter nor leaving the field settled the rate
  ASSERT_TRUE(editor.WaitFrameText(frames[0]));
  EXPECT_EQ(effect.Counter(), "кадр 1 из 10");
  ASSERT_TRUE(editor.WaitFrameText(frames[1], 20000));
  // A bound a busy machine can only widen: the second frame is due 2000 ms after the first, which
  // came after the key; at the 100 ms the field held before, it would be due 100 ms after it.
  EXPECT_GE(GetTickCount() - pressed, 1500u) << "played at the old rate";
}

TEST_F(EditorPlayback, AClickOnAnLedWhilePlayingEndsPlaybackAndKeepsTheShownFrame) {
  OpenTenFrames();
  SetRate("2000");
  ASSERT_TRUE(editor.PressKey(VK_F5));
  ASSERT_TRUE(editor.WaitFrameText(frames[0]));
  ASSERT_TRUE(effect.Button("Пауза") != nullptr);
  ASSERT_TRUE(editor.ClickLed(100));
  EXPECT_EQ(editor.FrameText(), "0,20,99,227");
  EXPECT_NE(effect.Button("Пуск"), nullptr) << "playback ended";
  // A tick already on its way shows nothing after the end: player_test sends one.
  EXPECT_EQ(effect.Counter(), "кадр 0 из 10");
}

TEST_F(EditorPlayback, EditingTheTextWhilePlayingEndsPlayback) {
  OpenTenFrames();
  SetRate("2000");
  ASSERT_TRUE(editor.PressKey(VK_F5));
  ASSERT_TRUE(editor.WaitFrameText(frames[0]));
  ASSERT_TRUE(editor.PressEnterInFrameEdit());  // records the frame shown
  EXPECT_NE(effect.Button("Пуск"), nullptr) << "playback ended";
  EXPECT_EQ(editor.FrameText(), "") << "the recorded frame left the line";
}

// --- A very large effect

TEST_F(EditorEffect, AHundredThousandLineFileIsOpenedWholeAndSavedAgainExactly) {
  std::string file;
  for (int i = 0; i < 100000; ++i) file += std::to_string(i % 216) + ",227\n";
  file += "last line without an end";
  const TDialogOutcome outcome = effect.OpenFile(WriteEffect("big.TXT", file));
  ASSERT_TRUE(outcome.Box.has_value()) << "one line is no frame";
  EXPECT_NE(outcome.Box->Text.find("100001"), std::string::npos) << outcome.Box->Text;
  ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
  std::string crlf;
  for (char c : file) c == '\n' ? crlf += "\r\n" : crlf += c;
  EXPECT_EQ(save.LongTextOf(editor.EffectMemo()).size(), crlf.size());
  ASSERT_TRUE(editor.Running());

  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(dialog, PathOf("big2.TXT")));
  // The line that is no frame is saved after the question.
  const TDialogOutcome asked = save.PressOkAndWait(dialog, 60000);
  ASSERT_TRUE(asked.Box.has_value());
  ASSERT_TRUE(effect.Answer(*asked.Box, IDYES, 60000));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("big2.TXT")).value_or("?"), crlf + "\r\n");
}

}  // namespace
