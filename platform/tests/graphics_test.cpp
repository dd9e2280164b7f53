// Graphic tools, canvases and bitmaps, checked on the pixels of a memory DC.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/graphic_tool.h"
#include "platform/tests/test_surface.h"
#include "platform/tests/test_windows.h"

namespace {

using Surface = TestSurface;

class FakeHost final : public TCanvasHost {
 public:
  HWND Window = nullptr;
  std::int32_t Color = RGB(40, 50, 60);
  std::int32_t TextColor = RGB(70, 80, 90);
  TGraphicTool* Brush = nullptr;

  HWND CanvasWindow() override { return Window; }
  std::int32_t CanvasColor() override { return Color; }
  std::int32_t CanvasTextColor() override { return TextColor; }
  TGraphicTool* CanvasBrushTool() override { return Brush; }
};

struct ChangeCounter {
  int calls = 0;
  static void Count(void* data, TObj* /*tool*/) { ++static_cast<ChangeCounter*>(data)->calls; }
  TObjEvent Event() { return {&ChangeCounter::Count, this}; }
};

LOGFONTA FontOf(HGDIOBJ font) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof(lf), &lf);
  return lf;
}

LOGBRUSH BrushOf(HGDIOBJ brush) {
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof(lb), &lb);
  return lb;
}

bool IsDeleted(HGDIOBJ h) { return GetObjectType(h) == 0; }

constexpr std::int32_t kSystemWindow = static_cast<std::int32_t>(0x80000005);
constexpr std::int32_t kElementSystemWindow = static_cast<std::int32_t>(0xFF000005);

// Restores the button-face colour even when an assertion fails.
class ButtonFaceGuard {
 public:
  ButtonFaceGuard() : saved_(GetSysColor(COLOR_BTNFACE)) {}
  ~ButtonFaceGuard() { Set(saved_); }
  static bool Set(COLORREF color) {
    int index = COLOR_BTNFACE;
    return SetSysColors(1, &index, &color) != 0;
  }
  COLORREF saved() const { return saved_; }

 private:
  COLORREF saved_;
};

// ---------------------------------------------------------------- colour rule

TEST(ColorRule, TopBitNamesASystemColourByItsLowByte) {
  EXPECT_EQ(ResolveColor(kSystemWindow), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ResolveColor(kElementSystemWindow), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ResolveColor(static_cast<std::int32_t>(0xFF00000F)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ResolveColor(0x00336699), 0x00336699u);
}

// ---------------------------------------------------------------- tools

TEST(GraphicTool, DefaultFontIsMsSansSerifDefaultCharsetDefaultHeight) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  EXPECT_EQ(font->Kind, TGraphicTool::KindFont);
  EXPECT_EQ(font->Color(), static_cast<std::int32_t>(0x80000008));
  HGDIOBJ handle = font->GetHandle();
  ASSERT_NE(handle, nullptr);
  const LOGFONTA lf = FontOf(handle);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfCharSet, 1);
  EXPECT_EQ(lf.lfHeight, 0);
  EXPECT_EQ(lf.lfWeight, 0);
  font->Free();
}

TEST(GraphicTool, DefaultBrushIsSolidButtonFace) {
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  EXPECT_EQ(brush->Color(), static_cast<std::int32_t>(0x8000000F));
  const LOGBRUSH lb = BrushOf(brush->GetHandle());
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  brush->Free();
}

TEST(GraphicTool, FontNameKeepsAtMost31Bytes) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  const std::string forty(40, 'A');
  font->SetFontName(forty);
  EXPECT_EQ(font->FontName(), std::string(31, 'A'));
  EXPECT_EQ(font->Description.Font.lfFaceName[31], '\0');
  font->SetFontName("Arial");
  EXPECT_EQ(font->FontName(), "Arial");
  // The rest of the old, longer name is cleared, not left behind the new terminator.
  EXPECT_EQ(font->Description.Font.lfFaceName[6], '\0');
  EXPECT_STREQ(FontOf(font->GetHandle()).lfFaceName, "Arial");
  font->Free();
}

TEST(GraphicTool, FontStyleBoldRaisesWeightAndClearingDropsOnlyHeavyWeights) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  font->SetValue(TGraphicTool::FontWeight, 400);
  font->SetFontStyle(TGraphicTool::StyleBold);
  EXPECT_EQ(font->Description.Font.lfWeight, 700);
  font->SetValue(TGraphicTool::FontWeight, 900);
  font->SetFontStyle(TGraphicTool::StyleBold);
  EXPECT_EQ(font->Description.Font.lfWeight, 900);
  font->SetFontStyle(0);
  EXPECT_EQ(font->Description.Font.lfWeight, 0);
  font->SetValue(TGraphicTool::FontWeight, 400);
  font->SetFontStyle(TGraphicTool::StyleItalic);
  EXPECT_EQ(font->Description.Font.lfWeight, 400);
  EXPECT_EQ(font->Description.Font.lfItalic, 1);
  EXPECT_EQ(font->Description.Font.lfUnderline, 0);
  font->SetFontStyle(TGraphicTool::StyleUnderline | TGraphicTool::StyleStrikeOut);
  EXPECT_EQ(font->Description.Font.lfItalic, 0);
  EXPECT_EQ(font->Description.Font.lfUnderline, 1);
  EXPECT_EQ(font->Description.Font.lfStrikeOut, 1);
  EXPECT_EQ(font->FontStyle(), TGraphicTool::StyleUnderline | TGraphicTool::StyleStrikeOut);
  font->Free();
}

