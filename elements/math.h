// TQxMath: one arithmetic operation (subtraction or multiplication) on two real operands; the
// result is fired on outResult and kept for getResult. Window-free; must never include a
// window-system header.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TQxMath : public TQxObject {
 public:
  double Result = 0.0;
  double Default = 0.0;
  double AngleFactor = 0.0;
  std::uint8_t OpType = 0;  // 1 subtraction, 2 multiplication
  double Op1 = 0.0;
  double Op2 = 0.0;
  std::uint8_t ResultType = 0;  // 0: results travel as integers, otherwise as reals
  TQx_Event outResult;
  TQx_Event dataOp1;
  TQx_Event dataOp2;

  void SetDefault(double v);
  void SetAngleMode(std::uint8_t mode);

  void inSubtract(TData* d, std::uint16_t index);
  void inMultiply(TData* d, std::uint16_t index);
  void getResult(TData* d, std::uint16_t index);

 private:
  void Store(long double exact);
  void Emit();
};
