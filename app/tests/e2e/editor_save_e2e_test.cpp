// Saving the effect in the built cube editor, driven from outside its process: the file dialog,
// the bytes of the effect file, the clearing tick after a save, failed saves that must keep the
// text and say so, hostile file names, and a very large effect text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

using e2e::TDialogOutcome;
using e2e::TEditorProcess;
using e2e::TSaveDriver;

const std::string kFailureCaption = "Ошибка сохранения";

std::vector<std::string> Names(std::initializer_list<const char*> names) {
  return {names.begin(), names.end()};
}

class EditorSave : public e2e::TSavingEditor {
 protected:
  std::wstring PathOfW() const {
    std::wstring wide(editor.WorkDir().size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, editor.WorkDir().c_str(), -1, wide.data(), wide.size());
    wide.resize(n > 0 ? n - 1 : 0);
    return wide + L"\\";
  }
  std::vector<std::string> Files() const { return e2e::DirectoryEntries(editor.WorkDir()); }

  void SetMemo(const std::string& text) {
    ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), text));
    ASSERT_EQ(editor.MemoText(), text);
  }
  // Opens the dialog, types the name (none: keeps the proposed one) and presses OK.
  TDialogOutcome SaveAs(const std::string& name) {
    HWND dialog = save.OpenDialog();
    if (dialog == nullptr) {
      ADD_FAILURE() << "no file dialog came up";
      return {};
    }
    if (!name.empty()) {
      EXPECT_TRUE(save.TypeFileName(dialog, name));
    }
    ticksBeforeSave = editor.ClearingTicks();
    return save.PressOkAndWait(dialog);
  }
  // The clearing tick that the last save through SaveAs started has come and been handled.
  bool WaitTickOfTheSave() const { return editor.WaitClearingTicks(ticksBeforeSave + 1); }
  std::intptr_t ticksBeforeSave = 0;
  // After a save that must have failed: the box says so and names the file, and the text outlives
  // the clearing tick.
  void ExpectFailureToldAndTextKept(const TDialogOutcome& outcome, const std::string& nameInMessage,
                                    const std::string& text) {
    ASSERT_TRUE(outcome.Box.has_value()) << "no message for a failed save of " << nameInMessage;
    EXPECT_EQ(outcome.Box->Caption, kFailureCaption);
    EXPECT_EQ(outcome.Box->Owner, editor.Window()) << "the message belongs to the editor window";
    EXPECT_NE(outcome.Box->Text.find(nameInMessage), std::string::npos) << outcome.Box->Text;
    ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
    ASSERT_TRUE(WaitTickOfTheSave()) << "the clearing tick that the save started did not come";
    EXPECT_EQ(editor.MemoText(), text) << "the unsaved effect text was lost";
    EXPECT_TRUE(editor.Running());
  }
};

// --- The dialog and the effect file

TEST_F(EditorSave, DialogIsTitledOpenDialogAndProposesZozivuInTheWorkingDirectory) {
  SetMemo("0,227");
  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(save.DialogTitle(dialog), "Open Dialog");
  EXPECT_EQ(save.DialogFileName(dialog), "ZOZIVU.TXT");
  const TDialogOutcome outcome = save.PressOkAndWait(dialog);
  ASSERT_TRUE(outcome.Closed);
  EXPECT_FALSE(outcome.Box.has_value());
  EXPECT_EQ(Files(), Names({"ZOZIVU.TXT"})) << "saved where the program was started";
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("ZOZIVU.TXT")), std::optional<std::string>("0,227\r\n"));
}

TEST_F(EditorSave, TwoRecordedFramesSaveAsTheirLinesWithCrLfAndTheMemoIsClearedAfterwards) {
  Record({1, 2});
  Record({3});
  ASSERT_EQ(editor.MemoText(), "0,1,227\r\n0,1,2,227");
  const TDialogOutcome outcome = SaveAs(PathOf("effect.txt"));
  ASSERT_TRUE(outcome.Closed);
  EXPECT_FALSE(outcome.Box.has_value());
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("effect.txt")), std::optional<std::string>("0,1,227\r\n0,1,2,227\r\n"));
  EXPECT_TRUE(save.WaitMemoText("", 5000)) << "not cleared after the save: " << editor.MemoText();
  EXPECT_EQ(editor.FrameText(), "") << "the tick leaves the frame line alone";
}

