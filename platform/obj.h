// TObj: base object of the window library, with reference counting and destruction notifications.
// Objects are created with `new` and end through Free/Release, never through `delete` by callers.
// Window-system free.
#pragma once

#include <cstdint>

#include "platform/callback.h"

class TObj;
class TList;

// An event of the library that tells only who sent it.
using TObjEvent = TCallback<void(TObj* sender)>;

class TObj {
 public:
  TObj() = default;
  TObj(const TObj&) = delete;
  TObj& operator=(const TObj&) = delete;

  void AddRef() noexcept;  // RefCount += 2
  void Release();          // RefCount -= 2; destroys when the result is negative and odd
  void Free();             // destroy now when unreferenced, else at the last Release
  // Registers proc(arg) to run when the object is destroyed (newest first).
  void AddAutoFree(void (*proc)(void* arg), void* arg);

  std::int32_t RefCount = 0;
  TObjEvent OnDestroy;
  TList* AutoFreeList = nullptr;
  std::int32_t UserData = 0;

 protected:
  virtual ~TObj();  // Destroy
  // Runs OnDestroy (cleared first) and the auto-free pairs, then frees the list. Idempotent, so a
  // derived destructor may call it early (a control notifies before it frees its children).
  void NotifyDestroy();
};

// Null-safe Free.
inline void Free(TObj* obj) {
  if (obj != nullptr) obj->Free();
}