TEST(GraphicTool, OnChangeRunsOnlyWhenTheDescriptionChanges) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  ChangeCounter counter;
  font->OnChange = counter.Event();
  font->SetColor(font->Color());
  font->SetFontName("MS Sans Serif");
  font->SetCharSet(1);
  font->SetFontStyle(0);
  font->SetValue(TGraphicTool::FontHeight, 0);
  EXPECT_EQ(counter.calls, 0);
  font->SetColor(RGB(1, 2, 3));
  EXPECT_EQ(counter.calls, 1);
  font->SetCharSet(204);
  EXPECT_EQ(counter.calls, 2);
  font->SetValue(TGraphicTool::FontHeight, -12);
  EXPECT_EQ(counter.calls, 3);
  font->SetFontStyle(TGraphicTool::StyleBold);
  EXPECT_EQ(counter.calls, 4);
  font->Free();
}

TEST(GraphicTool, SetValueIgnoresOffsetsOutsideTheDescription) {
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  const TToolDescription before = brush->Description;
  brush->SetValue(62, 5);   // not a whole field
  brush->SetValue(64, 5);   // past the end
  brush->SetValue(400, 5);  // far past the end
  EXPECT_EQ(std::memcmp(&before, &brush->Description, sizeof(before)), 0);
  brush->Free();
}

TEST(GraphicTool, ChangeDeletesTheOldHandleAfterTellingTheOwner) {
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  HGDIOBJ first = brush->GetHandle();
  struct Probe {
    HGDIOBJ watched;
    bool aliveWhenTold = false;
    static void Told(void* data, TObj*) {
      auto* p = static_cast<Probe*>(data);
      p->aliveWhenTold = GetObjectType(p->watched) == OBJ_BRUSH;
    }
  } probe{first};
  brush->OnChange = {&Probe::Told, &probe};
  brush->SetColor(RGB(200, 0, 0));
  EXPECT_TRUE(probe.aliveWhenTold);
  EXPECT_TRUE(IsDeleted(first));
  EXPECT_EQ(BrushOf(brush->GetHandle()).lbColor, RGB(200, 0, 0));
  brush->Free();
}

TEST(GraphicTool, CopyUsesTheParentHandleUntilItsDescriptionDiffers) {
  TGraphicTool* parent = TGraphicTool::CreateFont();
  TGraphicTool* child = parent->Copy();
  EXPECT_EQ(child->ParentTool, parent);
  HGDIOBJ shared = parent->GetHandle();
  EXPECT_EQ(child->GetHandle(), shared);
  EXPECT_EQ(child->Handle.Get(), nullptr);

  child->SetValue(TGraphicTool::FontHeight, -20);
  HGDIOBJ own = child->GetHandle();
  EXPECT_NE(own, shared);
  EXPECT_EQ(child->Handle.Get(), own);
  EXPECT_EQ(FontOf(own).lfHeight, -20);
  EXPECT_EQ(parent->GetHandle(), shared);
  EXPECT_EQ(FontOf(shared).lfHeight, 0);

  // Equal again: the own object goes and the parent's is shared once more.
  child->SetValue(TGraphicTool::FontHeight, 0);
  EXPECT_TRUE(IsDeleted(own));
  EXPECT_EQ(child->GetHandle(), shared);
  child->Free();
  EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));  // a copy never deletes the parent's
  parent->Free();
  EXPECT_TRUE(IsDeleted(shared));
}

