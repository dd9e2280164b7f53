// Memo element: the append rule, clearing, saving, the whole text and the change event.
#include "elements/memo.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "elements/tests/probe.h"
#include "elements/tests/window_test_support.h"

namespace {

class MemoTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  ParentForm parent;
  TQxMemo* memo = nullptr;

  void SetUp() override { memo = Make(""); }
  void TearDown() override { delete memo; }

  TQxMemo* Make(const char* text, std::uint8_t editable = 1) {
    auto* m = new TQxMemo(parent.form);
    m->Left = 10;
    m->Top = 10;
    m->Width = 300;
    m->Height = 200;
    m->ScrollBars = 2;
    m->Editable = editable;
    m->Text = text;
    m->Init();
    return m;
  }

  void Add(TQxMemo* m, const char* text) {
    TData d;
    MakeStr(&d, text);
    Fire(MakeLink<&TQxMemo::inAdd>(m), &d);
  }
  void Add(const char* text) { Add(memo, text); }

  ByteString GetText(TQxMemo* m) {
    TData d;
    m->getText(&d, 0);
    return AsStr(&d);
  }
  std::string Caption(TQxMemo* m) { return m->Control->GetCaption(); }
};

TEST_F(MemoTest, AddToEmptyMemoGivesFirstLineWithoutBreak) {
  Add("1,2");
  EXPECT_EQ(Caption(memo), "1,2");
  Add("3");
  EXPECT_EQ(Caption(memo), "1,2\r\n3");
}

TEST_F(MemoTest, AddAfterEmptyLastLineUsesThatLine) {
  TQxMemo* m = Make("a\r\n");
  Add(m, "b");
  EXPECT_EQ(Caption(m), "a\r\nb");
  delete m;
}

TEST_F(MemoTest, AddAfterNonEmptyLastLineStartsNewLine) {
  TQxMemo* m = Make("a\r\nb");
  Add(m, "c");
  EXPECT_EQ(Caption(m), "a\r\nb\r\nc");
  delete m;
}

TEST_F(MemoTest, AddTakesTextFromConnectedDataText) {
  FixedSource source;
  MakeStr(&source.value, "from source");
  memo->dataText = source.Link();
  Add("from event");
  EXPECT_EQ(Caption(memo), "from source");
}

TEST_F(MemoTest, AddToTopPutsTextInFront) {
  TQxMemo* m = Make("old");
  m->AddToTop = 1;
  Add(m, "new");
  EXPECT_EQ(Caption(m), "new\r\nold");
  delete m;
}

TEST_F(MemoTest, ReadOnlyMemoRefusesTypingButAddsAndClears) {
  TQxMemo* m = Make("", 0);
  SendMessageA(m->Control->Handle, WM_CHAR, 'x', 0);
  EXPECT_EQ(Caption(m), "");
  Add(m, "line");
  EXPECT_EQ(Caption(m), "line");
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(m), &d);
  EXPECT_EQ(Caption(m), "");
  delete m;
}

TEST_F(MemoTest, ClearEmptiesTheText) {
  Add("a");
  Add("b");
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(memo), &d);
  EXPECT_EQ(Caption(memo), "");
  EXPECT_EQ(GetText(memo), "");
}

TEST_F(MemoTest, GetTextDropsOnlyTheBreakAfterANonEmptyLastLine) {
  EXPECT_EQ(GetText(memo), "");
  TQxMemo* two = Make("a\r\nb");
  EXPECT_EQ(GetText(two), "a\r\nb");
  TQxMemo* endsWithEmpty = Make("a\r\n\r\n");
  EXPECT_EQ(GetText(endsWithEmpty), "a\r\n\r\n");
  TQxMemo* endsWithBreak = Make("a\r\n");
  EXPECT_EQ(GetText(endsWithBreak), "a");
  delete two;
  delete endsWithEmpty;
  delete endsWithBreak;
}

