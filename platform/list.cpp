// TList: the pointer array and its fixed-step growth.
// Window-system free. Indices outside the documented range are ignored rather than trusted.
#include "platform/list.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::int32_t kDefaultGrowth = 4;
constexpr std::int32_t kMaxEntries = INT32_MAX;

}  // namespace

void TList::Add(void* p) {
  if (Growth <= 0) Growth = kDefaultGrowth;
  if (Count >= Capacity) {
    if (Count == kMaxEntries) throw std::bad_alloc();
    const std::int64_t wanted = std::int64_t{Count} + Growth;
    SetCapacity(static_cast<std::int32_t>(wanted > kMaxEntries ? kMaxEntries : wanted));
  }
  Items[Count] = p;
  ++Count;
}

void TList::Insert(std::int32_t index, void* p) {
  if (index < 0 || index > Count) return;
  Add(nullptr);
  std::memmove(Items + index + 1, Items + index, sizeof(void*) * static_cast<std::size_t>(Count - 1 - index));
  Items[index] = p;
}

void TList::SetCapacity(std::int32_t n) {
  if (n < Count) n = Count;
  if (n == Capacity) return;
  if (n == 0) {
    std::free(Items);
    Items = nullptr;
    Capacity = 0;
    return;
  }
  if (static_cast<std::uint64_t>(n) > SIZE_MAX / sizeof(void*)) throw std::bad_alloc();
  // realloc rather than allocate-and-copy: growing by 4 entries at a time is then cheap for long lists.
  void* grown = std::realloc(Items, sizeof(void*) * static_cast<std::size_t>(n));
  if (grown == nullptr) throw std::bad_alloc();
  Items = static_cast<void**>(grown);
  Capacity = n;
}

void* TList::Get(std::int32_t index) const {
  if (index < 0 || index >= Count) return nullptr;
  return Items[index];
}

std::int32_t TList::IndexOf(const void* p) const {
  for (std::int32_t i = 0; i < Count; ++i) {
    if (Items[i] == p) return i;
  }
  return -1;
}

void TList::DeleteRange(std::int32_t index, std::int32_t n) {
  if (n <= 0 || index < 0 || index >= Count) return;
  if (n > Count - index) n = Count - index;
  std::memmove(Items + index, Items + index + n, sizeof(void*) * static_cast<std::size_t>(Count - index - n));
  Count -= n;
}

void TList::Clear() {
  std::free(Items);
  Items = nullptr;
  Count = 0;
  Capacity = 0;
}

TList::~TList() { Clear(); }