TEST(GraphicTool, ChangingTheParentTellsTheCopiesThatSharedItsHandleBeforeDeletingIt) {
  TGraphicTool* parent = TGraphicTool::CreateFont();
  TGraphicTool* sharing = parent->Copy();
  TGraphicTool* grandchild = sharing->Copy();
  TGraphicTool* own = parent->Copy();
  own->SetValue(TGraphicTool::FontHeight, -30);
  HGDIOBJ old = parent->GetHandle();
  ASSERT_EQ(sharing->GetHandle(), old);
  ASSERT_EQ(grandchild->GetHandle(), old);
  own->GetHandle();

  struct Reapply {
    TGraphicTool* tool;
    HGDIOBJ old;
    int calls = 0;
    bool oldAlive = false;
    HGDIOBJ fresh = nullptr;
    static void Told(void* data, TObj*) {
      auto* r = static_cast<Reapply*>(data);
      ++r->calls;
      r->oldAlive = GetObjectType(r->old) == OBJ_FONT;
      r->fresh = r->tool->GetHandle();  // what an owning window would be given now
    }
  };
  Reapply child{sharing, old}, grand{grandchild, old};
  ChangeCounter ownCounter;
  sharing->OnChange = {&Reapply::Told, &child};
  grandchild->OnChange = {&Reapply::Told, &grand};
  own->OnChange = ownCounter.Event();

  parent->SetValue(TGraphicTool::FontHeight, -11);
  for (const Reapply* r : {&child, &grand}) {
    EXPECT_EQ(r->calls, 1);
    EXPECT_TRUE(r->oldAlive);
    EXPECT_NE(r->fresh, old);
    EXPECT_EQ(FontOf(r->fresh).lfHeight, 0);  // the copies keep their own description
  }
  EXPECT_EQ(ownCounter.calls, 0);
  EXPECT_TRUE(IsDeleted(old));
  for (TGraphicTool* t : {grandchild, sharing, own, parent}) t->Free();
}

TEST(GraphicTool, ManyCopiesOfOneFontHoldOneFontHandle) {
  TGraphicTool* parent = TGraphicTool::CreateFont();
  std::vector<TGraphicTool*> copies;
  for (int i = 0; i < 50; ++i) copies.push_back(parent->Copy());
  std::set<HGDIOBJ> handles;
  for (TGraphicTool* copy : copies) handles.insert(copy->GetHandle());
  EXPECT_EQ(handles.size(), 1u);
  EXPECT_EQ(*handles.begin(), parent->GetHandle());
  for (TGraphicTool* copy : copies) copy->Free();
  parent->Free();
}

TEST(GraphicTool, CopyKeepsItsParentAliveAfterTheParentIsFreed) {
  TGraphicTool* parent = TGraphicTool::CreateBrush();
  parent->SetColor(RGB(5, 6, 7));
  TGraphicTool* child = parent->Copy();
  parent->Free();
  HGDIOBJ handle = child->GetHandle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(BrushOf(handle).lbColor, RGB(5, 6, 7));
  child->Free();
  EXPECT_TRUE(IsDeleted(handle));
}

TEST(GraphicTool, AssignCopiesTheDescriptionAndMakesAMissingTarget) {
  TGraphicTool* source = TGraphicTool::CreateFont();
  source->SetFontName("Arial");
  source->SetValue(TGraphicTool::FontHeight, -15);
  TGraphicTool* target = nullptr;
  EXPECT_EQ(TGraphicTool::Assign(target, source), target);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Kind, TGraphicTool::KindFont);
  EXPECT_TRUE(target->SameDescription(*source));

  ChangeCounter counter;
  target->OnChange = counter.Event();
  target->Assign(source);
  EXPECT_EQ(counter.calls, 0);
  source->SetCharSet(204);
  target->Assign(source);
  EXPECT_EQ(counter.calls, 1);
  EXPECT_EQ(target->Description.Font.lfCharSet, 204);
  target->Free();
  source->Free();
}

TEST(GraphicTool, SystemColourChangeGivesTheBrushANewHandle) {
  ButtonFaceGuard guard;
  TGraphicTool* brush = TGraphicTool::CreateBrush();  // 0x8000000F
  HGDIOBJ before = brush->GetHandle();
  EXPECT_EQ(brush->GetHandle(), before);
  const COLORREF changed = guard.saved() == RGB(10, 200, 30) ? RGB(11, 200, 30) : RGB(10, 200, 30);
  ASSERT_TRUE(ButtonFaceGuard::Set(changed));
  HGDIOBJ after = brush->GetHandle();
  EXPECT_NE(after, nullptr);
  EXPECT_TRUE(IsDeleted(before));
  EXPECT_EQ(BrushOf(after).lbColor, changed);
  EXPECT_EQ(brush->GetHandle(), after);
  brush->Free();
}

TEST(GraphicTool, SystemColourChangeKeepsAFontHandleAWindowMayUse) {
  ButtonFaceGuard guard;
  TGraphicTool* font = TGraphicTool::CreateFont();
  font->SetColor(static_cast<std::int32_t>(0x8000000F));
  HGDIOBJ before = font->GetHandle();
  ASSERT_TRUE(ButtonFaceGuard::Set(guard.saved() ^ 0x000F0F0F));
  EXPECT_EQ(font->GetHandle(), before);
  font->Free();
}

TEST(GraphicTool, PatternBitmapIsDeletedOnlyByTheToolGivenIt) {
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, nullptr);
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetBrushBitmap(pattern);
  TGraphicTool* copy = brush->Copy();
  TGraphicTool* assigned = TGraphicTool::CreateBrush();
  assigned->Assign(brush);
  EXPECT_EQ(BrushOf(copy->GetHandle()).lbStyle, static_cast<UINT>(BS_PATTERN));
  copy->Free();
  assigned->Free();
  EXPECT_EQ(GetObjectType(pattern), static_cast<DWORD>(OBJ_BITMAP));
  brush->Free();
  EXPECT_TRUE(IsDeleted(pattern));
}

