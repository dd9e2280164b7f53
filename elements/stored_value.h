// TQxStoredValue: one integer the program keeps between runs, in the store a main form keeps its
// position in (PositionKey chooses the registry or an ini file, as there), under its own Name.
// Must never touch the values stored beside it, and never fail loudly: a value that cannot be read
// answers Default, one that cannot be written is lost.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TQxStoredValue : public TQxObject {
 public:
  ByteString PositionKey;  // as TQxMainForm's: "Name" for Software\Name, "cfg.ini\Section" for an ini file
  ByteString Name;
  std::int32_t Default = 0;

  // d: the value to keep.
  void inStore(TData* d, std::uint16_t index);
  // Answers the kept value, or Default.
  void getValue(TData* d, std::uint16_t index);
};
