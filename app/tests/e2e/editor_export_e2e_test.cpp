// The export in the built editor, driven from outside its process: the button and the key open the
// export dialog, each format goes through the save dialog to its file, and every refusal (no
// frames, a bad range, a file not to be replaced, a file that cannot be written) is told and keeps
// the effect text. The C header is decoded here; the pictures are left in PICTURES_DIR for the
// native step after this test (export_pictures_check), which reads them with ImageMagick.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"
#include "cube/export_c.h"
#include "elements/effect_export.h"
#include "elements/export_dialog.h"

namespace {

using e2e::TDialogOutcome;
using namespace export_dialog_ids;

// Four frames: LED 1; LEDs 2 and 216; every LED of layer 1's first row; none.
const char* const kFrames[] = {"0,227", "1,215,227", "0,1,2,3,4,5,227", "227"};

// Where the pictures go, with the backslashes of a Windows path.
std::string PictureFile(const std::string& name) {
  std::string path = std::string(PICTURES_DIR) + "/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class EditorExport : public e2e::TSavingEditor {
 protected:
  void SetUp() override {
    e2e::TSavingEditor::SetUp();
    std::string text;
    for (const char* frame : kFrames) text += std::string(text.empty() ? "" : "\r\n") + frame;
    ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), text));
    ASSERT_TRUE(editor.SetTextOf(effect.RateEdit(), "250"));
  }

  // A visible dialog of the program with this title, waited for.
  static HWND WaitDialog(const char* title, DWORD timeoutMs = 10000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(10)) {
      HWND dialog = e2e::FindTopWindow("#32770", title);
      if (dialog != nullptr && IsWindowVisible(dialog)) return dialog;
    }
    return nullptr;
  }
  static void CheckOne(HWND dialog, int chosen, int first, int last) {
    for (int id = first; id <= last; ++id)
      SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, id == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  // A message box of the program, waited for.
  std::optional<e2e::TMessageBoxSeen> WaitBox(HWND except = nullptr, DWORD timeoutMs = 10000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(10))
      if (auto box = save.FindMessageBox(except)) return box;
    return std::nullopt;
  }
  // Opens the export with the button or the key, picks the format and range, confirms.
  void Choose(bool byKey, int format, const char* first = nullptr, const char* last = nullptr) {
    if (byKey)
      EXPECT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_SHIFT, 'E'));
    else
      EXPECT_TRUE(editor.ClickButton(editor.ChildByText("Экспорт…")));
    HWND dialog = WaitDialog(kExportDialogTitle);
    ASSERT_NE(dialog, nullptr);
    CheckOne(dialog, format, kCHeader, kPngStrip);
    if (first != nullptr) {
      CheckOne(dialog, kRange, kAllFrames, kRange);
      SetDlgItemTextA(dialog, kFirst, first);
      SetDlgItemTextA(dialog, kLast, last);
    }
    EXPECT_TRUE(save.Press(dialog, IDOK));
    // Gone before whatever it leads to: a message after it has the same caption.
    for (const DWORD start = GetTickCount(); IsWindow(dialog) && IsWindowVisible(dialog); Sleep(10))
      ASSERT_LT(GetTickCount() - start, 10000u) << "the export dialog stays open";
  }
  // The export's save dialog after Choose, or null.
  HWND ChooseExport(bool byKey, int format, const char* first = nullptr, const char* last = nullptr) {
    Choose(byKey, format, first, last);
    return WaitDialog(kExportFileDialogTitle);
  }
  // Types the name into the save dialog and confirms; what came up after it.
  TDialogOutcome SaveTo(HWND fileDialog, const std::string& path) {
    EXPECT_TRUE(save.TypeFileName(fileDialog, path));
    return save.PressOkAndWait(fileDialog);
  }
  std::string Text() const {
    std::string text;
    for (const char* frame : kFrames) text += std::string(text.empty() ? "" : "\r\n") + frame;
    return text;
  }

  e2e::TEffectDriver effect{editor, save};
};

TEST_F(EditorExport, TheButtonWritesTheCHeaderThatDecodesToTheFrames) {
  HWND fileDialog = ChooseExport(false, kCHeader);
  ASSERT_NE(fileDialog, nullptr);
  EXPECT_EQ(save.DialogFileName(fileDialog), "ZOZIVU.h");
  const TDialogOutcome outcome = SaveTo(fileDialog, PathOf("wave.h"));
  ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Text;
  const std::string header = e2e::ReadFileBytes(PathOf("wave.h")).value_or("");
  std::vector<cube::TPattern> expected;
  for (const char* frame : kFrames) expected.push_back(cube::ParseFrame(frame).Pattern);
  EXPECT_EQ(export_c::DecodeHeader(header), expected);
  EXPECT_NE(header.find("#define WAVE_RATE_MS 250"), std::string::npos) << "the rate of the мс field";
  EXPECT_EQ(editor.MemoText(), Text()) << "the effect text stays";
}