TEST(GraphicTool, ReplacingAPatternDeletesTheOldOne) {
  HBITMAP first = CreateBitmap(8, 8, 1, 1, nullptr);
  HBITMAP second = CreateBitmap(8, 8, 1, 1, nullptr);
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetBrushBitmap(first);
  brush->GetHandle();
  brush->SetBrushBitmap(second);
  EXPECT_TRUE(IsDeleted(first));
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
  brush->Free();
  EXPECT_TRUE(IsDeleted(second));
}

// ---------------------------------------------------------------- canvas: drawing

TEST(Canvas, FillRectUsesTheBrushColour) {
  Surface surface(20, 20);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetColor(RGB(10, 120, 230));
  canvas->SetBrush(brush);
  canvas->FillRect(RECT{2, 3, 8, 9});
  EXPECT_EQ(surface.At(2, 3), RGB(10, 120, 230));
  EXPECT_EQ(surface.At(7, 8), RGB(10, 120, 230));
  EXPECT_EQ(surface.At(8, 8), Surface::kBackground);
  EXPECT_EQ(surface.At(7, 9), Surface::kBackground);
  EXPECT_EQ(surface.At(1, 3), Surface::kBackground);
  canvas->Free();
}

TEST(Canvas, SystemColoursResolveInBothForms) {
  Surface surface(20, 20);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  canvas->SetBrush(brush);
  brush->SetColor(kSystemWindow);
  canvas->FillRect(RECT{0, 0, 10, 10});
  EXPECT_EQ(surface.At(5, 5), GetSysColor(COLOR_WINDOW));
  surface.Fill(Surface::kBackground);
  brush->SetColor(kElementSystemWindow);
  canvas->FillRect(RECT{0, 0, 10, 10});
  EXPECT_EQ(surface.At(5, 5), GetSysColor(COLOR_WINDOW));
  brush->SetColor(static_cast<std::int32_t>(0xFF000002));
  canvas->FillRect(RECT{10, 10, 20, 20});
  EXPECT_EQ(surface.At(15, 15), GetSysColor(COLOR_ACTIVECAPTION));
  canvas->Free();
}

TEST(Canvas, PenDrawsItsColourAndLineToStopsBeforeTheEndPoint) {
  Surface surface(20, 20);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* pen = TGraphicTool::CreatePen();
  pen->SetColor(RGB(250, 10, 10));
  canvas->SetPen(pen);
  canvas->MoveTo(2, 4);
  canvas->LineTo(10, 4);
  EXPECT_EQ(surface.At(2, 4), RGB(250, 10, 10));
  EXPECT_EQ(surface.At(9, 4), RGB(250, 10, 10));
  EXPECT_EQ(surface.At(10, 4), Surface::kBackground);
  EXPECT_EQ(surface.At(5, 5), Surface::kBackground);
  EXPECT_EQ(canvas->PenPos.x, 10);
  canvas->Free();
}

TEST(Canvas, PenModeSetsTheRasterOperation) {
  Surface surface(20, 20);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* pen = TGraphicTool::CreatePen();
  pen->SetValue(TGraphicTool::PenMode, R2_NOT - 1);
  canvas->SetPen(pen);
  canvas->MoveTo(0, 1);
  canvas->LineTo(5, 1);
  EXPECT_EQ(GetROP2(surface.dc()), R2_NOT);
  EXPECT_EQ(surface.At(2, 1), ~Surface::kBackground & 0x00FFFFFF);
  canvas->Free();
}

TEST(Canvas, PenPositionCarriesOverToANewlyAdoptedDC) {
  Surface surface(20, 20);
  TCanvas* canvas = TCanvas::CreateForDC(nullptr);
  canvas->MoveTo(6, 7);
  canvas->SetHandle(surface.dc());
  POINT position{};
  GetCurrentPositionEx(surface.dc(), &position);
  EXPECT_EQ(position.x, 6);
  EXPECT_EQ(position.y, 7);
  canvas->LineTo(6, 12);  // the DC's own black pen
  EXPECT_EQ(surface.At(6, 7), RGB(0, 0, 0));
  EXPECT_EQ(surface.At(6, 11), RGB(0, 0, 0));
  canvas->Free();
}

TEST(Canvas, HatchedBrushDrawsLineColourOverTheBrushColour) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetColor(RGB(0, 0, 200));
  brush->SetValue(TGraphicTool::BrushLineColor, RGB(200, 200, 0));
  brush->SetBrushStyle(2 + HS_CROSS);
  canvas->SetBrush(brush);
  canvas->FillRect(RECT{0, 0, 16, 16});
  EXPECT_EQ(surface.ColorsIn(RECT{0, 0, 16, 16}), (std::set<COLORREF>{RGB(0, 0, 200), RGB(200, 200, 0)}));
  canvas->Free();
}