TEST_F(MemoTest, GetTextAnswersThroughADataLink) {
  Add("x");
  TData answer;
  PullValue(nullptr, MakeLink<&TQxMemo::getText>(memo), nullptr, &answer);
  EXPECT_EQ(answer.Kind, dkString);
  EXPECT_EQ(answer.StrValue, "x");
}

TEST_F(MemoTest, SaveWritesEveryLineWithCrLf) {
  const std::string name = TempPath("h8_memo_save.txt");
  DeleteFileA(name.c_str());
  TQxMemo* m = Make("a\r\nb");
  TData d;
  MakeStr(&d, ByteString(name));
  Fire(MakeLink<&TQxMemo::inSave>(m), &d);
  EXPECT_TRUE(m->LastSaveOk);
  EXPECT_EQ(ReadFileBytes(name), "a\r\nb\r\n");
  EXPECT_EQ(Caption(m), "a\r\nb");
  delete m;
  DeleteFileA(name.c_str());
}

TEST_F(MemoTest, SaveOfEmptyMemoLeavesAnEmptyFile) {
  const std::string name = TempPath("h8_memo_empty.txt");
  {
    std::ofstream old(name, std::ios::binary);
    old << "older content";
  }
  EXPECT_TRUE(memo->SaveTo(name));
  EXPECT_EQ(ReadFileBytes(name), "");
  DeleteFileA(name.c_str());
}

TEST_F(MemoTest, SaveUsesFileNamePropertyBeforeTheEventsName) {
  const std::string property = TempPath("h8_memo_property.txt");
  const std::string carried = TempPath("h8_memo_carried.txt");
  DeleteFileA(property.c_str());
  DeleteFileA(carried.c_str());
  Add("z");
  memo->FileName = ByteString(property);
  TData d;
  MakeStr(&d, ByteString(carried));
  Fire(MakeLink<&TQxMemo::inSave>(memo), &d);
  EXPECT_EQ(ReadFileBytes(property), "z\r\n");
  EXPECT_EQ(GetFileAttributesA(carried.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(property.c_str());
}

TEST_F(MemoTest, SaveToImpossiblePathReportsFailureAndKeepsText) {
  Add("keep me");
  const char* impossible[] = {"C:\\h8_no_such_directory\\effect.txt", "bad<name>.txt", ""};
  for (const char* name : impossible) {
    memo->LastSaveOk = true;
    TData d;
    MakeStr(&d, name);
    Fire(MakeLink<&TQxMemo::inSave>(memo), &d);
    EXPECT_FALSE(memo->LastSaveOk) << name;
    EXPECT_FALSE(memo->SaveTo(name)) << name;
    EXPECT_EQ(Caption(memo), "keep me") << name;
  }
}

TEST_F(MemoTest, SaveToADirectoryNameFails) {
  Add("text");
  EXPECT_FALSE(memo->SaveTo(TempPath("")));
  EXPECT_EQ(Caption(memo), "text");
}

TEST_F(MemoTest, AddAndClearForwardAnEmptyValueToOutChange) {
  RecordingSink sink;
  memo->outChange = sink.Link();
  Add("a");
  ASSERT_FALSE(sink.received.empty());
  EXPECT_EQ(sink.received.back().Kind, dkEmpty);
  sink.received.clear();
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(memo), &d);
  ASSERT_FALSE(sink.received.empty());
  EXPECT_EQ(sink.received.back().Kind, dkEmpty);
}

TEST_F(MemoTest, TypingFiresOutChangeWithTheWholeText) {
  Add("ab");
  RecordingSink sink;
  memo->outChange = sink.Link();
  SendMessageA(memo->Control->Handle, WM_CHAR, 'c', 0);
  ASSERT_FALSE(sink.received.empty());
  EXPECT_EQ(sink.received.back().Kind, dkString);
  const std::string text(sink.received.back().StrValue.view());
  EXPECT_EQ(text.size(), 3u);
  EXPECT_NE(text.find('c'), std::string::npos);
  EXPECT_EQ(text, Caption(memo));
}

TEST_F(MemoTest, TextBeyondTheEditDefaultLimitIsKeptWhole) {
  const std::string line(49, '7');
  for (int i = 0; i < 1000; ++i) Add(line.c_str());  // about 51,000 characters
  const ByteString text = GetText(memo);
  EXPECT_EQ(text.size(), 1000u * 49 + 999u * 2);
  EXPECT_EQ(text.view().substr(text.size() - 51), "\r\n" + line);
}

TEST_F(MemoTest, HundredThousandLinesAppendSaveAndClear) {
  std::string big;
  const std::string frame = "0,1,2,3,4,5,6,7,8,9,10,215,227";
  for (int i = 0; i < 100000; ++i) big += frame + "\r\n";
  TQxMemo* m = Make("");
  m->Control->SetCaption(big);
  Add(m, "last");
  Add(m, "after");
  const std::string name = TempPath("h8_memo_big.txt");
  ASSERT_TRUE(m->SaveTo(name));
  const std::string bytes = ReadFileBytes(name);
  EXPECT_EQ(bytes.size(), big.size() + std::string("last\r\nafter\r\n").size());
  EXPECT_EQ(bytes.substr(bytes.size() - 13), "last\r\nafter\r\n");
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(m), &d);
  EXPECT_EQ(Caption(m), "");
  delete m;
  DeleteFileA(name.c_str());
}

