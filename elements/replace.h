// TQxReplace: replaces every occurrence of a text, left to right and without re-reading inserted
// text, asking dataSkip about each occurrence; forwards the result. Window-free; must never include
// a window-system header.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TQxReplace : public TQxObject {
 public:
  ByteString Result;
  std::int32_t Position = 0;  // 1-based, in the text as changed so far
  ByteString SubStr;
  ByteString DestStr;
  TQx_Event dataDestStr;
  TQx_Event dataSubStr;
  TQx_Event dataText;
  TQx_Event dataSkip;
  TQx_Event outResult;

  void inReplace(TData* d, std::uint16_t index);
};
