// TGraphicTool: descriptions, handle sharing with the parent tool and the making of GDI objects.
// Must never delete a GDI object it did not make, nor one another tool still hands out.
#include "platform/graphic_tool.h"

#include <algorithm>
#include <cstring>

#include "platform/colors.h"
#include "platform/startup_trace.h"
#include "platform/text_codec.h"

namespace {

constexpr std::int32_t kButtonFace = SystemColor(COLOR_BTNFACE);
constexpr std::int32_t kWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr char kDefaultFace[] = "MS Sans Serif";
constexpr std::size_t kFaceBytes = sizeof(LOGFONTA::lfFaceName);  // 32, NUL included
constexpr std::int32_t kBoldWeight = 700;
constexpr std::int32_t kCopyPenMode = R2_COPYPEN - 1;

HBITMAP PatternOf(const TToolDescription& d) { return static_cast<HBITMAP>(LongToHandle(d.Brush.Bitmap)); }

HGDIOBJ MakeBrush(TGraphicTool* tool) {
  const TBrushData& data = tool->Description.Brush;
  LOGBRUSH lb{};
  if (data.Bitmap != 0) {
    lb.lbStyle = BS_PATTERN;
    lb.lbHatch = reinterpret_cast<ULONG_PTR>(PatternOf(tool->Description));
  } else if (data.BrushStyle == 0) {
    lb.lbStyle = BS_SOLID;
    lb.lbColor = tool->HandleColor;
  } else if (data.BrushStyle == 1) {
    lb.lbStyle = BS_HOLLOW;
  } else {
    lb.lbStyle = BS_HATCHED;
    lb.lbColor = tool->HandleColor;
    lb.lbHatch = static_cast<ULONG_PTR>(data.BrushStyle - 2);
  }
  return CreateBrushIndirect(&lb);
}

}  // namespace

LOGFONTW WideLogFont(const LOGFONTA& font) {
  LOGFONTW wide{};
  std::memcpy(&wide, &font, offsetof(LOGFONTA, lfFaceName));
  for (std::size_t i = 0; i < kFaceBytes && font.lfFaceName[i] != '\0'; ++i)
    wide.lfFaceName[i] = WideOfCp1251(static_cast<unsigned char>(font.lfFaceName[i]));
  wide.lfFaceName[kFaceBytes - 1] = L'\0';
  return wide;
}

namespace {

HGDIOBJ MakeFont(TGraphicTool* tool) {
  TStartupSpan span("fonts");
  const LOGFONTW font = WideLogFont(tool->Description.Font);
  return CreateFontIndirectW(&font);
}

HGDIOBJ MakePen(TGraphicTool* tool) {
  const TPenData& data = tool->Description.Pen;
  return ::CreatePen(data.PenStyle, data.PenWidth, tool->HandleColor);
}

// The colour the GDI object is made with: hatch lines take LineColor. Fonts carry no colour.
COLORREF ObjectColor(const TGraphicTool& tool) {
  const TToolDescription& d = tool.Description;
  if (tool.Kind == TGraphicTool::KindBrush && d.Brush.Bitmap == 0 && d.Brush.BrushStyle >= 2) {
    return ResolveColor(d.Brush.LineColor);
  }
  return ResolveColor(d.Color);
}

}  // namespace

TGraphicTool* TGraphicTool::CreateBrush() {
  auto* tool = new TGraphicTool();
  tool->Kind = KindBrush;
  tool->Description.Color = kButtonFace;
  tool->CopyProc = &TGraphicTool::CreateBrush;
  tool->MakeHandleProc = &MakeBrush;
  return tool;
}

TGraphicTool* TGraphicTool::CreateFont() {
  auto* tool = new TGraphicTool();
  tool->Kind = KindFont;
  tool->Description.Color = kWindowText;
  tool->Description.Font.lfCharSet = DEFAULT_CHARSET;
  std::memcpy(tool->Description.Font.lfFaceName, kDefaultFace, sizeof(kDefaultFace));
  tool->CopyProc = &TGraphicTool::CreateFont;
  tool->MakeHandleProc = &MakeFont;
  return tool;
}

TGraphicTool* TGraphicTool::CreatePen() {
  auto* tool = new TGraphicTool();
  tool->Kind = KindPen;
  tool->Description.Color = 0;
  tool->Description.Pen.PenStyle = PS_SOLID;
  tool->Description.Pen.PenWidth = 1;
  tool->Description.Pen.PenMode = kCopyPenMode;
  tool->CopyProc = &TGraphicTool::CreatePen;
  tool->MakeHandleProc = &MakePen;
  return tool;
}

TGraphicTool* TGraphicTool::Copy() {
  TGraphicTool* copy = CopyProc();
  copy->Description = Description;
  copy->ParentTool = this;
  AddRef();
  Copies.push_back(copy);
  return copy;
}

TGraphicTool::~TGraphicTool() {
  OnChange = {};
  Handle.Reset();
  if (ParentTool != nullptr) {
    TGraphicTool* parent = ParentTool;
    ParentTool = nullptr;
    std::erase(parent->Copies, this);
    parent->Release();
  }
}

HGDIOBJ TGraphicTool::GetHandle() {
  // A font object does not depend on the colour, and a window may be using it: keep it.
  if (Handle && Kind != KindFont && ObjectColor(*this) != HandleColor) {
    // A system colour changed. Holders deselect the old object before it is deleted.
    RetireHandle(std::move(Handle));
  }
  if (!Handle) {
    if (ParentTool != nullptr && SameDescription(*ParentTool)) return ParentTool->GetHandle();
    HandleColor = ObjectColor(*this);
    Handle.Reset(MakeHandleProc(this));
  }
  return Handle.Get();
}