// Lines added in a burst wait outside the control until the next message reaches it; nobody may
// be able to tell, except by the number of updates the control goes through.
class MemoBurstTest : public MemoTest {
 protected:
  // AddLine itself, one line at a time, as the reference for what a burst must give.
  static void AddNow(TQxMemo* m, const std::string& text) { m->AddLine(text); }
};

TEST_F(MemoBurstTest, BurstGivesTheSameTextAsLinesAddedOneAtATime) {
  const std::vector<std::string> pieces = {"", "1,2,227", "x", "a\r\nb", "\r\n", "c\r", "\nd", "227"};
  std::mt19937 random(20261209);
  for (const char* start : {"", "a", "a\r\n", "a\r\n\r\n"}) {
    for (int round = 0; round < 20; ++round) {
      TQxMemo* burst = Make(start);
      TQxMemo* reference = Make(start);
      std::string trail;
      for (int i = 0; i < 12; ++i) {
        const std::string& piece = pieces[random() % pieces.size()];
        Add(burst, piece.c_str());
        AddNow(reference, piece);
        trail += "[" + piece + "]";
      }
      EXPECT_EQ(Caption(burst), Caption(reference)) << "start [" << start << "] then " << trail;
      delete burst;
      delete reference;
    }
  }
}

TEST_F(MemoBurstTest, EveryWayOfReadingTheTextSeesTheWaitingLines) {
  Add("0,227");
  Add("1,227");
  ASSERT_TRUE(memo->HasWaitingLines());
  EXPECT_EQ(GetWindowTextLengthA(memo->Control->Handle), 12);
  EXPECT_FALSE(memo->HasWaitingLines());

  Add("2,227");
  EXPECT_EQ(std::string(GetText(memo).view()), "0,227\r\n1,227\r\n2,227");

  Add("3,227");
  const std::string name = TempPath("memo_burst_save.txt");
  ASSERT_TRUE(memo->SaveTo(name));
  EXPECT_EQ(ReadFileBytes(name), "0,227\r\n1,227\r\n2,227\r\n3,227\r\n");
  DeleteFileA(name.c_str());

  Add("4,227");
  EXPECT_EQ(SendMessageA(memo->Control->Handle, EM_GETLINECOUNT, 0, 0), 5);
}

TEST_F(MemoBurstTest, WaitingLinesReachTheControlWithTheNextTurnOfTheLoop) {
  for (int i = 0; i < 50; ++i) Add("5,227");
  EXPECT_TRUE(memo->HasWaitingLines());
  PumpMessages();
  EXPECT_FALSE(memo->HasWaitingLines());
  EXPECT_EQ(Caption(memo).size(), 50u * 5 + 49u * 2);
}

