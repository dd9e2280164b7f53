// The system file dialog run by TOpenSaveDialog, driven by the test itself: what it shows, what a
// confirmed choice hands back, and that a cancel or a failure never hands back a name.
#include "platform/file_dialog.h"

#include <cderr.h>
#include <commdlg.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/tests/dialog_driver.h"

namespace {

bool SameFile(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class FileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = CreateOpenSaveDialog("Open Dialog", TempDir(), TOpenSaveOptions::NoValidate);
    dialog->Filter = "All|*.TXT*";
    dialog->FileName = "ZOZIVU.TXT";
  }
  void TearDown() override { dialog->Free(); }
  bool Run(TDialogScript script) {
    TDialogDriver driver(std::move(script));
    const bool chosen = dialog->Execute();
    seen = driver.Seen();
    return chosen;
  }
  TOpenSaveDialog* dialog = nullptr;
  TDialogSeen seen;
};

}  // namespace

TEST(FileDialogCreation, TakesTitleDirectoryAndOptions) {
  TOpenSaveDialog* dialog = CreateOpenSaveDialog("T", "C:\\dir", TOpenSaveOptions::NoValidate);
  EXPECT_TRUE(dialog->OpenDialog);
  EXPECT_EQ(dialog->Title, "T");
  EXPECT_EQ(dialog->InitialDir, "C:\\dir");
  EXPECT_EQ(dialog->Options, TOpenSaveOptions::NoValidate);
  dialog->Free();
  dialog = CreateOpenSaveDialog("", "", 0);
  EXPECT_EQ(dialog->Options, TOpenSaveOptions::Default);
  dialog->Free();
}

TEST_F(FileDialog, ShowsTitleAndProposedNameAndCancelGivesNothing) {
  EXPECT_FALSE(Run(PressCancel()));
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, "Open Dialog");
  EXPECT_EQ(seen.proposedName, "ZOZIVU.TXT");
  EXPECT_EQ(dialog->FileName, "");
  EXPECT_EQ(dialog->LastError, 0u);
}

TEST_F(FileDialog, OkOnANotYetExistingNameGivesItsFullPath) {
  dialog->FileName = "h6-not-there-yet.TXT";
  ASSERT_TRUE(Run(PressOk()));
  EXPECT_TRUE(SameFile(dialog->FileName, TempDir() + "h6-not-there-yet.TXT")) << dialog->FileName;
  EXPECT_EQ(seen.messageBoxes, 0);
}

TEST_F(FileDialog, TypedNameIsReturnedAsAFullPath) {
  ASSERT_TRUE(Run(TypeAndPressOk("typed.txt")));
  EXPECT_TRUE(SameFile(dialog->FileName, TempDir() + "typed.txt")) << dialog->FileName;
}

TEST_F(FileDialog, EachRunStartsFromTheCurrentFileName) {
  ASSERT_TRUE(Run(PressOk()));
  EXPECT_TRUE(SameFile(dialog->FileName, TempDir() + "ZOZIVU.TXT"));
  dialog->InitialDir = "C:\\";
  EXPECT_FALSE(Run(PressCancel()));
  // The chosen path is proposed next time; the dialog shows its directory and its name apart.
  EXPECT_EQ(seen.proposedName, "ZOZIVU.TXT");
  EXPECT_EQ(dialog->FileName, "");
}

TEST_F(FileDialog, SaveDialogAlsoReturnsTheFullPath) {
  dialog->OpenDialog = false;
  dialog->Options = TOpenSaveOptions::NoValidate | TOpenSaveOptions::OverwritePrompt;
  ASSERT_TRUE(Run(PressOk()));
  EXPECT_TRUE(SameFile(dialog->FileName, TempDir() + "ZOZIVU.TXT")) << dialog->FileName;
}

TEST_F(FileDialog, SelectedFilterIndexComesBack) {
  dialog->Filter = "Text|*.txt|All|*.*";
  dialog->FilterIndex = 2;
  ASSERT_TRUE(Run(PressOk()));
  EXPECT_EQ(dialog->FilterIndex, 2);
}

TEST_F(FileDialog, GivenOwnerOwnsTheDialog) {
  HWND owner =
      CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  dialog->OwnerWindow = owner;
  Run(PressCancel());
  EXPECT_EQ(seen.owner, owner);
  DestroyWindow(owner);
}

TEST_F(FileDialog, ApplicationWindowOwnsTheDialogByDefault) {
  TControl* app = CreateAppWindow("dialog owner app");
  AppWindow = app;
  ASSERT_NE(app->GetHandle(), nullptr);
  Run(PressCancel());
  EXPECT_EQ(seen.owner, app->Handle);
  app->Free();
  AppWindow = nullptr;
}

TEST_F(FileDialog, LongAbsolutePathIsReturnedWholeOrRefused) {
  std::string longPath = TempDir();
  while (longPath.size() < 300) longPath += "long-directory-name\\";
  longPath += "effect.TXT";
  dialog->FileName = longPath;
  const bool chosen = Run(PressOk());
  EXPECT_TRUE(seen.shown);
  if (chosen) {
    EXPECT_EQ(dialog->FileName, longPath);
  } else {
    EXPECT_EQ(dialog->FileName, "");
  }
}

TEST_F(FileDialog, NameLongerThanTheStandardRoomIsProposedWhole) {
  const std::string longName = std::string(270, 'n') + ".TXT";
  dialog->FileName = longName;
  const bool chosen = Run(PressCancel());
  EXPECT_FALSE(chosen);
  EXPECT_EQ(seen.proposedName, longName);
}

TEST_F(FileDialog, MissingInitialDirectoryStillEndsInACancel) {
  dialog->InitialDir = "C:\\h6-no-such-directory\\below";
  EXPECT_FALSE(Run(PressCancel()));
  EXPECT_EQ(dialog->FileName, "");
}

TEST_F(FileDialog, FilterWithoutPatternNeverHangs) {
  dialog->Filter = "All";
  const bool chosen = Run(PressOk());
  if (chosen) {
    EXPECT_TRUE(SameFile(dialog->FileName, TempDir() + "ZOZIVU.TXT")) << dialog->FileName;
  } else {
    EXPECT_EQ(dialog->FileName, "");
  }
}

TEST_F(FileDialog, FailureToShowIsACancel) {
  // An owner that is no window: the system cannot create the dialog.
  dialog->OwnerWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0F0F));
  EXPECT_FALSE(Run(PressOk()));
  EXPECT_FALSE(seen.shown);
  EXPECT_EQ(dialog->FileName, "");
}
