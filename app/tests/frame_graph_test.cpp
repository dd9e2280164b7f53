#include "app/frame_graph.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/bare_led.h"
#include "cube/pattern.h"
#include "elements/cube_pattern_element.h"

namespace {

// The frame string written straight from its syntax: the zero-based index of every lit LED in
// ascending order, each followed by a comma, then 227.
std::string ReferenceFrame(const std::array<bool, 217>& lit) {
  std::string s;
  for (std::size_t n = 1; n <= 216; ++n) {
    if (lit[n]) s += std::to_string(n - 1) + ",";
  }
  return s + "227";
}

// Stands for the frame line: keeps every text it is given.
struct FrameLine : TQxObject {
  std::vector<std::string> texts;
  void inText(TData* d, std::uint16_t) {
    EXPECT_EQ(d->Kind, dkString);
    texts.push_back(std::string(AsStr(d).view()));
  }
};

class FrameGraphTest : public ::testing::Test {
 protected:
  std::unique_ptr<TFrameGraph> graph = std::make_unique<TFrameGraph>();
  std::array<TBareLED, 216> leds;
  FrameLine line;
  TQx_Event resetClick;  // stands for the reset button's outClick
  std::array<bool, 217> lit{};

  void SetUp() override {
    TFrameGraphPorts ports;
    for (int n = 1; n <= 216; ++n) ports.Led(n) = FrameLedPinsOf(&Led(n));
    ports.ResetSource = &resetClick;
    ports.FrameSink = MakeLink<&FrameLine::inText>(&line);
    graph->Connect(ports);
    EnableDelivery();
  }
  void TearDown() override { DisableDelivery(); }