TEST_F(EditorExport, TheKeyWritesTheLayersGifOfARangeTheCubeGifAndThePngStrip) {
  // Left by an earlier run: gone, so no question about replacing them comes up.
  for (const char* name : {"layers.gif", "cube.gif", "strip.png"}) DeleteFileA(PictureFile(name).c_str());
  HWND fileDialog = ChooseExport(true, kLayersGif, "2", "4");
  ASSERT_NE(fileDialog, nullptr);
  EXPECT_EQ(save.DialogFileName(fileDialog), "ZOZIVU.gif");
  TDialogOutcome outcome = SaveTo(fileDialog, PictureFile("layers.gif"));
  ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Text;

  fileDialog = ChooseExport(true, kCubeGif);
  ASSERT_NE(fileDialog, nullptr);
  outcome = SaveTo(fileDialog, PictureFile("cube.gif"));
  ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Text;

  fileDialog = ChooseExport(true, kPngStrip);
  ASSERT_NE(fileDialog, nullptr);
  EXPECT_EQ(save.DialogFileName(fileDialog), "ZOZIVU.png");
  outcome = SaveTo(fileDialog, PictureFile("strip.png"));
  ASSERT_FALSE(outcome.Box.has_value()) << outcome.Box->Text;
  EXPECT_TRUE(e2e::ReadFileBytes(PictureFile("strip.png")).has_value());
  EXPECT_EQ(editor.MemoText(), Text());
}

TEST_F(EditorExport, ABadRangeIsToldAndNothingIsAsked) {
  Choose(false, kCHeader, "3", "9");
  const auto box = WaitBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(e2e::FindTopWindow("#32770", kExportFileDialogTitle), nullptr)
      << "no save dialog for a bad range";
  EXPECT_NE(box->Text.find("Неверный диапазон кадров"), std::string::npos) << box->Text;
  EXPECT_NE(box->Text.find("от 1 до 4"), std::string::npos) << box->Text;
  ASSERT_TRUE(save.DismissAndWait(*box));
  EXPECT_EQ(editor.MemoText(), Text());
}

TEST_F(EditorExport, AFileIsReplacedOnlyOnYesAndAFailedWriteKeepsTheText) {
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("old.h"), "keep"));
  TDialogOutcome outcome = SaveTo(ChooseExport(false, kCHeader), PathOf("old.h"));
  ASSERT_TRUE(outcome.Box.has_value());
  EXPECT_NE(outcome.Box->Text.find("Заменить его?"), std::string::npos) << outcome.Box->Text;
  ASSERT_TRUE(save.Press(outcome.Box->Window, IDNO));
  ASSERT_TRUE(editor.Sync(10000));
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("old.h")).value_or(""), "keep");

  // A read-only file cannot be replaced: the yes ends in a message, the file and the text stay.
  SetFileAttributesA(PathOf("old.h").c_str(), FILE_ATTRIBUTE_READONLY);
  outcome = SaveTo(ChooseExport(true, kCHeader), PathOf("old.h"));
  ASSERT_TRUE(outcome.Box.has_value());
  ASSERT_TRUE(save.Press(outcome.Box->Window, IDYES));
  const auto failed = WaitBox(outcome.Box->Window);
  ASSERT_TRUE(failed.has_value()) << "the failure is told";
  EXPECT_NE(failed->Text.find("Не удалось записать файл"), std::string::npos) << failed->Text;
  ASSERT_TRUE(save.DismissAndWait(*failed));
  SetFileAttributesA(PathOf("old.h").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("old.h")).value_or(""), "keep");
  EXPECT_EQ(e2e::DirectoryEntries(editor.WorkDir()).size(), 1u) << "no temporary file is left";
  EXPECT_EQ(editor.MemoText(), Text());
}

TEST_F(EditorExport, AnEffectWithoutFramesIsToldSo) {
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "not a frame"));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_SHIFT, 'E'));
  const auto box = WaitBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->Text.find("нет ни одного кадра"), std::string::npos) << box->Text;
  ASSERT_TRUE(save.DismissAndWait(*box));
  EXPECT_EQ(editor.MemoText(), "not a frame");
}

}  // namespace
