#include "elements/math.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "elements/tests/probe.h"

namespace {

class MathTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  RecordingSink sink;
  TQxMath math;

  // As the editor sets a per-LED element: properties, then Default, then AngleMode.
  void Setup(std::uint8_t opType, double op1, double op2, std::uint8_t resultType) {
    math.OpType = opType;
    math.Op1 = op1;
    math.Op2 = op2;
    math.ResultType = resultType;
    math.SetDefault(0);
    math.SetAngleMode(0);
    math.outResult = sink.Link();
  }
  void Send(void (TQxMath::*input)(TData*, std::uint16_t), const TData& value) {
    TData d = value;
    (math.*input)(&d, 0);
  }
  static TData Int(std::int32_t v) {
    TData d;
    MakeInt(&d, v);
    return d;
  }
  static TData Real(double v) {
    TData d;
    MakeReal(&d, v);
    return d;
  }
  static TData Str(const char* s) {
    TData d;
    MakeStr(&d, s);
    return d;
  }
  const TData& Only() {
    EXPECT_EQ(sink.received.size(), 1u);
    return sink.received.back();
  }
};

TEST_F(MathTest, MultiplyTakesTheIncomingValueAsFirstOperandAndFiresAReal) {
  Setup(2, 0, 5, 1);
  Send(&TQxMath::inMultiply, Int(1));
  EXPECT_EQ(Only().Kind, dkReal);
  EXPECT_EQ(Only().RealValue, 5.0);
}

TEST_F(MathTest, MultiplyWithResultTypeZeroFiresAnInteger) {
  Setup(2, 0, 5, 0);
  Send(&TQxMath::inMultiply, Int(1));
  EXPECT_EQ(Only().Kind, dkInteger);
  EXPECT_EQ(Only().IntValue, 5);
}

TEST_F(MathTest, EmptyIncomingValueCountsAsZero) {
  Setup(2, 0, 5, 1);
  Send(&TQxMath::inMultiply, TData());
  EXPECT_EQ(Only().RealValue, 0.0);
}

TEST_F(MathTest, SubtractOneFromTheIncomingReal) {
  Setup(1, 0, 1, 1);
  Send(&TQxMath::inSubtract, Real(5));
  Send(&TQxMath::inSubtract, Real(0));
  ASSERT_EQ(sink.received.size(), 2u);
  EXPECT_EQ(sink.received[0].RealValue, 4.0);
  EXPECT_EQ(sink.received[1].RealValue, -1.0);
}

TEST_F(MathTest, ResultIsFiredBeforeTheInputReturnsNotForwarded) {
  Setup(2, 0, 2, 1);
  TData d = Int(4);
  math.inMultiply(&d, 0);
  EXPECT_EQ(Only().RealValue, 8.0);
  EXPECT_EQ(d.Kind & dkForward, 0);
}

TEST_F(MathTest, NonZeroFirstDefaultLeavesTheIncomingValueToTheSecondOperand) {
  Setup(1, 10, 0, 1);
  Send(&TQxMath::inSubtract, Real(3));
  EXPECT_EQ(Only().RealValue, 7.0);
}

TEST_F(MathTest, TwoNonZeroDefaultsIgnoreTheIncomingValue) {
  Setup(1, 10, 4, 1);
  Send(&TQxMath::inSubtract, Real(3));
  EXPECT_EQ(Only().RealValue, 6.0);
}

TEST_F(MathTest, ConnectedDataInputsWinOverIncomingValueAndDefaults) {
  Setup(1, 7, 9, 1);
  FixedSource first, second;
  MakeInt(&first.value, 20);
  MakeStr(&second.value, "4");
  math.dataOp1 = first.Link();
  math.dataOp2 = second.Link();
  Send(&TQxMath::inSubtract, Real(100));
  EXPECT_EQ(Only().RealValue, 16.0);
  EXPECT_EQ(first.reads, 1);
  EXPECT_EQ(second.reads, 1);
}

