// The questions that keep frames from being lost, in the built editor driven from outside: closing
// (the close button, Alt+F4, the end of the session) with unsaved frames, saving over an existing
// file, saving lines that are not frames, the clearing after a save that must spare new frames,
// and the status line and the dialogs' folder remembered between runs.
#include <gtest/gtest.h>

#include <future>
#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

using e2e::TDialogOutcome;
using e2e::TMessageBoxSeen;

const std::string kCloseCaption = "Закрытие редактора";
const std::string kSaveCaption = "Сохранение эффекта";
constexpr e2e::TPlace kStatusPlace{25, 139, 470, 17};

class EditorKeepsFrames : public e2e::TSavingEditor {
 protected:
  std::string Status() const { return editor.TextOf(editor.ChildAtPlace(kStatusPlace)); }
  bool WaitStatus(const std::string& expected, DWORD timeoutMs = 5000) const {
    const DWORD start = GetTickCount();
    while (Status() != expected) {
      if (GetTickCount() - start >= timeoutMs) return false;
      Sleep(5);
    }
    return true;
  }
  // A box of the program with this caption, waited for.
  TMessageBoxSeen ExpectBox(const std::string& caption) {
    std::optional<TMessageBoxSeen> box = effect.WaitMessageBox();
    if (!box) {
      ADD_FAILURE() << "no question came up (" << caption << ")";
      return {};
    }
    EXPECT_EQ(box->Caption, caption) << box->Text;
    return *box;
  }
  // Real clicks: the close button of the caption, found by what the window says is there.
  bool ClickCloseButton() {
    RECT frame{};
    if (!GetWindowRect(editor.Window(), &frame)) return false;
    for (int x = frame.right - 2; x > frame.right - 80; --x) {
      for (int y = frame.top + 2; y < frame.top + 30; y += 2) {
        DWORD_PTR hit = 0;
        if (SendMessageTimeoutA(editor.Window(), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000,
                                &hit) &&
            hit == HTCLOSE) {
          SetForegroundWindow(editor.Window());
          SetCursorPos(x, y);
          INPUT click[2] = {};
          click[0].type = click[1].type = INPUT_MOUSE;
          click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
          click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
          return SendInput(2, click, sizeof(INPUT)) == 2;
        }
      }
    }
    return false;
  }
  bool PressAltF4() { return editor.PressKeyWith(VK_MENU, VK_F4); }
  // Opens the save dialog, types the name and presses OK; the question that follows, if any.
  TDialogOutcome SaveAs(const std::string& path) {
    HWND dialog = save.OpenDialog();
    if (dialog == nullptr) {
      ADD_FAILURE() << "no file dialog came up";
      return {};
    }
    EXPECT_TRUE(save.TypeFileName(dialog, path));
    return save.PressOkAndWait(dialog);
  }

  e2e::TEffectDriver effect{editor, save};
};

// --- Closing with frames that were not saved

TEST_F(EditorKeepsFrames, CloseButtonAsksAndCancelKeepsWorkingThenAltF4AndNoEndsWithoutAFile) {
  Record({1, 2});
  Record({3});
  ASSERT_TRUE(ClickCloseButton()) << "no close button found in the caption";
  TMessageBoxSeen box = ExpectBox(kCloseCaption);
  EXPECT_NE(box.Text.find("не сохранён"), std::string::npos) << box.Text;
  ASSERT_TRUE(effect.Answer(box, IDCANCEL));
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(editor.MemoText(), "0,1,227\r\n0,1,2,227");

  ASSERT_TRUE(PressAltF4());
  box = ExpectBox(kCloseCaption);
  ASSERT_TRUE(save.Press(box.Window, IDNO));
  EXPECT_EQ(editor.WaitExit(10000), std::optional<DWORD>(0));
  EXPECT_EQ(e2e::DirectoryEntries(editor.WorkDir()), std::vector<std::string>{});
}

