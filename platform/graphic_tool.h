// TGraphicTool: a brush, font or pen description that owns the GDI object made from it, created
// on demand. A tool copied from a parent tool uses the parent's object while both descriptions are
// equal byte for byte, so many controls with one font hold one font handle.
// Must never hand out a handle that was made from a description other than its own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "platform/obj.h"

// Brush data of a description. The padding is spelled out so that the byte comparison of two
// descriptions never looks at bytes nobody wrote.
struct TBrushData {
  std::int32_t Bitmap;      // pattern bitmap handle (owned by the tool), 0 = none
  std::uint8_t BrushStyle;  // 0 solid, 1 hollow, n >= 2 hatched with hatch n - 2
  std::uint8_t Reserved[3];
  std::int32_t LineColor;  // colour of the hatch lines
};

// Pen data of a description.
struct TPenData {
  std::int32_t PenStyle;  // PS_SOLID, PS_DASH, ...
  std::int32_t PenWidth;
  std::int32_t PenMode;  // raster operation - 1 (12 = copy)
};

// The 64 bytes that decide a tool's GDI object: the colour and the kind's data.
struct TToolDescription {
  std::int32_t Color;
  union {
    LOGFONTA Font;
    TBrushData Brush;
    TPenData Pen;
  };
};
static_assert(sizeof(TToolDescription) == 64, "a tool description is 64 bytes");

// The font record Windows takes: the same fields, the face name converted from CP1251.
LOGFONTW WideLogFont(const LOGFONTA& font);

class TGraphicTool : public TObj {
 public:
  enum : std::uint8_t { KindBrush = 0, KindFont = 1, KindPen = 2 };

  // Byte offsets of the 32-bit fields for SetValue.
  static constexpr std::size_t ToolColor = offsetof(TToolDescription, Color);
  static constexpr std::size_t FontHeight = offsetof(TToolDescription, Font.lfHeight);
  static constexpr std::size_t FontWidth = offsetof(TToolDescription, Font.lfWidth);
  static constexpr std::size_t FontEscapement = offsetof(TToolDescription, Font.lfEscapement);
  static constexpr std::size_t FontOrientation = offsetof(TToolDescription, Font.lfOrientation);
  static constexpr std::size_t FontWeight = offsetof(TToolDescription, Font.lfWeight);
  static constexpr std::size_t BrushLineColor = offsetof(TToolDescription, Brush.LineColor);
  static constexpr std::size_t PenStyle = offsetof(TToolDescription, Pen.PenStyle);
  static constexpr std::size_t PenWidth = offsetof(TToolDescription, Pen.PenWidth);
  static constexpr std::size_t PenMode = offsetof(TToolDescription, Pen.PenMode);

  // Font style bits of SetFontStyle.
  enum : std::uint8_t { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

  // New tools with the defaults: brush COLOR_BTNFACE solid; font COLOR_WINDOWTEXT, "MS Sans Serif",
  // character set 1, height 0; pen black, solid, width 1, copy mode.
  static TGraphicTool* CreateBrush();
  static TGraphicTool* CreateFont();
  static TGraphicTool* CreatePen();

  // A new tool of the same kind and description whose parent is this tool; it holds a reference
  // to the parent, so the parent lives at least as long as the copy.
  TGraphicTool* Copy();

  // The GDI object for the description, made (or taken from the parent) on demand. Null when the
  // system could not make it.
  HGDIOBJ GetHandle();
  HBRUSH GetBrushHandle() { return static_cast<HBRUSH>(GetHandle()); }
  HFONT GetFontHandle() { return static_cast<HFONT>(GetHandle()); }
  HPEN GetPenHandle() { return static_cast<HPEN>(GetHandle()); }

  // The description changed: the own handle (if any) is dropped and deleted, OnChange is told.
  // Copies without an object of their own may have been handing out the deleted one: they are
  // told too (before the deletion), so their owners can let go of it.
  void Changed();

  // Copies the description of `source` (no-op for a null source or itself).
  void Assign(const TGraphicTool* source);
  // As above, making `target` with the source's kind first when it is null. Returns `target`.
  static TGraphicTool* Assign(TGraphicTool*& target, const TGraphicTool* source);

  // Setters: store and call Changed only when the stored value differs.
  void SetValue(std::size_t offset, std::int32_t v);  // any 32-bit field, by the offsets above
  void SetColor(std::int32_t c);
  void SetFontName(std::string_view name);  // at most 31 bytes are kept
  void SetCharSet(std::uint8_t c);
  void SetFontStyle(std::uint8_t flags);
  void SetBrushStyle(std::uint8_t style);
  void SetBrushBitmap(HBITMAP pattern);  // the tool takes ownership of `pattern`

  // Readers of the description.
  std::int32_t Color() const { return Description.Color; }
  std::uint8_t FontStyle() const;
  std::string_view FontName() const;
  bool IsHollowBrush() const;
  // Whether the descriptions of this tool and `other` are equal byte for byte.
  bool SameDescription(const TGraphicTool& other) const;

  std::uint8_t Kind = KindBrush;
  TOwnedGdiObject Handle;  // own object only; a shared parent object is never stored here
  TGraphicTool* ParentTool = nullptr;
  TObjEvent OnChange;  // (data, tool)
  COLORREF HandleColor = 0;
  TToolDescription Description{};
  TGraphicTool* (*CopyProc)() = nullptr;
  HGDIOBJ (*MakeHandleProc)(TGraphicTool* tool) = nullptr;

 protected:
  TGraphicTool() = default;
  ~TGraphicTool() override;

 private:
  std::vector<TGraphicTool*> Copies;  // live copies made from this tool
  void RetireHandle(TOwnedGdiObject old);
  void TellSharingCopies();
  TOwnedBitmap OwnPattern;  // the pattern bitmap given to this tool, not one copied from another
  void StoreValue(std::size_t offset, std::int32_t v);
};
