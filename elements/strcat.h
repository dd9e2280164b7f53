// TQxStrCat: joins two strings and forwards the result (so long chains run at constant stack
// depth); getResult reports the last join. Window-free; must never include a window-system header.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TQxStrCat : public TQxObject {
 public:
  ByteString Result;
  ByteString Str1;
  ByteString Str2;
  TQx_Event dataStr2;
  TQx_Event dataStr1;
  TQx_Event outResult;

  void inConcat(TData* d, std::uint16_t index);
  void getResult(TData* d, std::uint16_t index);
};