  TBareLED& Led(int n) { return leds[frame::Slot(n - 1)]; }
  bool& Lit(int n) { return lit[frame::Slot(n)]; }
  void Click(int n) {
    Led(n).Click();
    Lit(n) = !Lit(n);
  }
  // Feeding LED n a state: a click when it differs.
  void Feed(int n, bool on) {
    if (Lit(n) != on) Click(n);
  }
  void Reset() { FireEmpty(resetClick); }
  std::string Shown() const { return line.texts.empty() ? std::string() : line.texts.back(); }
};

// --- what the builder makes

// Counts the connected link fields of every element of the graph and the outputs it fills in.
int ConnectedLinks(TFrameGraph& g, std::array<TBareLED, 216>& leds, const TQx_Event& resetClick) {
  int count = resetClick.Connected() ? 1 : 0;
  auto add = [&count](const TQx_Event& e) { count += e.Connected() ? 1 : 0; };
  auto addHub = [&](TQxHub& h) {
    for (const TQx_Event& e : h.outEvent) add(e);
  };
  for (TBareLED& led : leds) {
    add(led.outClick);
    add(led.outState);
  }
  for (int n = 1; n <= 216; ++n) {
    for (TQxMath* m : {&g.LedScale(n), &g.LedIndex(n)}) {
      add(m->outResult);
      add(m->dataOp1);
      add(m->dataOp2);
    }
    add(g.LedText(n).outResult);
    add(g.LedText(n).dataStr1);
    add(g.LedText(n).dataStr2);
  }
  for (int j = 0; j < frame::kJoinCount; ++j) {
    add(g.Join(j).outResult);
    add(g.Join(j).dataStr1);
    add(g.Join(j).dataStr2);
    addHub(g.JoinHub(j));
  }
  TQxReplace& f = g.UnlitFilter();
  for (const TQx_Event* e : {&f.outResult, &f.dataText, &f.dataSubStr, &f.dataDestStr, &f.dataSkip}) add(*e);
  add(g.FrameEnd().outResult);
  add(g.FrameEnd().dataStr1);
  add(g.FrameEnd().dataStr2);
  addHub(g.ResetHub());
  for (int i = 0; i < 2; ++i) addHub(g.ResetGroupHub(i));
  for (int i = 0; i < 7; ++i) addHub(g.ResetLedHub(i));
  return count;
}

template <auto M, class T>
bool LinksTo(const TQx_Event& e, T* target, std::uint16_t index) {
  return e.Method == &TQxCallMember<M> && e.Target == static_cast<void*>(target) && e.Index == index;
}

TEST_F(FrameGraphTest, BuilderMakesEveryElementAndSetsEveryLinkOnce) {
  EXPECT_EQ(graph->ElementCount(), frame::kElementCount);
  std::set<const TQxObject*> distinct;
  graph->ForEachElement([&distinct](TQxObject& e) { distinct.insert(&e); });
  EXPECT_EQ(distinct.size(), 1090u);
  EXPECT_EQ(graph->LinkCount(), frame::kLinkCount);
  EXPECT_EQ(ConnectedLinks(*graph, leds, resetClick), 2600);
}

TEST_F(FrameGraphTest, PerLedElementsHaveTheirProperties) {
  for (int n = 1; n <= 216; ++n) {
    const TQxMath& scale = graph->LedScale(n);
    EXPECT_EQ(scale.OpType, 2);
    EXPECT_EQ(scale.Op1, 0.0);
    EXPECT_EQ(scale.Op2, static_cast<double>(n));
    EXPECT_EQ(scale.ResultType, 1);
    EXPECT_EQ(scale.Default, 0.0);
    EXPECT_EQ(scale.Result, 0.0);
    EXPECT_EQ(scale.AngleFactor, 1.0);
    const TQxMath& index = graph->LedIndex(n);
    EXPECT_EQ(index.OpType, 1);
    EXPECT_EQ(index.Op1, 0.0);
    EXPECT_EQ(index.Op2, 1.0);
    EXPECT_EQ(index.ResultType, 1);
    EXPECT_EQ(index.AngleFactor, 1.0);
    EXPECT_EQ(graph->LedText(n).Str1, "");
    EXPECT_EQ(graph->LedText(n).Str2, ",");
    EXPECT_EQ(graph->LedText(n).Result, "");
  }
}

TEST_F(FrameGraphTest, JoinsFilterAndEndHaveTheirProperties) {
  for (int j = 0; j < frame::kJoinCount; ++j) {
    EXPECT_EQ(graph->Join(j).Str1, "");
    EXPECT_EQ(graph->Join(j).Str2, "");
    EXPECT_EQ(graph->JoinHub(j).InCount, 2);
    EXPECT_EQ(graph->JoinHub(j).OutCount(), 1);
  }
  EXPECT_EQ(graph->UnlitFilter().SubStr, "-1,");
  EXPECT_EQ(graph->UnlitFilter().DestStr, "");
  EXPECT_EQ(graph->FrameEnd().Str1, "");
  EXPECT_EQ(graph->FrameEnd().Str2, "227");
}

TEST_F(FrameGraphTest, ResetHubsHaveTheirCountsAndUnusedOutputsStayUnconnected) {
  EXPECT_EQ(graph->ResetHub().InCount, 1);
  EXPECT_EQ(graph->ResetHub().OutCount(), 2);
  for (int g = 0; g < 2; ++g) {
    EXPECT_EQ(graph->ResetGroupHub(g).InCount, 1);
    EXPECT_EQ(graph->ResetGroupHub(g).OutCount(), 4);
  }
  EXPECT_FALSE(graph->ResetGroupHub(1).outEvent[3].Connected());
  for (int h = 0; h < 7; ++h) {
    EXPECT_EQ(graph->ResetLedHub(h).InCount, 1);
    EXPECT_EQ(graph->ResetLedHub(h).OutCount(), 32);
  }
  for (std::size_t i = 24; i < 32; ++i) EXPECT_FALSE(graph->ResetLedHub(6).outEvent[i].Connected());
}

TEST_F(FrameGraphTest, EachLedHasItsSevenLinks) {
  for (int n : {1, 2, 128, 129, 193, 209, 216}) {
    TBareLED& led = Led(n);
    const frame::Place& place = frame::kTree.LedAt(n);
    const std::uint16_t side = n % 2 == 0;  // odd LEDs on the left input, even ones on the right
    EXPECT_TRUE(LinksTo<&TBareLED::inToggle>(led.outClick, &led, 0));
    EXPECT_TRUE(LinksTo<&TQxMath::inMultiply>(led.outState, &graph->LedScale(n), 0));
    EXPECT_TRUE(LinksTo<&TBareLED::getState>(graph->LedScale(n).dataOp1, &led, 0));
    EXPECT_TRUE(LinksTo<&TQxMath::inSubtract>(graph->LedScale(n).outResult, &graph->LedIndex(n), 0));
    EXPECT_TRUE(LinksTo<&TQxMath::getResult>(graph->LedIndex(n).dataOp1, &graph->LedScale(n), 0));
    EXPECT_TRUE(LinksTo<&TQxStrCat::inConcat>(graph->LedIndex(n).outResult, &graph->LedText(n), 0));
    EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->LedText(n).outResult, &graph->JoinHub(place.Parent), side));
    EXPECT_FALSE(graph->LedScale(n).dataOp2.Connected());
    EXPECT_FALSE(graph->LedText(n).dataStr1.Connected());
  }
}