TEST(Canvas, HollowBrushFillsNothingAndMakesTheBackgroundTransparent) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetColor(RGB(0x10, 0x20, 0x30));
  brush->SetBrushStyle(1);
  canvas->SetBrush(brush);
  canvas->FillRect(RECT{0, 0, 16, 16});
  EXPECT_EQ(surface.ColorsIn(RECT{0, 0, 16, 16}), std::set<COLORREF>{Surface::kBackground});
  EXPECT_EQ(GetBkMode(surface.dc()), TRANSPARENT);
  EXPECT_EQ(GetBkColor(surface.dc()), RGB(0xEF, 0xDF, 0xCF));
  canvas->Free();
}

TEST(Canvas, WithoutToolsTheHostColoursAreUsed) {
  Surface surface(16, 16);
  FakeHost host;
  host.Color = kSystemWindow;
  host.TextColor = RGB(1, 99, 2);
  TCanvas* canvas = TCanvas::CreateForControl(&host, nullptr, nullptr);
  canvas->SetHandle(surface.dc());
  canvas->RequireState(TCanvas::BrushValid | TCanvas::FontValid);
  EXPECT_EQ(GetBkColor(surface.dc()), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetBkMode(surface.dc()), OPAQUE);
  EXPECT_EQ(GetTextColor(surface.dc()), RGB(1, 99, 2));
  canvas->Free();
}

TEST(Canvas, FontToolSetsTheTextColour) {
  Surface surface(16, 16);
  TGraphicTool* font = TGraphicTool::CreateFont();
  font->SetColor(RGB(3, 140, 4));
  FakeHost host;
  TCanvas* canvas = TCanvas::CreateForControl(&host, font, nullptr);
  canvas->SetHandle(surface.dc());
  canvas->RequireState(TCanvas::FontValid);
  EXPECT_EQ(GetTextColor(surface.dc()), RGB(3, 140, 4));
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), font->GetHandle());  // shared with its parent
  canvas->Free();
  font->Free();
}

TEST(Canvas, FillRectWithoutBrushToolsUsesATemporaryBrushOfTheHostColour) {
  Surface surface(16, 16);
  FakeHost host;
  host.Color = RGB(90, 91, 92);
  TCanvas* canvas = TCanvas::CreateForControl(&host, nullptr, nullptr);
  canvas->SetHandle(surface.dc());
  canvas->FillRect(RECT{0, 0, 4, 4});  // warm up lazily made objects
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 2000; ++i) canvas->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(GdiObjectsInUse(), before);
  EXPECT_EQ(surface.At(3, 3), RGB(90, 91, 92));
  host.Color = RGB(1, 200, 3);  // made anew for each fill, so a colour change shows at once
  canvas->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(surface.At(0, 0), RGB(1, 200, 3));
  canvas->Free();
}

TEST(Canvas, FillRectFallsBackToTheHostBrushTool) {
  Surface surface(16, 16);
  FakeHost host;
  host.Brush = TGraphicTool::CreateBrush();
  host.Brush->SetColor(RGB(7, 77, 177));
  TCanvas* canvas = TCanvas::CreateForControl(&host, nullptr, nullptr);
  canvas->SetHandle(surface.dc());
  canvas->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(surface.At(2, 2), RGB(7, 77, 177));
  canvas->Free();
  host.Brush->Free();
}

TEST(Canvas, FillRectWithoutAControlUsesTheWindowSystemBrush) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  canvas->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(surface.At(1, 1), GetSysColor(COLOR_WINDOW));
  canvas->Free();
}

// ---------------------------------------------------------------- canvas: selection and DCs

TEST(Canvas, SelectedToolsAreNotSelectedAgain) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  canvas->SetFont(TGraphicTool::CreateFont());
  canvas->RequireState(TCanvas::FontValid);
  EXPECT_EQ(canvas->SelectedState, TCanvas::HandleValid | TCanvas::FontValid);
  HGDIOBJ other = GetStockObject(ANSI_FIXED_FONT);
  SelectObject(surface.dc(), other);
  canvas->RequireState(TCanvas::FontValid);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), other);
  canvas->Free();
}

TEST(Canvas, ChangingASelectedToolPutsStockObjectsBackAndSelectsTheNewOneNextTime) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  brush->SetColor(RGB(1, 1, 100));
  canvas->SetBrush(brush);
  canvas->RequireState(TCanvas::BrushValid);
  HGDIOBJ first = brush->GetHandle();
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), first);

  brush->SetColor(RGB(1, 100, 1));
  EXPECT_TRUE(IsDeleted(first));  // it was no longer selected when deleted
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(canvas->SelectedState, TCanvas::HandleValid);
  canvas->RequireState(TCanvas::BrushValid);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), brush->GetHandle());
  canvas->Free();
}

