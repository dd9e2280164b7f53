// TQxODialog with the system dialog driven by the test: the proposed name, the forwarded full path
// or cancel, and the settings fixed at the first run.
#include "elements/file_dialog_element.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/file_dialog.h"
#include "platform/tests/dialog_driver.h"
#include "runtime/data.h"

namespace {

struct Outputs {
  int executes = 0;
  int cancels = 0;
  ByteString path;
  std::uint8_t cancelKind = 255;
  void onExecute(TData* d, std::uint16_t) {
    ++executes;
    path = AsStr(d);
  }
  void onCancel(TData* d, std::uint16_t) {
    ++cancels;
    cancelKind = KindOf(d);
  }
};

struct NameSource {
  ByteString name;
  void getName(TData* d, std::uint16_t) { MakeStr(d, name); }
};

class DialogElement : public ::testing::Test {
 protected:
  void SetUp() override {
    EnableDelivery();
    element.Title = "Open Dialog";
    element.StartDir = ByteString(TempDir());
    element.Filter = "All|*.TXT*";
    element.FileName = "ZOZIVU.TXT";
    element.outExecute = MakeLink<&Outputs::onExecute>(&outputs);
    element.outCancel = MakeLink<&Outputs::onCancel>(&outputs);
  }
  void TearDown() override { DisableDelivery(); }
  // Runs inExecute through the dispatcher, as a link from a button would.
  void Execute(TDialogScript script, const ByteString& incoming = {}) {
    TDialogDriver driver(std::move(script));
    TData value;
    if (!incoming.empty()) MakeStr(&value, incoming);
    FireSame(MakeLink<&TQxODialog::inExecute>(&element), &value);
    seen = driver.Seen();
  }
  TQxODialog element;
  Outputs outputs;
  TDialogSeen seen;
};

}  // namespace

TEST_F(DialogElement, NoDialogBeforeTheFirstExecute) { EXPECT_EQ(element.Dialog, nullptr); }

TEST_F(DialogElement, ProposesFileNameAndCancelForwardsAnEmptyValue) {
  Execute(PressCancel());
  EXPECT_EQ(seen.title, "Open Dialog");
  EXPECT_EQ(seen.proposedName, "ZOZIVU.TXT");
  EXPECT_EQ(outputs.cancels, 1);
  EXPECT_EQ(outputs.cancelKind, dkEmpty);
  EXPECT_EQ(outputs.executes, 0);
}

TEST_F(DialogElement, OkForwardsTheFullPathOfANewName) {
  Execute(PressOk());
  EXPECT_EQ(outputs.executes, 1);
  EXPECT_EQ(outputs.cancels, 0);
  EXPECT_EQ(lstrcmpiA(outputs.path.c_str(), (TempDir() + "ZOZIVU.TXT").c_str()), 0) << outputs.path;
  ASSERT_NE(element.Dialog, nullptr);
  EXPECT_NE(element.Dialog->Options & TOpenSaveOptions::NoValidate, 0u);
}

TEST_F(DialogElement, EmptyFileNameProposesTheIncomingValue) {
  element.FileName = "";
  Execute(PressCancel(), "from-event.TXT");
  EXPECT_EQ(seen.proposedName, "from-event.TXT");
}

TEST_F(DialogElement, ConnectedFileNameInputWins) {
  NameSource source{"from-link.TXT"};
  element.dataFileName = MakeLink<&NameSource::getName>(&source);
  Execute(PressCancel(), "from-event.TXT");
  EXPECT_EQ(seen.proposedName, "from-link.TXT");
}

TEST_F(DialogElement, SettingsAreFixedAtTheFirstRun) {
  Execute(PressCancel());
  element.Title = "Changed";
  element.Filter = "Other|*.*";
  Execute(PressCancel());
  EXPECT_EQ(seen.title, "Open Dialog");
  EXPECT_EQ(element.Dialog->Filter, "All|*.TXT*");
  EXPECT_EQ(outputs.cancels, 2);
}

TEST_F(DialogElement, NoApplicationWindowMeansNoOwner) {
  Execute(PressCancel());
  EXPECT_EQ(seen.owner, nullptr);
  EXPECT_EQ(element.Dialog->OwnerWindow, nullptr);
}

TEST_F(DialogElement, MainFormOfTheApplicationWindowOwnsTheDialog) {
  TControl* app = CreateAppWindow("element owner app");
  TControl* form = CreateFormWindow(app, "element owner form");
  AppWindow = app;
  ASSERT_NE(form->GetHandle(), nullptr);
  Execute(PressCancel());
  EXPECT_EQ(element.Dialog->OwnerWindow, form->Handle);
  EXPECT_EQ(seen.owner, form->Handle);
  app->Free();  // frees the form with it
  AppWindow = nullptr;
}