TEST_F(FrameGraphTest, EachJoinReadsItsChildrenAndFeedsItsParentsHub) {
  for (int j = 0; j < frame::kJoinCount; ++j) {
    const frame::Join& node = frame::kTree.JoinAt(j);
    EXPECT_TRUE(LinksTo<&TQxStrCat::inConcat>(graph->JoinHub(j).outEvent[0], &graph->Join(j), 0));
    auto element = [&](const frame::Child& c) {
      return c.IsLed ? &graph->LedText(c.Number) : &graph->Join(c.Number);
    };
    EXPECT_TRUE(LinksTo<&TQxStrCat::getResult>(graph->Join(j).dataStr1, element(node.Left), 0));
    EXPECT_TRUE(LinksTo<&TQxStrCat::getResult>(graph->Join(j).dataStr2, element(node.Right), 0));
    if (node.Parent >= 0) {
      EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->Join(j).outResult, &graph->JoinHub(node.Parent),
                                            static_cast<std::uint16_t>(node.Side)));
    }
  }
}

TEST_F(FrameGraphTest, RootFeedsFilterThenEndThenTheFrameLine) {
  EXPECT_TRUE(
      LinksTo<&TQxReplace::inReplace>(graph->Join(frame::kRootJoin).outResult, &graph->UnlitFilter(), 0));
  EXPECT_TRUE(LinksTo<&TQxStrCat::inConcat>(graph->UnlitFilter().outResult, &graph->FrameEnd(), 0));
  EXPECT_TRUE(LinksTo<&FrameLine::inText>(graph->FrameEnd().outResult, &line, 0));
}

TEST_F(FrameGraphTest, ResetFanOutReachesEveryLedsOffInputWithIndexOne) {
  EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(resetClick, &graph->ResetHub(), 0));
  EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->ResetHub().outEvent[0], &graph->ResetGroupHub(0), 0));
  EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->ResetHub().outEvent[1], &graph->ResetGroupHub(1), 0));
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->ResetGroupHub(0).outEvent[frame::Slot(i)],
                                          &graph->ResetLedHub(i), 0));
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(LinksTo<&TQxHub::inEvent>(graph->ResetGroupHub(1).outEvent[frame::Slot(i)],
                                          &graph->ResetLedHub(4 + i), 0));
  }
  for (int n = 1; n <= 216; ++n) {
    const int hub = n <= 192 ? (n - 1) / 32 : 6;
    const int first = hub * 32 + 1;
    EXPECT_TRUE(
        LinksTo<&TBareLED::inOff>(graph->ResetLedHub(hub).outEvent[frame::Slot(n - first)], &Led(n), 1))
        << "LED " << n;
  }
}

// --- the frame string

TEST_F(FrameGraphTest, NothingIsShownBeforeTheFirstLedChange) {
  EXPECT_TRUE(line.texts.empty());
  Reset();  // with no LED lit a reset fires nothing
  EXPECT_TRUE(line.texts.empty());
  for (int n = 1; n <= 216; ++n) EXPECT_EQ(graph->LedText(n).Result, "");
}

TEST_F(FrameGraphTest, EverySingleLedAloneGivesItsIndexThenNothing) {
  for (int n = 1; n <= 216; ++n) {
    Click(n);
    EXPECT_EQ(Shown(), ReferenceFrame(lit)) << "LED " << n;
    EXPECT_EQ(Shown(), std::to_string(n - 1) + ",227");
    Click(n);
    EXPECT_EQ(Shown(), "227") << "LED " << n;
  }
  EXPECT_EQ(line.texts.size(), 2u * 216);
}