TEST(Canvas, ChangingTheHostFontReleasesTheSharedFontFromTheCanvasDC) {
  Surface surface(16, 16);
  TGraphicTool* hostFont = TGraphicTool::CreateFont();
  FakeHost host;
  TCanvas* canvas = TCanvas::CreateForControl(&host, hostFont, nullptr);
  canvas->SetHandle(surface.dc());
  canvas->RequireState(TCanvas::FontValid);
  HGDIOBJ shared = hostFont->GetHandle();
  ASSERT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), shared);
  hostFont->SetValue(TGraphicTool::FontHeight, -25);
  EXPECT_NE(GetCurrentObject(surface.dc(), OBJ_FONT), shared);
  EXPECT_TRUE(IsDeleted(shared));
  canvas->RequireState(TCanvas::FontValid);
  EXPECT_EQ(FontOf(GetCurrentObject(surface.dc(), OBJ_FONT)).lfHeight, 0);
  canvas->Free();
  hostFont->Free();
}

TEST(Canvas, SystemColourChangeReleasesTheSelectedBrushBeforeDeletingIt) {
  ButtonFaceGuard guard;
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* brush = TGraphicTool::CreateBrush();  // button face
  canvas->SetBrush(brush);
  canvas->FillRect(RECT{0, 0, 16, 16});
  HGDIOBJ old = brush->GetHandle();
  const COLORREF changed = guard.saved() == RGB(20, 40, 60) ? RGB(21, 40, 60) : RGB(20, 40, 60);
  ASSERT_TRUE(ButtonFaceGuard::Set(changed));
  canvas->FillRect(RECT{0, 0, 16, 16});
  EXPECT_TRUE(IsDeleted(old));
  EXPECT_EQ(surface.At(8, 8), changed);
  canvas->Free();
}

TEST(Canvas, DetachingPutsTheStockObjectsBackIntoABorrowedDC) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  TGraphicTool* font = TGraphicTool::CreateFont();
  TGraphicTool* brush = TGraphicTool::CreateBrush();
  TGraphicTool* pen = TGraphicTool::CreatePen();
  canvas->SetFont(font);
  canvas->SetBrush(brush);
  canvas->SetPen(pen);
  canvas->RequireState(TCanvas::FontValid | TCanvas::BrushValid | TCanvas::PenValid);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen->GetHandle());
  canvas->SetHandle(nullptr);
  EXPECT_EQ(canvas->Handle, nullptr);
  EXPECT_EQ(canvas->SelectedState, 0);
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetObjectType(surface.dc()), static_cast<DWORD>(OBJ_MEMDC));  // borrowed: not deleted
  canvas->Free();
}

TEST(Canvas, FreeingTheCanvasNeverDeletesABorrowedDC) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  canvas->FillRect(RECT{0, 0, 2, 2});
  canvas->Free();
  EXPECT_EQ(GetObjectType(surface.dc()), static_cast<DWORD>(OBJ_MEMDC));
}

TEST(Canvas, OwnedMemoryDCIsDeletedWhenReplaced) {
  HDC memory = CreateCompatibleDC(nullptr);
  TCanvas* canvas = TCanvas::CreateForDC(memory, TDCRelease::DeleteDC);
  HDC second = CreateCompatibleDC(nullptr);
  canvas->SetHandle(second, TDCRelease::DeleteDC);
  EXPECT_EQ(GetObjectType(memory), 0u);
  canvas->Free();
  EXPECT_EQ(GetObjectType(second), 0u);
}

TEST(Canvas, WindowCanvasFetchesItsDCLazilyAndGivesItBack) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  FakeHost host;
  host.Window = window;
  TCanvas* canvas = TCanvas::CreateForControl(&host, nullptr, nullptr);
  EXPECT_EQ(canvas->Handle, nullptr);
  canvas->FillRect(RECT{0, 0, 5, 5});
  EXPECT_NE(canvas->Handle, nullptr);
  EXPECT_EQ(canvas->HeldDC.ReleaseKind(), TDCRelease::ReleaseDC);
  EXPECT_EQ(canvas->HeldDC.ReleaseWindow(), window);
  canvas->SetHandle(nullptr);
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 500; ++i) {
    canvas->FillRect(RECT{0, 0, 5, 5});
    canvas->SetHandle(nullptr);
  }
  EXPECT_EQ(GdiObjectsInUse(), before);
  canvas->Free();
  DestroyWindow(window);
}

TEST(Canvas, WindowCanvasWithoutAWindowDrawsNothing) {
  FakeHost host;  // no window can be had
  TCanvas* canvas = TCanvas::CreateForControl(&host, nullptr, nullptr);
  canvas->FillRect(RECT{0, 0, 5, 5});
  canvas->MoveTo(1, 1);
  canvas->LineTo(3, 3);
  EXPECT_EQ(canvas->Handle, nullptr);
  EXPECT_EQ(canvas->SelectedState, 0);
  canvas->Free();
}