TEST_F(EditorSave, SaveOverALongerFileCutsItToTheNewContent) {
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("old.txt"), std::string(5000, 'x') + "\r\n"));
  SetMemo("5,227\r\n6,227");
  const TDialogOutcome outcome = AnswerYes(SaveAs(PathOf("old.txt")));
  ASSERT_TRUE(outcome.Closed);
  EXPECT_FALSE(outcome.Box.has_value());
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("old.txt")), std::optional<std::string>("5,227\r\n6,227\r\n"));
  EXPECT_EQ(Files(), Names({"old.txt"})) << "the temporary file of the save is gone";
}

TEST_F(EditorSave, EmptyEffectGivesAZeroByteFileAndEmptiesAnExistingOne) {
  ASSERT_EQ(editor.MemoText(), "");
  ASSERT_TRUE(SaveAs(PathOf("new.txt")).Closed);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("new.txt")), std::optional<std::string>(""));
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("old.txt"), "0,227\r\n"));
  const TDialogOutcome outcome = AnswerYes(SaveAs(PathOf("old.txt")));
  ASSERT_TRUE(outcome.Closed);
  EXPECT_FALSE(outcome.Box.has_value()) << "an empty effect is a good save, not a failure";
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("old.txt")), std::optional<std::string>(""));
}

TEST_F(EditorSave, CancelWritesNothingAndKeepsTheText) {
  SetMemo("1,227");
  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.CancelAndWait(dialog));
  EXPECT_EQ(Files(), Names({}));
  // No clearing tick was started: the text is still there well after a second.
  Sleep(1500);
  ASSERT_TRUE(editor.Sync());
  EXPECT_EQ(editor.MemoText(), "1,227");
}

TEST_F(EditorSave, TwoSavesWithinASecondWriteBothFilesAndTheMemoIsClearedAfterwards) {
  SetMemo("7,227\r\n8,227");
  ASSERT_TRUE(SaveAs(PathOf("first.txt")).Closed);
  // The second dialog is opened and answered before the first save's tick.
  ASSERT_TRUE(SaveAs(PathOf("second.txt")).Closed);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("first.txt")), std::optional<std::string>("7,227\r\n8,227\r\n"));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("second.txt")), std::optional<std::string>("7,227\r\n8,227\r\n"));
  EXPECT_TRUE(save.WaitMemoText("", 5000)) << "not cleared after two saves: " << editor.MemoText();
}

// --- Saves that fail must say so and keep the text

TEST_F(EditorSave, NameWithAForbiddenCharacterIsReportedAndTheTextKept) {
  SetMemo("0,1,227");
  ExpectFailureToldAndTextKept(SaveAs(PathOf("a<b.txt")), "a<b.txt", "0,1,227");
  EXPECT_EQ(Files(), Names({})) << "nothing left behind";
}

TEST_F(EditorSave, PathThroughAMissingFolderIsReportedAndTheTextKept) {
  SetMemo("2,227");
  ExpectFailureToldAndTextKept(SaveAs(PathOf("missing\\effect.txt")), "missing\\effect.txt", "2,227");
  EXPECT_EQ(Files(), Names({})) << "nothing left behind, no folder made";
}

TEST_F(EditorSave, FileHeldOpenByAnotherProgramIsReportedAndLeftAsItWas) {
  const std::string path = PathOf("held.txt");
  ASSERT_TRUE(e2e::WriteFileBytes(path, "older effect\r\n"));
  HANDLE held =
      CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SetMemo("3,227\r\n4,227");
  ExpectFailureToldAndTextKept(AnswerYes(SaveAs(path)), "held.txt", "3,227\r\n4,227");
  CloseHandle(held);
  EXPECT_EQ(e2e::ReadFileBytes(path), std::optional<std::string>("older effect\r\n")) << "no partial write";
  EXPECT_EQ(Files(), Names({"held.txt"})) << "no temporary file left behind";
}

TEST_F(EditorSave, GoodSaveAfterAFailedOneClearsTheTextAgain) {
  SetMemo("9,227");
  ExpectFailureToldAndTextKept(SaveAs(PathOf("a|b.txt")), "a|b.txt", "9,227");
  ASSERT_TRUE(SaveAs(PathOf("good.txt")).Closed);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("good.txt")), std::optional<std::string>("9,227\r\n"));
  EXPECT_TRUE(save.WaitMemoText("", 5000)) << "a failure must not keep later saved text forever";
}

// --- Hostile names: no crash, and either a right file or the message with the text kept

class EditorSaveHostileName : public EditorSave {
 protected:
  static constexpr const char* kText = "10,227\r\n11,227";
  static constexpr const char* kFileBytes = "10,227\r\n11,227\r\n";

