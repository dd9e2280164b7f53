// The no-wrap text view: a window class of the library's own that speaks the multi-line edit
// control's messages (text, selection, lines, scrolling, undo, clipboard, notifications to the
// parent, colours asked of the parent) over a TTextLines, and paints only the rows it shows. It
// stands in for the system's edit where lines never wrap, because the system's lays out every line
// of a text it is given, which costs seconds for a large effect.
// Must never wrap a line, and never answer a message of the edit protocol otherwise than the
// system's multi-line edit does for the uses of this program.
#pragma once

#include <windows.h>

#include <string_view>

// The class's name; it says "Edit", as the names of edit classes do.
inline constexpr std::string_view kTextViewClass = "NoWrapEdit";

// Registers the class in this module once; false when the system refuses it.
bool RegisterTextViewClass();