TEST_F(FrameGraphTest, LitLedsAreListedInLedOrderNotClickOrder) {
  Click(37);
  Click(5);
  EXPECT_EQ(Shown(), "4,36,227");
  Click(37);
  Click(5);
  Click(1);
  Click(216);
  Click(2);
  EXPECT_EQ(Shown(), "0,1,215,227");
}

TEST_F(FrameGraphTest, AllLedsLitListEveryIndex) {
  for (int n = 216; n >= 1; --n) Click(n);
  EXPECT_EQ(Shown(), ReferenceFrame(lit));
  EXPECT_EQ(Shown().size(), 757u);
  EXPECT_EQ(Shown().substr(0, 6), "0,1,2,");
  EXPECT_EQ(Shown().substr(Shown().size() - 11), "214,215,227");
}

TEST_F(FrameGraphTest, LedTextHoldsEmptyThenLitThenUnlitText) {
  EXPECT_EQ(graph->LedText(100).Result, "");
  Click(100);
  EXPECT_EQ(graph->LedText(100).Result, "99,");
  Click(100);
  EXPECT_EQ(graph->LedText(100).Result, "-1,");
  Click(1);
  EXPECT_EQ(graph->LedText(1).Result, "0,");
}

TEST_F(FrameGraphTest, OnlyTheJoinsOnTheChangedLedsPathAreRecomputed) {
  Click(10);
  // A marker in Join1_128, which is off LED 200's path, survives and is used as stored.
  const int offPath = frame::kTree.Joins[frame::kRootJoin].Left.Number;
  ASSERT_EQ(frame::kTree.Joins[offPath].Last, 128);
  graph->Join(offPath).Result = "X,";
  Click(200);
  EXPECT_EQ(graph->Join(offPath).Result, "X,");
  EXPECT_EQ(Shown(), "X,199,227");
  Click(9);  // the path of LED 9 runs through Join1_128, which is recomputed now
  EXPECT_EQ(Shown(), "8,9,199,227");
}

TEST_F(FrameGraphTest, ResetDarkensLitLedsInLedOrderRecomputingOncePerLitLed) {
  Click(200);
  Click(3);
  Click(50);
  line.texts.clear();
  Reset();
  EXPECT_EQ(line.texts, (std::vector<std::string>{"49,199,227", "199,227", "227"}));
  for (int n = 1; n <= 216; ++n) EXPECT_EQ(Led(n).State, 0);
  line.texts.clear();
  Reset();
  EXPECT_TRUE(line.texts.empty());
}

TEST_F(FrameGraphTest, ClickAfterResetStartsFromTheDarkPattern) {
  Click(3);
  Click(200);
  Reset();
  lit = {};
  EXPECT_EQ(Shown(), "227");
  Click(200);
  EXPECT_EQ(Shown(), "199,227");
}

TEST_F(FrameGraphTest, NoEventTravelsWhileDeliveryIsOff) {
  DisableDelivery();
  Led(5).Click();
  EXPECT_EQ(Led(5).State, 0);
  EXPECT_TRUE(line.texts.empty());
}

TEST_F(FrameGraphTest, RandomTogglesAndResetsMatchTheReferenceAfterEveryStep) {
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> pick(1, 216);
  std::uniform_int_distribution<int> action(0, 99);
  for (int step = 0; step < 4000; ++step) {
    const std::ptrdiff_t before = std::ssize(line.texts);
    if (action(random) < 2) {
      // Expected: one frame per lit LED, darkened in LED order.
      std::vector<std::string> expected;
      for (int n = 1; n <= 216; ++n) {
        if (!Lit(n)) continue;
        Lit(n) = false;
        expected.push_back(ReferenceFrame(lit));
      }
      Reset();
      ASSERT_EQ(std::vector<std::string>(line.texts.begin() + before, line.texts.end()), expected)
          << "step " << step;
    } else {
      const int n = pick(random);
      Click(n);
      ASSERT_EQ(std::ssize(line.texts), before + 1) << "step " << step;
      ASSERT_EQ(Shown(), ReferenceFrame(lit)) << "step " << step << ", LED " << n;
    }
    for (int n = 1; n <= 216; n += 43) ASSERT_EQ(Led(n).State != 0, Lit(n));
  }
}