TEST_F(MathTest, DataInputAnsweringAbsentFallsBackToTheIncomingValue) {
  Setup(2, 0, 3, 1);
  FixedSource absent;
  absent.value.Kind = dkAbsent;
  math.dataOp1 = absent.Link();
  Send(&TQxMath::inMultiply, Int(2));
  EXPECT_EQ(Only().RealValue, 6.0);
}

TEST_F(MathTest, IntegerResultsRoundHalvesToEven) {
  Setup(2, 0, 0.5, 0);
  for (int v : {5, 7, -5, 3}) Send(&TQxMath::inMultiply, Int(v));  // 2.5 3.5 -2.5 1.5
  ASSERT_EQ(sink.received.size(), 4u);
  EXPECT_EQ(sink.received[0].IntValue, 2);
  EXPECT_EQ(sink.received[1].IntValue, 4);
  EXPECT_EQ(sink.received[2].IntValue, -2);
  EXPECT_EQ(sink.received[3].IntValue, 2);
}

TEST_F(MathTest, TextIncomingValueIsReadAsItsNumber) {
  Setup(2, 0, 2, 1);
  Send(&TQxMath::inMultiply, Str("3"));
  Send(&TQxMath::inMultiply, Str("abc"));
  ASSERT_EQ(sink.received.size(), 2u);
  EXPECT_EQ(sink.received[0].RealValue, 6.0);
  EXPECT_EQ(sink.received[1].RealValue, 0.0);
}

TEST_F(MathTest, GetResultReportsDefaultBeforeAnyInputThenTheLastResult) {
  Setup(2, 0, 4, 1);
  math.SetDefault(2.5);
  TData d;
  math.getResult(&d, 0);
  EXPECT_EQ(d.Kind, dkReal);
  EXPECT_EQ(d.RealValue, 2.5);

  Send(&TQxMath::inMultiply, Int(3));
  math.getResult(&d, 0);
  EXPECT_EQ(d.RealValue, 12.0);

  math.ResultType = 0;
  math.SetDefault(2.5);
  math.getResult(&d, 0);
  EXPECT_EQ(d.Kind, dkInteger);
  EXPECT_EQ(d.IntValue, 2);
}

TEST_F(MathTest, ResultPersistsAndIsReadByTheNextElementDuringTheFiring) {
  // The chain of a lit LED: the subtraction pulls the multiplication's result while it is fired.
  Setup(2, 0, 37, 1);
  TQxMath index;
  index.OpType = 1;
  index.Op2 = 1;
  index.ResultType = 1;
  index.SetDefault(0);
  index.SetAngleMode(0);
  index.dataOp1 = MakeLink<&TQxMath::getResult>(&math);
  index.outResult = sink.Link();
  math.outResult = MakeLink<&TQxMath::inSubtract>(&index);
  Send(&TQxMath::inMultiply, Int(1));
  EXPECT_EQ(Only().RealValue, 36.0);
  EXPECT_EQ(math.Result, 37.0);
}

TEST_F(MathTest, AngleModeSetsTheFactor) {
  math.SetAngleMode(0);
  EXPECT_EQ(math.AngleFactor, 1.0);
  math.SetAngleMode(1);
  EXPECT_DOUBLE_EQ(math.AngleFactor, 3.14159265358979323846 / 180.0);
}

TEST_F(MathTest, OverflowingProductSaturatesAtTheLargestFiniteReal) {
  Setup(2, 0, 1e300, 1);
  Send(&TQxMath::inMultiply, Real(1e300));
  Send(&TQxMath::inMultiply, Real(-1e300));
  ASSERT_EQ(sink.received.size(), 2u);
  EXPECT_EQ(sink.received[0].RealValue, DBL_MAX);
  EXPECT_EQ(sink.received[1].RealValue, -DBL_MAX);
}

TEST_F(MathTest, InfiniteOperandsGiveNoNaN) {
  const double inf = std::numeric_limits<double>::infinity();
  Setup(1, 0, inf, 1);
  Send(&TQxMath::inSubtract, Real(inf));  // inf - inf
  EXPECT_EQ(Only().RealValue, 0.0);
  EXPECT_FALSE(std::isnan(math.Result));
}

}  // namespace
