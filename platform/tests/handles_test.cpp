// The owning handle types: each handle is given back exactly once, by its last holder, and never
// one that was handed over or is only shared.
#include "platform/handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsDeleted(HGDIOBJ h) { return GetObjectType(h) == 0; }

HBRUSH RedBrush() { return CreateSolidBrush(RGB(255, 0, 0)); }

TEST(OwnedHandle, DeletesItsObjectWhenItEnds) {
  HBRUSH brush = RedBrush();
  { const TOwnedBrush owned(brush); }
  EXPECT_TRUE(IsDeleted(brush));
}

TEST(OwnedHandle, AMoveLeavesOneOwnerAndTheObjectAliveUntilItEnds) {
  HBRUSH brush = RedBrush();
  TOwnedBrush second;
  {
    TOwnedBrush first(brush);
    second = std::move(first);
    EXPECT_FALSE(first);
  }
  EXPECT_FALSE(IsDeleted(brush));
  EXPECT_EQ(second.Get(), brush);
  second.Reset();
  EXPECT_TRUE(IsDeleted(brush));
}

TEST(OwnedHandle, MovingOntoAnOwnerDeletesWhatItHeld) {
  HBRUSH old = RedBrush();
  HBRUSH fresh = RedBrush();
  TOwnedBrush owned(old);
  owned = TOwnedBrush(fresh);
  EXPECT_TRUE(IsDeleted(old));
  EXPECT_EQ(owned.Get(), fresh);
}

TEST(OwnedHandle, ResetWithTheHeldHandleKeepsIt) {
  HBRUSH brush = RedBrush();
  TOwnedBrush owned(brush);
  owned.Reset(brush);
  EXPECT_FALSE(IsDeleted(brush));
  EXPECT_EQ(owned.Get(), brush);
}

TEST(OwnedHandle, ADetachedHandleIsTheCallersToDelete) {
  HBRUSH brush = RedBrush();
  {
    TOwnedBrush owned(brush);
    EXPECT_EQ(owned.Detach(), brush);
  }
  EXPECT_FALSE(IsDeleted(brush));
  DeleteObject(brush);
}

TEST(OwnedHandle, AnIconIsDestroyedAndASharedOneIsNot) {
  HICON system = LoadIconA(nullptr, IDI_APPLICATION);  // shared
  HICON copy = CopyIcon(system);
  ASSERT_NE(copy, nullptr);
  { const TOwnedIcon owned(copy); }
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(copy, &info));
  { const TSharedIcon shared(system); }
  ASSERT_TRUE(GetIconInfo(system, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST(DeviceContext, AMemoryDCIsDeletedAndABorrowedOneIsNot) {
  HDC memory = nullptr;
  {
    const TDC dc = TDC::Memory(nullptr);
    memory = dc.Get();
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(dc.ReleaseKind(), TDCRelease::DeleteDC);
  }
  EXPECT_EQ(GetObjectType(memory), 0u);

  HDC kept = CreateCompatibleDC(nullptr);
  { const TDC borrowed(kept, TDCRelease::None); }
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_MEMDC));
  DeleteDC(kept);
}

TEST(DeviceContext, AMovedDCIsGivenBackOnceByItsNewHolder) {
  TDC held;
  HDC memory = nullptr;
  {
    TDC first = TDC::Memory(nullptr);
    memory = first.Get();
    held = std::move(first);
    EXPECT_FALSE(first);
  }
  EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
  held = TDC();
  EXPECT_EQ(GetObjectType(memory), 0u);
}

TEST(DeviceContext, ANullDCKeepsNoReleaseKind) {
  const TDC none(nullptr, TDCRelease::ReleaseDC, GetDesktopWindow());
  EXPECT_EQ(none.ReleaseKind(), TDCRelease::None);
  EXPECT_EQ(none.ReleaseWindow(), nullptr);
}

TEST(Selection, PutsThePreviousObjectBackWhenItEnds) {
  const TDC dc = TDC::Memory(nullptr);
  HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  const TOwnedBrush brush(RedBrush());
  {
    const TSelection selected(dc.Get(), brush.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
}

}  // namespace