TEST_F(EditorKeepsFrames, YesSavesThroughTheDesignedDialogAndClosesOnlyOnceTheFileIsWritten) {
  Record({4});
  ASSERT_TRUE(PressAltF4());
  ASSERT_TRUE(save.Press(ExpectBox(kCloseCaption).Window, IDYES));
  // The dialog cancelled: no save, so the window stays.
  HWND dialog = nullptr;
  for (DWORD start = GetTickCount(); dialog == nullptr && GetTickCount() - start < 10000; Sleep(5))
    dialog = save.FindDialog();
  ASSERT_NE(dialog, nullptr) << "Yes brought no save dialog";
  EXPECT_EQ(save.DialogFileName(dialog), "ZOZIVU.TXT");
  ASSERT_TRUE(save.CancelAndWait(dialog));
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(editor.MemoText(), "3,227");

  // A save that fails is told and the window stays.
  ASSERT_TRUE(PressAltF4());
  ASSERT_TRUE(save.Press(ExpectBox(kCloseCaption).Window, IDYES));
  for (DWORD start = GetTickCount();
       (dialog = save.FindDialog()) == nullptr && GetTickCount() - start < 10000;)
    Sleep(5);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(dialog, PathOf("a<b.txt")));
  const TDialogOutcome failed = save.PressOkAndWait(dialog);
  ASSERT_TRUE(failed.Box.has_value());
  EXPECT_EQ(failed.Box->Caption, "Ошибка сохранения");
  ASSERT_TRUE(save.DismissAndWait(*failed.Box));
  EXPECT_TRUE(editor.Running()) << "closed although nothing was saved";
  EXPECT_EQ(editor.MemoText(), "3,227");

  // A good save closes.
  ASSERT_TRUE(PressAltF4());
  ASSERT_TRUE(save.Press(ExpectBox(kCloseCaption).Window, IDYES));
  for (DWORD start = GetTickCount();
       (dialog = save.FindDialog()) == nullptr && GetTickCount() - start < 10000;)
    Sleep(5);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(dialog, PathOf("kept.txt")));
  ASSERT_TRUE(save.Press(dialog, IDOK));
  EXPECT_EQ(editor.WaitExit(10000), std::optional<DWORD>(0));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("kept.txt")), std::optional<std::string>("3,227\r\n"));
}

TEST_F(EditorKeepsFrames, SavedTextClosesWithoutAQuestion) {
  Record({5});
  ASSERT_TRUE(SaveAs(PathOf("saved.txt")).Closed);
  // Within the clearing second or after it, the text is saved: no question.
  ASSERT_TRUE(PressAltF4());
  EXPECT_EQ(editor.WaitExit(10000), std::optional<DWORD>(0)) << "asked although all was saved";
}

TEST_F(EditorKeepsFrames, TheEndOfTheSessionAsksTheSameWayAndCancelStopsIt) {
  Record({6});
  auto ask = [this] {
    return std::async(std::launch::async, [window = editor.Window()] {
      DWORD_PTR answer = 0xBAD;
      SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer);
      return answer;
    });
  };
  std::future<DWORD_PTR> first = ask();
  ASSERT_TRUE(effect.Answer(ExpectBox(kCloseCaption), IDCANCEL));
  EXPECT_EQ(first.get(), static_cast<DWORD_PTR>(FALSE)) << "the session may not end over unsaved frames";
  std::future<DWORD_PTR> second = ask();
  ASSERT_TRUE(effect.Answer(ExpectBox(kCloseCaption), IDNO));
  EXPECT_EQ(second.get(), static_cast<DWORD_PTR>(TRUE));
  EXPECT_EQ(editor.MemoText(), "5,227") << "only asked; the session's end itself closes";
}

// --- Saving over an existing file

TEST_F(EditorKeepsFrames, SavingOverAnExistingFileAsksAndNoWritesNothingAndClearsNothing) {
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("ZOZIVU.TXT"), "yesterday\r\n"));
  Record({7});
  const TDialogOutcome outcome = SaveAs(PathOf("ZOZIVU.TXT"));
  ASSERT_TRUE(outcome.Box.has_value()) << "replaced without a word";
  EXPECT_EQ(outcome.Box->Caption, kSaveCaption);
  EXPECT_NE(outcome.Box->Text.find("ZOZIVU.TXT уже существует"), std::string::npos) << outcome.Box->Text;
  ASSERT_TRUE(effect.Answer(*outcome.Box, IDNO));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("ZOZIVU.TXT")), std::optional<std::string>("yesterday\r\n"));
  EXPECT_FALSE(save.WaitMemoText("", 2500)) << "the text was cleared although nothing was saved";
  EXPECT_EQ(editor.MemoText(), "6,227");
}

TEST_F(EditorKeepsFrames, EnterOnTheReplaceQuestionSavesAtOnce) {
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("ZOZIVU.TXT"), "yesterday, much longer than today\r\n"));
  Record({8});
  HWND dialog = save.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  // The proposed name, as a user who only presses Enter leaves it.
  const TDialogOutcome outcome = save.PressOkAndWait(dialog);
  ASSERT_TRUE(outcome.Box.has_value());
  ASSERT_TRUE(save.PressEnterOn(*outcome.Box));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("ZOZIVU.TXT")), std::optional<std::string>("7,227\r\n"));
  EXPECT_TRUE(save.WaitMemoText("", 5000));
}