  void SetUp() override {
    EditorSave::SetUp();
    ASSERT_TRUE(CreateDirectoryA(PathOf("sub").c_str(), nullptr));
    SetMemo(kText);
  }
  // Types the name in its own way, presses OK and judges what the program made of it.
  template <typename TypeName>
  void SaveAndExpectWrittenOrReported(TypeName typeName) {
    HWND dialog = save.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(typeName(dialog));
    ticksBeforeSave = editor.ClearingTicks();
    const TDialogOutcome outcome = save.PressOkAndWait(dialog);
    if (outcome.Box) {
      ASSERT_EQ(outcome.Box->Caption, kFailureCaption)
          << "a message other than the save failure: " << outcome.Box->Text;
      ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
    }
    ASSERT_TRUE(editor.Running()) << "the program ended";
    if (!outcome.Closed) {
      // The dialog kept the name for itself (it went into a folder, for one): leave it.
      ASSERT_FALSE(outcome.Box.has_value());
      if (HWND still = save.FindDialog()) {
        ASSERT_TRUE(save.CancelAndWait(still));
      }
    }
    std::vector<std::string> written;
    for (const std::string& name : Files())
      if (name != "sub") written.push_back(name);
    if (outcome.Closed && !outcome.Box) {
      ASSERT_EQ(written.size(), 1u) << "the dialog closed without a message, yet no file was written";
      EXPECT_EQ(e2e::ReadFileBytes(PathOf(written[0])), std::optional<std::string>(kFileBytes)) << written[0];
      return;
    }
    EXPECT_EQ(written, Names({})) << "nothing written for a refused name";
    // A failed save started a clearing tick; a name the dialog kept for itself started none.
    if (outcome.Box) {
      ASSERT_TRUE(WaitTickOfTheSave()) << "the clearing tick that the save started did not come";
    }
    ASSERT_TRUE(editor.Sync());
    EXPECT_EQ(editor.MemoText(), kText) << "the text of a save that did not happen was lost";
  }
  void SaveAndExpectWrittenOrReported(const std::string& name) {
    SaveAndExpectWrittenOrReported([&](HWND dialog) { return save.TypeFileName(dialog, name); });
  }
};

TEST_F(EditorSaveHostileName, NameThatJustFitsAFullPathIsWritten) {
  const std::string folder = PathOf("");
  const std::string name = std::string(259 - folder.size() - 4, 'F') + ".txt";
  SaveAndExpectWrittenOrReported(folder + name);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf(name)), std::optional<std::string>(kFileBytes));
}

// Names past MAX_PATH are not typed here: Wine's file dialog joins its folder and such a name in a
// fixed stack buffer and overwrites its own return address, so the program never sees the name.
// editor_form_test feeds them to the save as the dialog hands a name on.

TEST_F(EditorSaveHostileName, NameOfAFolder) { SaveAndExpectWrittenOrReported(PathOf("sub")); }

TEST_F(EditorSaveHostileName, NameOfAFolderWithoutItsPath) {
  SaveAndExpectWrittenOrReported(std::string("sub"));
}

TEST_F(EditorSaveHostileName, NameWithCharactersCodePage1251DoesNotHave) {
  SaveAndExpectWrittenOrReported(
      [&](HWND dialog) { return save.TypeFileNameW(dialog, PathOfW() + L"\u4E2D\u6587\u00E9.txt"); });
}

// --- A very large effect text

TEST_F(EditorSave, HundredThousandTypedLinesAreSavedExactlyWithCrLf) {
  // Short lines: under Wine a message that carries more than about a megabyte to another process
  // never arrives, and the sender only learns so at its time-out.
  std::string text, expected;
  for (int line = 0; line < 100000; ++line) {
    const std::string frame = std::to_string(line);
    if (line > 0) text += "\r\n";
    text += frame;
    expected += frame + "\r\n";
  }
  ASSERT_TRUE(save.SetLongText(editor.EffectMemo(), text));
  const std::string held = save.LongTextOf(editor.EffectMemo());
  ASSERT_EQ(held.size(), text.size()) << "the memo did not take the whole text";
  ASSERT_TRUE(held == text);
  // Its lines are numbers, not frames: saved after the question.
  const TDialogOutcome outcome = AnswerYes(SaveAs(PathOf("big.txt")));
  ASSERT_TRUE(outcome.Closed);
  EXPECT_FALSE(outcome.Box.has_value());
  const std::optional<std::string> file = e2e::ReadFileBytes(PathOf("big.txt"));
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->size(), expected.size());
  EXPECT_TRUE(*file == expected) << "the file differs from the typed lines";
  EXPECT_TRUE(editor.Sync());
  EXPECT_TRUE(editor.Running());
  EXPECT_TRUE(save.WaitMemoText("", 10000)) << "the large text was not cleared after its save";
}

}  // namespace