TEST_F(MemoBurstTest, ABurstIsOneChangeOfTheControl) {
  RecordingSink sink;
  memo->outChange = sink.Link();
  for (int i = 0; i < 100; ++i) Add("7,227");
  PumpMessages();
  int wholeTexts = 0;
  int empties = 0;
  for (const TData& d : sink.received) {
    if (d.Kind == dkString) {
      ++wholeTexts;
      EXPECT_EQ(d.StrValue.size(), 100u * 5 + 99u * 2);
    }
    if (d.Kind == dkEmpty) ++empties;
  }
  EXPECT_EQ(wholeTexts, 1);
  EXPECT_EQ(empties, 100);
}

TEST_F(MemoBurstTest, ClearDropsLinesThatHaveNotArrivedYet) {
  Add("a");
  Add("b");
  TData d;
  Fire(MakeLink<&TQxMemo::inClear>(memo), &d);
  PumpMessages();
  EXPECT_EQ(Caption(memo), "");
  Add("c");
  EXPECT_EQ(Caption(memo), "c");
}

TEST_F(MemoBurstTest, TypingAfterABurstLandsAfterTheWaitingLines) {
  Add("1");
  Add("2");
  SendMessageA(memo->Control->Handle, WM_CHAR, 'x', 0);
  EXPECT_EQ(Caption(memo), "1\r\n2x");
}

TEST_F(MemoBurstTest, FreeingTheMemoWithWaitingLinesIsSafe) {
  TQxMemo* m = Make("");
  Add(m, "a");
  Add(m, "b");
  delete m;
  PumpMessages();  // the posted flush finds no memo
  Add("c");
  EXPECT_EQ(Caption(memo), "c");
}

// --- wrapping

TEST_F(MemoTest, AChangeOfWrappingMakesTheControlAnewKeepingTextSelectionModifiedFlagAndFocus) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::string(120, static_cast<char>('a' + i % 26)) + "\r\n";
  memo->Control->SetCaption(text);
  HWND before = memo->Control->Handle;
  SendMessageA(before, EM_SETSEL, 500, 620);
  SendMessageA(before, EM_SETMODIFY, TRUE, 0);
  SetFocus(before);
  LOGFONTA fontBefore{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(before, WM_GETFONT, 0, 0)), sizeof fontBefore, &fontBefore);
  constexpr LONG kRunOn = WS_HSCROLL | ES_AUTOHSCROLL;
  for (bool wrap : {false, true}) {
    memo->SetWordWrap(wrap);
    HWND edit = memo->Control->Handle;
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(memo->WordWrap(), wrap);
    EXPECT_EQ((GetWindowLongA(edit, GWL_STYLE) & kRunOn) != 0, !wrap);
    EXPECT_EQ(Caption(memo), text);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 500u);
    EXPECT_EQ(end, 620u);
    EXPECT_NE(SendMessageA(edit, EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(GetFocus(), edit);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::string(font.lfFaceName), std::string(fontBefore.lfFaceName));
    EXPECT_EQ(font.lfHeight, fontBefore.lfHeight);
  }
}

TEST_F(MemoTest, ARemadeControlTakesWaitingLinesAndTextsPastTheDefaultLimit) {
  for (int i = 0; i < 3; ++i) Add(std::to_string(i).c_str());  // waiting for the posted flush
  memo->SetWordWrap(false);
  EXPECT_EQ(Caption(memo), "0\r\n1\r\n2");
  const std::string line(1000, '7');
  for (int i = 0; i < 40; ++i) memo->AddLine(line);
  EXPECT_EQ(Caption(memo).size(), 7 + 40 * (line.size() + 2)) << "cut at the default limit";
  // Still the memo's own control: its messages reach the element.
  ByteString got = GetText(memo);
  EXPECT_EQ(got.view().size(), Caption(memo).size());
}

}  // namespace