TEST(Canvas, TextExtentMeasuresWithoutADCAndLeavesNoneBehind) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  FakeHost host;
  TCanvas* canvas = TCanvas::CreateForControl(&host, font, nullptr);
  const SIZE one = canvas->TextExtent("W");
  const SIZE three = canvas->TextExtent("WWW");
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(one.cy, 0);
  EXPECT_EQ(three.cx, 3 * one.cx);
  EXPECT_EQ(three.cy, one.cy);
  EXPECT_EQ(canvas->TextExtent("").cx, 0);
  EXPECT_EQ(canvas->Handle, nullptr);
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 500; ++i) canvas->TextExtent("Hello");
  EXPECT_EQ(GdiObjectsInUse(), before);
  canvas->Free();
  font->Free();
}

TEST(Canvas, TextExtentFollowsTheFont) {
  TGraphicTool* font = TGraphicTool::CreateFont();
  FakeHost host;
  TCanvas* canvas = TCanvas::CreateForControl(&host, font, nullptr);
  const SIZE small = canvas->TextExtent("Mmm");
  canvas->Font->SetValue(TGraphicTool::FontHeight, -40);
  const SIZE large = canvas->TextExtent("Mmm");
  EXPECT_GT(large.cy, small.cy);
  EXPECT_GT(large.cx, small.cx);
  canvas->Free();
  font->Free();
}

TEST(Canvas, TextExtentUsesTheDCTheCanvasAlreadyHas) {
  Surface surface(16, 16);
  TCanvas* canvas = TCanvas::CreateForDC(surface.dc());
  EXPECT_GT(canvas->TextExtent("abc").cx, 0);
  EXPECT_EQ(canvas->Handle, surface.dc());
  canvas->Free();
}

// ---------------------------------------------------------------- bitmaps

// A 3x3 image whose nine pixels all differ; the rows are stored bottom-up.
constexpr COLORREF kNine[3][3] = {
    {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
    {RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)},
    {RGB(128, 0, 0), RGB(0, 128, 0), RGB(0, 0, 128)},
};

struct NineBits {
  BITMAPINFO info{};
  DWORD pixels[9]{};
  NineBits() {
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 3;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        const COLORREF c = kNine[row][col];
        pixels[(2 - row) * 3 + col] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    }
  }
};

// Checks the four corners and the centre of the 3x3 image stretched into (10,10)-(40,40).
void ExpectNineStretched(const Surface& surface) {
  EXPECT_EQ(surface.At(10, 10), kNine[0][0]);
  EXPECT_EQ(surface.At(39, 10), kNine[0][2]);
  EXPECT_EQ(surface.At(10, 39), kNine[2][0]);
  EXPECT_EQ(surface.At(39, 39), kNine[2][2]);
  EXPECT_EQ(surface.At(25, 25), kNine[1][1]);
  EXPECT_EQ(surface.At(9, 9), Surface::kBackground);
  EXPECT_EQ(surface.At(40, 40), Surface::kBackground);
}

constexpr RECT kTarget{10, 10, 40, 40};

TEST(Bitmap, MemoryBitsDrawStretched) {
  Surface surface(50, 50);
  SetStretchBltMode(surface.dc(), COLORONCOLOR);
  NineBits nine;
  TBitmap* bitmap = TBitmap::Create();
  bitmap->SetBits(&nine.info, nine.pixels, sizeof(nine.pixels), false);
  EXPECT_EQ(bitmap->Width, 3);
  EXPECT_EQ(bitmap->Height, 3);
  bitmap->Draw(surface.dc(), kTarget);
  ExpectNineStretched(surface);
  bitmap->Free();
}

TEST(Bitmap, DIBHandleTurnsBitsIntoASectionThatDrawsTheSame) {
  Surface surface(50, 50);
  SetStretchBltMode(surface.dc(), COLORONCOLOR);
  NineBits nine;
  TBitmap* bitmap = TBitmap::Create();
  bitmap->SetBits(&nine.info, nine.pixels, sizeof(nine.pixels), true);
  HBITMAP section = bitmap->DIBHandle();
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(bitmap->Bits, nullptr);
  EXPECT_EQ(bitmap->Handle.Get(), section);  // owned: the bitmap deletes it
  EXPECT_EQ(bitmap->DIBHandle(), section);
  std::memset(nine.pixels, 0, sizeof(nine.pixels));  // borrowed bits are no longer used
  bitmap->Draw(surface.dc(), kTarget);
  ExpectNineStretched(surface);
  bitmap->Free();
  EXPECT_TRUE(IsDeleted(section));
}