TEST_F(FrameGraphTest, FeedingStatesInBulkGivesTheReferenceFrame) {
  std::mt19937 random(7);
  std::bernoulli_distribution coin(0.5);
  for (int round = 0; round < 50; ++round) {
    for (int n = 1; n <= 216; ++n) Feed(n, coin(random));
    ASSERT_EQ(Shown(), ReferenceFrame(lit)) << "round " << round;
  }
}

// --- whole frames set without events, then brought in line once

// The LEDs take the states of `next` without any event, as the pattern element sets them.
std::bitset<216> SetQuietly(std::array<TBareLED, 216>& leds, std::array<bool, 217>& lit,
                            const std::bitset<216>& next) {
  std::bitset<216> changed;
  for (std::size_t i = 0; i < leds.size(); ++i) {  // LED i + 1
    if (lit[i + 1] == next.test(i)) continue;
    lit[i + 1] = next.test(i);
    leds[i].State = lit[i + 1] ? 1 : 0;
    changed.set(i);
  }
  return changed;
}

TEST_F(FrameGraphTest, ResyncSetsTheFrameLineOnceWithTheReferenceFrame) {
  std::mt19937 random(1509590);
  for (int round = 0; round < 40; ++round) {
    std::bitset<216> next;
    const int density = static_cast<int>(random() % 101);
    for (std::size_t i = 0; i < 216; ++i) next.set(i, static_cast<int>(random() % 100) < density);
    const std::bitset<216> changed = SetQuietly(leds, lit, next);
    const std::size_t before = line.texts.size();
    graph->Resync(changed);
    ASSERT_EQ(line.texts.size(), before + 1) << "round " << round;
    ASSERT_EQ(Shown(), ReferenceFrame(lit)) << "round " << round;
  }
}

TEST_F(FrameGraphTest, ResyncWithNothingChangedSendsTheSameFrameAgain) {
  Click(5);
  Click(200);
  graph->Resync({});
  ASSERT_EQ(line.texts.size(), 3u);
  EXPECT_EQ(Shown(), "4,199,227");
}

TEST_F(FrameGraphTest, ClicksAndResetAfterAResyncStartFromTheResyncedFrame) {
  std::mt19937 random(99);
  for (int round = 0; round < 20; ++round) {
    std::bitset<216> next;
    for (std::size_t i = 0; i < 216; ++i) next.set(i, random() % 2 == 0);
    graph->Resync(SetQuietly(leds, lit, next));
    // A click recomputes only its own path: every other join must already hold the right text.
    for (int k = 0; k < 5; ++k) {
      const int n = 1 + static_cast<int>(random() % 216);
      Click(n);
      ASSERT_EQ(Shown(), ReferenceFrame(lit)) << "round " << round << ", LED " << n;
    }
  }
  Reset();
  lit.fill(false);
  EXPECT_EQ(Shown(), "227");
}

TEST_F(FrameGraphTest, ResyncLeavesEveryResultAsClicksWouldHaveLeftIt) {
  // A second graph reaches the same pattern by clicks; every element's result must match.
  auto clicked = std::make_unique<TFrameGraph>();
  std::array<TBareLED, 216> clickedLeds;
  FrameLine clickedLine;
  TQx_Event clickedReset;
  TFrameGraphPorts ports;
  for (std::size_t i = 0; i < ports.Leds.size(); ++i) ports.Leds[i] = FrameLedPinsOf(&clickedLeds[i]);
  ports.ResetSource = &clickedReset;
  ports.FrameSink = MakeLink<&FrameLine::inText>(&clickedLine);
  clicked->Connect(ports);

  std::mt19937 random(3);
  for (int round = 0; round < 10; ++round) {
    std::bitset<216> next;
    for (std::size_t i = 0; i < 216; ++i) next.set(i, random() % 3 == 0);
    graph->Resync(SetQuietly(leds, lit, next));
    for (std::size_t i = 0; i < clickedLeds.size(); ++i) {
      // Two clicks on a dark LED leave it dark but give its chain the dark texts, as a resync does.
      if ((clickedLeds[i].State != 0) != next.test(i)) clickedLeds[i].Click();
      if (round == 0 && !next.test(i)) {
        clickedLeds[i].Click();
        clickedLeds[i].Click();
      }
    }
    for (int n = 1; n <= 216; ++n) {
      const bool everChanged = graph->LedText(n).Result.size() > 0;
      if (!everChanged) continue;  // never resynced: still the empty text, the frame ignores it
      ASSERT_EQ(graph->LedScale(n).Result, clicked->LedScale(n).Result) << "LED " << n;
      ASSERT_EQ(graph->LedIndex(n).Result, clicked->LedIndex(n).Result) << "LED " << n;
      ASSERT_EQ(graph->LedText(n).Result, clicked->LedText(n).Result) << "LED " << n;
    }
    EXPECT_EQ(Shown(), clickedLine.texts.back()) << "round " << round;
    EXPECT_EQ(graph->FrameEnd().Result, clicked->FrameEnd().Result);
  }
}

