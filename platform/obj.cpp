// TObj: reference counting, the Free protocol and the destruction notifications.
// Window-system free; must never know about the classes built on it.
#include "platform/obj.h"

#include "platform/list.h"

namespace {

using AutoFreeProc = void (*)(void* arg);

// An object being destroyed carries an odd, positive count: a Free from inside a notification is
// then a no-op, and a balanced AddRef/Release pair there cannot bring the count to a destroying value.
constexpr std::int32_t kDestroying = 1;

}  // namespace

void TObj::AddRef() noexcept { RefCount += 2; }

void TObj::Release() {
  RefCount -= 2;
  if (RefCount < 0 && (RefCount & 1) != 0) {
    RefCount = kDestroying;
    delete this;
  }
}

void TObj::Free() {
  if (RefCount == 0) {
    RefCount = kDestroying;
    delete this;
  } else if ((RefCount & 1) == 0) {
    RefCount -= 1;  // the matching last Release destroys it
  }
}

void TObj::AddAutoFree(void (*proc)(void* arg), void* arg) {
  if (AutoFreeList == nullptr) AutoFreeList = TList::Create();
  // Room for both entries first, so a failed allocation cannot leave half a pair behind.
  AutoFreeList->SetCapacity(AutoFreeList->Count + 2);
  AutoFreeList->Insert(0, arg);
  AutoFreeList->Insert(0, reinterpret_cast<void*>(proc));
}

void TObj::NotifyDestroy() {
  if (OnDestroy) {
    const TObjEvent event = OnDestroy;
    OnDestroy = {};
    event(this);
  }
  // A procedure may register further pairs while the list runs; those run too, in a later round.
  while (AutoFreeList != nullptr) {
    TList* pairs = AutoFreeList;
    AutoFreeList = nullptr;
    for (std::int32_t i = 0; i + 1 < pairs->Count; i += 2) {
      reinterpret_cast<AutoFreeProc>(pairs->Items[i])(pairs->Items[i + 1]);
    }
    pairs->Free();
  }
}

TObj::~TObj() { NotifyDestroy(); }
