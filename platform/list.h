// TList: growable array of untyped pointers, grown by a fixed step. Window-system free.
#pragma once

#include <cstdint>

#include "platform/obj.h"

class TList : public TObj {
 public:
  TList() = default;
  static TList* Create() { return new TList(); }

  void Add(void* p);
  void Insert(std::int32_t index, void* p);  // 0 <= index <= Count
  void SetCapacity(std::int32_t n);
  void* Get(std::int32_t index) const;        // null when out of range
  std::int32_t IndexOf(const void* p) const;  // -1 when absent
  void DeleteRange(std::int32_t index, std::int32_t n);
  void Delete(std::int32_t index) { DeleteRange(index, 1); }
  void Clear();

  void** Items = nullptr;
  std::int32_t Count = 0;
  std::int32_t Capacity = 0;
  std::int32_t Growth = 4;

 protected:
  ~TList() override;
};