// --- the graph following the pattern's owner, wired as the form wires it

// The LEDs ask the pattern element for their changes; the LEDs and then the graph follow its owner.
class OwnedFrameGraphTest : public FrameGraphTest {
 protected:
  TQxCubePattern pattern;
  std::mt19937 random{20261211};

  void SetUp() override {
    FrameGraphTest::SetUp();
    for (std::size_t i = 0; i < leds.size(); ++i)
      leds[i].outChange = MakeLink<&TQxCubePattern::inLedChange>(&pattern, static_cast<std::uint16_t>(i));
    pattern.Subscribe({&ShowOnBareLeds, &leds});
    pattern.Subscribe({&FollowPatternOnGraph, graph.get()});
  }

  cube::TPattern RandomPattern() {
    cube::TPattern p;
    const int density = static_cast<int>(random() % 101);
    for (std::size_t i = 0; i < p.size(); ++i) p.set(i, static_cast<int>(random() % 100) < density);
    return p;
  }
  void Send(TQx_Event pin, const cube::TPattern& p) { FireStr(pin, ByteString(cube::FormatFrame(p))); }

  // One user action or player step, picked at random.
  void RandomStep() {
    switch (random() % 8) {
      case 0:
        Reset();
        break;
      case 1:
        Send(MakeLink<&TQxCubePattern::inFrame>(&pattern), RandomPattern());
        break;
      case 2:
        Send(MakeLink<&TQxCubePattern::inShow>(&pattern), RandomPattern());
        break;
      case 3:
        FireInt(MakeLink<&TQxCubePattern::inTransform>(&pattern), 1 + static_cast<int>(random() % 18));
        break;
      case 4:
        FireEmpty(MakeLink<&TQxCubePattern::inUndo>(&pattern));
        break;
      case 5:
        FireEmpty(MakeLink<&TQxCubePattern::inRedo>(&pattern));
        break;
      default:
        leds[random() % leds.size()].Click();
    }
  }
};

TEST_F(OwnedFrameGraphTest, TheGraphsStringIsTheFormattedFrameOfTheOwnersPatternAfterEveryChange) {
  for (int step = 0; step < 3000; ++step) {
    RandomStep();
    const cube::TPattern& held = pattern.Shown();
    // Nothing is shown before the first change; a reset of a dark cube changes nothing.
    if (line.texts.empty()) {
      ASSERT_TRUE(held.none()) << "step " << step;
      continue;
    }
    ASSERT_EQ(Shown(), cube::FormatFrame(held)) << "step " << step;
    for (std::size_t i = 0; i < leds.size(); ++i) ASSERT_EQ(leds[i].State != 0, held.test(i)) << "LED " << i;
  }
}

TEST_F(OwnedFrameGraphTest, AClickAsksTheOwnerAndSetsTheFrameLineOnceThroughItsOwnChain) {
  Send(MakeLink<&TQxCubePattern::inFrame>(&pattern), cube::TPattern().set(4).set(199));
  const std::size_t before = line.texts.size();
  Led(6).Click();
  EXPECT_EQ(pattern.Shown(), cube::TPattern().set(4).set(5).set(199));
  ASSERT_EQ(line.texts.size(), before + 1);  // the chain's one frame, no resync besides
  EXPECT_EQ(Shown(), "4,5,199,227");
  Reset();
  EXPECT_TRUE(pattern.Shown().none());
  EXPECT_EQ(line.texts.size(), before + 1 + 3);  // once per lit LED, as the designed reset does
  EXPECT_EQ(Shown(), "227");
  FireEmpty(MakeLink<&TQxCubePattern::inUndo>(&pattern));
  EXPECT_EQ(Shown(), "4,5,199,227");
  EXPECT_EQ(Led(200).State, 1);
}

}  // namespace