void TGraphicTool::Changed() { RetireHandle(std::move(Handle)); }

// Listeners run while the old object still exists, so a DC or window holding it can let it go
// first. Copies with no object of their own may have been handing ours out: they are told too.
void TGraphicTool::RetireHandle(TOwnedGdiObject old) {
  if (OnChange) OnChange(this);
  if (old) TellSharingCopies();
}

void TGraphicTool::TellSharingCopies() {
  const std::vector<TGraphicTool*> copies = Copies;  // a listener may free a copy
  for (TGraphicTool* copy : copies) {
    if (std::find(Copies.begin(), Copies.end(), copy) == Copies.end() || copy->Handle) continue;
    if (copy->OnChange) copy->OnChange(copy);
    copy->TellSharingCopies();
  }
}

bool TGraphicTool::SameDescription(const TGraphicTool& other) const {
  return std::memcmp(&Description, &other.Description, sizeof(Description)) == 0;
}

void TGraphicTool::Assign(const TGraphicTool* source) {
  if (source == nullptr || source == this || source->Kind != Kind) return;
  if (SameDescription(*source)) return;
  Description = source->Description;
  // The pattern bitmap stays owned by the tool that was given it; one no longer described goes
  // after the object made with it.
  TOwnedBitmap oldPattern;
  if (OwnPattern.Get() != PatternOf(Description)) oldPattern = std::move(OwnPattern);
  Changed();
}

TGraphicTool* TGraphicTool::Assign(TGraphicTool*& target, const TGraphicTool* source) {
  if (source == nullptr) return target;
  if (target == nullptr) {
    target = source->CopyProc();
    // A fresh tool already equal to the source keeps its (absent) handle; nothing to tell.
  }
  target->Assign(source);
  return target;
}

void TGraphicTool::StoreValue(std::size_t offset, std::int32_t v) {
  std::memcpy(reinterpret_cast<unsigned char*>(&Description) + offset, &v, sizeof(v));
}

void TGraphicTool::SetValue(std::size_t offset, std::int32_t v) {
  // Only whole 32-bit fields inside the description can be set this way.
  if (offset % sizeof(std::int32_t) != 0 || offset > sizeof(Description) - sizeof(std::int32_t)) return;
  std::int32_t old = 0;
  std::memcpy(&old, reinterpret_cast<const unsigned char*>(&Description) + offset, sizeof(old));
  if (old == v) return;
  StoreValue(offset, v);
  Changed();
}

void TGraphicTool::SetColor(std::int32_t c) {
  if (Description.Color == c) return;
  Description.Color = c;
  Changed();
  if (Kind == KindBrush) HandleColor = ObjectColor(*this);
}

void TGraphicTool::SetFontName(std::string_view name) {
  char face[kFaceBytes] = {};
  std::memcpy(face, name.data(), std::min(name.size(), kFaceBytes - 1));
  if (std::memcmp(face, Description.Font.lfFaceName, kFaceBytes) == 0) return;
  std::memcpy(Description.Font.lfFaceName, face, kFaceBytes);
  Changed();
}

void TGraphicTool::SetCharSet(std::uint8_t c) {
  if (Description.Font.lfCharSet == c) return;
  Description.Font.lfCharSet = c;
  Changed();
}

void TGraphicTool::SetFontStyle(std::uint8_t flags) {
  LOGFONTA font = Description.Font;
  if ((flags & StyleBold) != 0) {
    if (font.lfWeight < kBoldWeight) font.lfWeight = kBoldWeight;
  } else if (font.lfWeight >= kBoldWeight) {
    font.lfWeight = 0;
  }
  font.lfItalic = (flags & StyleItalic) != 0 ? 1 : 0;
  font.lfUnderline = (flags & StyleUnderline) != 0 ? 1 : 0;
  font.lfStrikeOut = (flags & StyleStrikeOut) != 0 ? 1 : 0;
  if (std::memcmp(&font, &Description.Font, sizeof(font)) == 0) return;
  Description.Font = font;
  Changed();
}

void TGraphicTool::SetBrushStyle(std::uint8_t style) {
  if (Description.Brush.BrushStyle == style) return;
  Description.Brush.BrushStyle = style;
  Changed();
}

void TGraphicTool::SetBrushBitmap(HBITMAP pattern) {
  if (PatternOf(Description) == pattern) return;
  TOwnedBitmap oldPattern = std::exchange(OwnPattern, TOwnedBitmap(pattern));
  Description.Brush.Bitmap = HandleToLong(pattern);
  Changed();
}

std::uint8_t TGraphicTool::FontStyle() const {
  const LOGFONTA& f = Description.Font;
  std::uint8_t flags = 0;
  if (f.lfWeight >= kBoldWeight) flags |= StyleBold;
  if (f.lfItalic != 0) flags |= StyleItalic;
  if (f.lfUnderline != 0) flags |= StyleUnderline;
  if (f.lfStrikeOut != 0) flags |= StyleStrikeOut;
  return flags;
}

std::string_view TGraphicTool::FontName() const {
  const char* face = Description.Font.lfFaceName;
  return std::string_view(face, strnlen(face, kFaceBytes));
}

bool TGraphicTool::IsHollowBrush() const {
  return Kind == KindBrush && Description.Brush.Bitmap == 0 && Description.Brush.BrushStyle == 1;
}
