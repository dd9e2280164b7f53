// TQxMath: operands are read first-then-second, so the first one takes the incoming value.
#include "elements/math.h"

#include <cfloat>
#include <cmath>

void TQxMath::SetDefault(double v) {
  Default = v;
  Result = v;
}

void TQxMath::SetAngleMode(std::uint8_t mode) {
  static constexpr long double kPi = 3.141592653589793238462643383279502884L;
  AngleFactor = mode == 0 ? 1.0 : static_cast<double>(kPi / 180.0L);
}

void TQxMath::inSubtract(TData* d, std::uint16_t) {
  const long double a = PullReal(d, dataOp1, Op1);
  const long double b = PullReal(d, dataOp2, Op2);
  Store(a - b);
  Emit();
}

void TQxMath::inMultiply(TData* d, std::uint16_t) {
  const long double a = PullReal(d, dataOp1, Op1);
  const long double b = PullReal(d, dataOp2, Op2);
  Store(a * b);
  Emit();
}

void TQxMath::getResult(TData* d, std::uint16_t) {
  if (ResultType == 0) {
    MakeInt(d, RoundHalfEven(Result));
  } else {
    MakeReal(d, Result);
  }
}

// A result beyond the range of a 64-bit real saturates at the largest finite value of its sign,
// and a result that is no number at all (infinite operands) becomes 0, so that no infinity or NaN
// travels on into the conversions of the elements behind this one.
void TQxMath::Store(long double exact) {
  if (std::isnan(exact)) {
    Result = 0.0;
  } else if (exact > static_cast<long double>(DBL_MAX)) {
    Result = DBL_MAX;
  } else if (exact < -static_cast<long double>(DBL_MAX)) {
    Result = -DBL_MAX;
  } else {
    Result = static_cast<double>(exact);
  }
}

void TQxMath::Emit() {
  if (ResultType == 0) {
    FireInt(outResult, RoundHalfEven(Result));
  } else {
    FireReal(outResult, Result);
  }
}
