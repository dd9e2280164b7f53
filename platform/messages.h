// The program's own window messages, in one table, and the system-command value the library sends.
// Their numbers are fixed: tests and child processes post them by value. Must never reuse a number
// below WM_APP, where the system's and the standard controls' messages live.
#pragma once

#include <windows.h>

// Posted by a closing main window to itself: the object ends once the window is gone.
inline constexpr UINT kSelfReleaseMessage = WM_APP + 0x3003;  // 0xB003
// WM_COMMAND reflected from the parent to the child control that sent it.
inline constexpr UINT kReflectedCommand = WM_APP + 0x3005;  // 0xB005
// Added to a WM_CTLCOLOR* message reflected to the child, so it answers with its own colours.
inline constexpr UINT kReflectedColorBase = WM_APP + 0x3C00;  // 0xBC00
// Posted to a frame timer's message window when its kernel timer fires.
inline constexpr UINT kFrameTimerTick = WM_APP + 0x3A1;

// WM_SYSCOMMAND: the move command as the caption's hit-test sends it, so a drag moves the window.
inline constexpr WPARAM kDragMove = SC_MOVE | HTCAPTION;  // 0xF012
// WM_SYSCOMMAND: the low four bits of the command are the system's own.
inline constexpr WPARAM kSysCommandMask = 0xFFF0;

static_assert(kSelfReleaseMessage == 0xB003 && kReflectedCommand == 0xB005 && kReflectedColorBase == 0xBC00 &&
              kDragMove == 0xF012);