TEST(Bitmap, AdoptedHandleDrawsStretched) {
  Surface surface(50, 50);
  SetStretchBltMode(surface.dc(), COLORONCOLOR);
  TBitmap* bitmap = TBitmap::CreateBitmap(3, 3);
  ASSERT_NE(bitmap->Handle.Get(), nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap->Handle.Get());
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) SetPixel(memory, col, row, kNine[row][col]);
  SelectObject(memory, previous);
  DeleteDC(memory);
  bitmap->Draw(surface.dc(), kTarget);
  ExpectNineStretched(surface);

  TBitmap* adopted = TBitmap::Create();
  HBITMAP handle = bitmap->Handle.Detach();  // handed over
  bitmap->Free();
  adopted->SetHandle(handle);
  EXPECT_EQ(adopted->Width, 3);
  EXPECT_EQ(adopted->Height, 3);
  surface.Fill(Surface::kBackground);
  adopted->Draw(surface.dc(), kTarget);
  ExpectNineStretched(surface);
  adopted->Free();
  EXPECT_TRUE(IsDeleted(handle));
}

TEST(Bitmap, EmptyBitmapDrawsNothing) {
  Surface surface(50, 50);
  TBitmap* none = TBitmap::Create();
  TBitmap* flat = TBitmap::CreateBitmap(0, 5);
  TBitmap* negative = TBitmap::CreateBitmap(-3, 5);
  for (TBitmap* b : {none, flat, negative}) {
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Handle.Get(), nullptr);
    b->Draw(surface.dc(), kTarget);
    b->Free();
  }
  EXPECT_EQ(surface.ColorsIn(RECT{0, 0, 50, 50}), std::set<COLORREF>{Surface::kBackground});
}

TEST(Bitmap, SetHandleOfSomethingElseLeavesItEmptyAndTheObjectAlone) {
  HFONT font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  TBitmap* bitmap = TBitmap::CreateBitmap(4, 4);
  HBITMAP own = bitmap->Handle.Get();
  bitmap->SetHandle(reinterpret_cast<HBITMAP>(font));
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Handle.Get(), nullptr);
  EXPECT_TRUE(IsDeleted(own));
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  bitmap->Free();
  DeleteObject(font);
}

TEST(Bitmap, SetHandleWithTheHeldHandleKeepsIt) {
  TBitmap* bitmap = TBitmap::CreateBitmap(4, 4);
  HBITMAP own = bitmap->Handle.Get();
  bitmap->SetHandle(own);
  EXPECT_EQ(bitmap->Handle.Get(), own);
  EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_FALSE(bitmap->Empty());
  bitmap->Free();
}

TEST(Bitmap, BitsShorterThanTheirFormatAreRefused) {
  NineBits nine;
  TBitmap* bitmap = TBitmap::Create();
  bitmap->SetBits(&nine.info, nine.pixels, sizeof(nine.pixels) - 4, false);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Bits, nullptr);
  bitmap->Free();
}

// ---------------------------------------------------------------- leaks

TEST(GdiObjects, ToolsCanvasesAndBitmapsGiveBackEverything) {
  Surface surface(16, 16);
  NineBits nine;
  auto round = [&] {
    TGraphicTool* font = TGraphicTool::CreateFont();
    TGraphicTool* brush = TGraphicTool::CreateBrush();
    font->GetHandle();
    brush->SetColor(RGB(3, 3, 3));
    brush->GetHandle();
    FakeHost host;
    TCanvas* canvas = TCanvas::CreateForControl(&host, font, brush);
    canvas->SetPen(TGraphicTool::CreatePen());
    canvas->Font->SetValue(TGraphicTool::FontHeight, -13);  // an own font for the copy
    canvas->SetHandle(CreateCompatibleDC(nullptr), TDCRelease::DeleteDC);
    canvas->RequireState(TCanvas::FontValid | TCanvas::BrushValid | TCanvas::PenValid);
    canvas->FillRect(RECT{0, 0, 2, 2});
    canvas->TextExtent("x");
    TCanvas* borrowed = TCanvas::CreateForDC(surface.dc());
    borrowed->FillRect(RECT{0, 0, 2, 2});
    TBitmap* ddb = TBitmap::CreateBitmap(8, 8);
    TBitmap* dib = TBitmap::Create();
    dib->SetBits(&nine.info, nine.pixels, sizeof(nine.pixels), false);
    dib->DIBHandle();
    dib->Draw(surface.dc(), RECT{0, 0, 6, 6});
    ddb->Draw(surface.dc(), RECT{0, 0, 6, 6});
    font->Free();  // before its copy: the copy keeps it until it goes
    canvas->Free();
    brush->Free();
    borrowed->Free();
    ddb->Free();
    dib->Free();
  };
  round();  // stock objects and other once-only objects
  const long before = GdiObjectsInUse();
  for (int i = 0; i < 300; ++i) round();
  EXPECT_EQ(GdiObjectsInUse(), before);
}

}  // namespace