// --- Lines that are not frames

TEST_F(EditorKeepsFrames, LinesThatAreNotFramesAskWithNoAsTheDefaultAndYesSavesThemAsTheyStand) {
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "0,227\r\nhello\r\n2275,10,227\r\n1,227"));
  TDialogOutcome outcome = SaveAs(PathOf("fx.txt"));
  ASSERT_TRUE(outcome.Box.has_value()) << "lines that are no frames saved silently";
  EXPECT_EQ(outcome.Box->Text, "2 строки не являются кадрами (первая: строка 2).\r\nСохранить всё равно?");
  ASSERT_TRUE(save.PressEnterOn(*outcome.Box));
  EXPECT_FALSE(e2e::ReadFileBytes(PathOf("fx.txt")).has_value()) << "Enter (No) wrote the file";
  EXPECT_EQ(editor.MemoText(), "0,227\r\nhello\r\n2275,10,227\r\n1,227");

  outcome = SaveAs(PathOf("fx.txt"));
  ASSERT_TRUE(outcome.Box.has_value());
  ASSERT_TRUE(effect.Answer(*outcome.Box, IDYES));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("fx.txt")),
            std::optional<std::string>("0,227\r\nhello\r\n2275,10,227\r\n1,227\r\n"));
}

// --- The clearing after a save

TEST_F(EditorKeepsFrames, AFrameRecordedRightAfterASaveOutlivesTheClearing) {
  Record({1});
  ASSERT_TRUE(editor.ClickLed(2));  // the next frame waits in the frame line
  ASSERT_TRUE(SaveAs(PathOf("first.txt")).Closed);
  // Recorded well within the second before the clearing; should a busy machine let the clearing
  // come first, the frame lands in the emptied text and the outcome is the same.
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_TRUE(save.WaitMemoText("0,1,227", 5000)) << "after the clearing: " << editor.MemoText();
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("first.txt")), std::optional<std::string>("0,227\r\n"));
  EXPECT_EQ(Status(), "first.txt • изменён");
}

// --- Where am I

TEST_F(EditorKeepsFrames, TheStatusLineNamesTheFileItsChangesAndTheSave) {
  EXPECT_EQ(Status(), "Новый эффект");
  Record({1});
  EXPECT_TRUE(WaitStatus("Новый эффект • изменён")) << Status();
  Record({2});
  ASSERT_TRUE(SaveAs(PathOf("ZOZIVU.TXT")).Closed);
  EXPECT_TRUE(WaitStatus("Сохранено: 2 кадра, ZOZIVU.TXT")) << Status();
  ASSERT_TRUE(save.WaitMemoText("", 5000));
  EXPECT_EQ(Status(), "Сохранено: 2 кадра, ZOZIVU.TXT") << "the clearing is no change";
  Record({3});
  EXPECT_TRUE(WaitStatus("ZOZIVU.TXT • изменён")) << Status();
}

TEST_F(EditorKeepsFrames, TheDialogsStartInTheFolderLastUsedInTheRunBefore) {
  const std::string folder = PathOf("effects");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(e2e::WriteFileBytes(folder + "\\old.TXT", "9,227\r\n"));
  Record({1});
  ASSERT_TRUE(SaveAs(folder + "\\first.TXT").Closed);
  EXPECT_EQ(e2e::RememberedFolder(), folder);
  ASSERT_TRUE(PressAltF4());
  ASSERT_EQ(editor.WaitExit(10000), std::optional<DWORD>(0));

  // Another run, started in another folder.
  e2e::TEditorProcess next;
  e2e::TSaveDriver nextSave{next};
  e2e::TEffectDriver nextEffect{next, nextSave};
  ASSERT_TRUE(next.Start()) << next.Error();
  ASSERT_TRUE(nextSave.PassFirstTick());
  // The open dialog, given a bare name, opens it from that folder.
  const TDialogOutcome opened = nextEffect.OpenFile("old.TXT");
  EXPECT_FALSE(opened.Box.has_value()) << opened.Box->Text;
  EXPECT_TRUE(next.WaitMemoText("9,227")) << next.MemoText();
  // The save dialog, confirmed with its proposed name, writes there.
  HWND dialog = nextSave.OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(nextSave.PressOkAndWait(dialog).Closed);
  EXPECT_EQ(e2e::ReadFileBytes(folder + "\\ZOZIVU.TXT"), std::optional<std::string>("9,227\r\n"));
}

}  // namespace
