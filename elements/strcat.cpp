// TQxStrCat: the first part is read before the second, so with empty defaults and unconnected
// inputs the first part takes the incoming value and the second what is left of it.
#include "elements/strcat.h"

void TQxStrCat::inConcat(TData* d, std::uint16_t) {
  const ByteString first = PullStr(d, dataStr1, Str1);
  const ByteString second = PullStr(d, dataStr2, Str2);
  Result = first + second;
  ForwardStr(d, &outResult, Result);
}

void TQxStrCat::getResult(TData* d, std::uint16_t) { MakeStr(d, Result); }
