// Drives the real cube editor program from outside its process, as a user would: starts it in a
// working directory of the test's choice, finds its window and controls by caption and layout,
// clicks with real mouse and key input, reads texts by window messages, takes screenshots, and
// ends it. Never links or includes the editor's own code; every wait is bounded, and a program
// still running when the driver goes away is killed. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_layout.h"

namespace e2e {

// The editor's window caption in CP1251 bytes.
const std::string& EditorCaption();
// The program under test: the path built into the test, or cube_editor.exe beside the test program.
std::string EditorProgramPath();
// A new empty directory under the system's temp directory; empty string on failure.
std::string MakeFreshTempDir();
// Removes a directory with everything in it (best effort).
void RemoveDirTree(const std::string& dir);

// A window's text, read in UTF-16 and converted by CP1251 itself: the same on every locale.
std::string WindowText(HWND window);
std::wstring WideWindowText(HWND window);
// A top-level window of any process with this class and CP1251 title, or null.
HWND FindTopWindow(const char* windowClass, const char* title);

// Pixels of a window's client area as they stand on the screen, in top-down rows of 0x00RRGGBB;
// false (and nothing changed) when they cannot be read.
bool CaptureClient(HWND window, int& width, int& height, std::vector<std::uint32_t>& pixels);

// Pixels of the editor window's client area as they stood on the screen.
class TScreenShot {
 public:
  bool Valid() const { return width_ > 0 && height_ > 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // 0x00BBGGRR, or 0xFFFFFFFF outside the picture.
  std::uint32_t Pixel(int x, int y) const;

 private:
  friend class TEditorProcess;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down rows of 0x00RRGGBB as the DIB holds them
};

class TEditorProcess {
 public:
  // workDir empty: a fresh temp dir, removed again on destruction.
  explicit TEditorProcess(std::string workDir = {}, std::string program = EditorProgramPath());
  ~TEditorProcess();
  TEditorProcess(const TEditorProcess&) = delete;
  TEditorProcess& operator=(const TEditorProcess&) = delete;

  // Starts the program and waits until its window is visible with every control found.
  bool Start(DWORD timeoutMs = 10000);
  // The two halves of Start: create the process, then wait until its window and controls are there.
  bool Spawn();
  bool WaitReady(DWORD timeoutMs = 10000);
  // The program's visible editor window, or null while it is not shown yet.
  HWND FindShownWindow() const;
  // The first top-level window of this process with this caption (the editor's own dialogs and
  // views), only a shown one if asked; null when there is none.
  HWND TopWindowTitled(const std::string& caption, bool shownOnly = false) const;
  // Start, and put this text into EffectMemo as soon as the memo exists, well before the clearing
  // timer's first tick (one second after start).
  bool StartWithMemoText(const std::string& text, DWORD timeoutMs = 10000);
  // Start, and return once the first clearing tick has emptied EffectMemo (seen by a marker text
  // put in early), so that frames recorded afterwards are not cleared by it.
  bool StartPastFirstTick(DWORD timeoutMs = 10000);
  // Why Start failed, for test messages.
  const std::string& Error() const { return error_; }
  bool Running() const;
  DWORD ProcessId() const { return info_.dwProcessId; }
  HANDLE Process() const { return info_.hProcess; }
  const std::string& WorkDir() const { return workDir_; }

  HWND Window() const { return window_; }
  HWND Led(int n) const { return n >= 1 && n <= kLedCount ? leds_[n - 1] : nullptr; }
  HWND FrameEdit() const { return frameEdit_; }
  HWND EffectMemo() const { return effectMemo_; }
  HWND ResetButton() const { return resetButton_; }
  HWND SaveButton() const { return saveButton_; }
  // The child of the editor window whose caption is these CP1251 bytes, or null.
  HWND ChildByText(const std::string& text) const;
  // A child window's rectangle in the editor window's client coordinates.
  std::optional<TPlace> PlaceOf(HWND child) const;

  // Real mouse input (SendInput) at the LED's centre; waits until FrameEdit's text changed.
  bool ClickLed(int n, DWORD timeoutMs = 5000);
  // Real clicks, `times` of them on one spot of LED n in one burst of input, so that the second is
  // a double click, and then one click on LED thenLed. Does not wait: the frame string passes
  // through the states of the burst, and only the click on thenLed, handled last, makes the final
  // one differ from all of them, so the caller waits for exactly that one.
  bool ClickLedQuickly(int n, int times, int thenLed);
  // Real click where the last click on this LED landed (else at its centre): right after that
  // click it makes a double click. Waits until FrameEdit's text changed.
  bool ClickLedOnTheSameSpot(int n, DWORD timeoutMs = 5000);
  // Posted button-down/up straight to the LED's window; does not wait.
  bool PostClickLed(int n);
  // Real click at the button's centre; waits until the program has handled it.
  bool ClickButton(HWND button, DWORD timeoutMs = 5000);
  // Real click into a child at a point of its client area.
  bool ClickAt(HWND child, int x, int y);
  // Clicks into FrameEdit, waits for the focus, presses Enter with real key input and waits until
  // the program has handled it.
  bool PressEnterInFrameEdit(DWORD timeoutMs = 5000);
  // Real key press (virtual-key code) to whatever has the focus in the editor.
  bool PressKey(WORD virtualKey);
  // The same with a modifier (VK_CONTROL, VK_SHIFT) held down around it.
  bool PressKeyWith(WORD modifier, WORD virtualKey);
  // The same with two modifiers held (Ctrl and Shift for Ctrl+Shift+K).
  bool PressKeyWith(WORD modifier, WORD secondModifier, WORD virtualKey);
  // Clicks into a child and waits until it has the focus.
  bool FocusByClick(HWND child, int x, int y, DWORD timeoutMs = 5000);
  // The same for FrameEdit, clicked at its far right, which only puts the caret at the end of the text.
  bool FocusFrameEdit(DWORD timeoutMs = 5000);
  // Polls until this window has the focus.
  bool WaitFocus(HWND window, DWORD timeoutMs = 5000) const;
  // The child of the editor window that stands exactly at this place, or null.
  HWND ChildAtPlace(const TPlace& place) const;
  // Moves the mouse onto a bare corner of the editor window, where no control or hint is: a tool's
  // hint that popped up under a resting mouse goes away and cannot cover a screenshot.
  bool ParkMouse() const;
  // Real mouse move, no button, to a point of a child's client area.
  bool HoverAt(HWND child, int x, int y);
  // Polls until one of the program's tooltips is shown with exactly this text (CP1251 bytes).
  bool WaitTooltipShowing(const std::string& text, DWORD timeoutMs = 5000) const;
  // The real left button pressed (or let go) at a point of a child's client area: a drag's ends.
  bool LeftButtonAt(HWND child, int x, int y, bool down);
  // A real right click at a point of a child's client area, as a context menu is asked for.
  bool RightClickAt(HWND child, int x, int y);
  // The editor's popup menu that is shown, or null once none is within the time.
  HWND WaitPopupMenu(DWORD timeoutMs = 5000) const;
  // Two real left clicks at one point of a child, within the double-click time.
  bool DoubleClickAt(HWND child, int x, int y);
  // The window that has the keyboard focus (holds the mouse capture) in the editor's GUI thread.
  HWND FocusWindow() const;
  HWND CaptureWindow() const;
  bool WaitCaptureReleased(DWORD timeoutMs) const;

  std::string FrameText() const { return TextOf(frameEdit_); }
  std::string MemoText() const { return TextOf(effectMemo_); }
  // WM_GETTEXT through SendMessageTimeout; empty when the program does not answer.
  std::string TextOf(HWND window) const;
  bool SetTextOf(HWND window, const std::string& text) const;
  // Polls FrameEdit (EffectMemo) until it shows exactly this text.
  bool WaitFrameText(const std::string& expected, DWORD timeoutMs = 5000) const;
  bool WaitMemoText(const std::string& expected, DWORD timeoutMs = 5000) const;
  // How many clearing ticks the program has had (it counts them on its window), and a wait until
  // there are at least `count`, then until the program has handled what the tick started.
  std::intptr_t ClearingTicks() const;
  bool WaitClearingTicks(std::intptr_t count, DWORD timeoutMs = 10000) const;
  // Returns once the program has handled the messages sent so far and is waiting for input.
  bool Sync(DWORD timeoutMs = 5000) const;

  // The client area of the editor window as it stands on the screen.
  TScreenShot ScreenShot() const;

  // WM_CLOSE to the editor window.
  bool Close();
  // Exit code once the process ended within the time, otherwise nothing.
  std::optional<DWORD> WaitExit(DWORD timeoutMs);
  void Kill();

 private:
  bool Launch(DWORD timeoutMs, const std::string* earlyMemoText);
  bool WaitReadyMarkingMemo(DWORD timeoutMs, const std::string* earlyMemoText);
  bool FindWindowAndControls();
  HWND FindMemoEarly() const;
  bool WaitText(HWND window, const std::string& expected, DWORD timeoutMs) const;
  bool BringToFront() const;
  bool ClientToScreenPoint(HWND child, int x, int y, POINT& screen) const;
  struct TClicksAt {
    POINT At;
    int Times;
    bool Right = false;
  };
  static std::optional<INPUT> MouseAt(POINT screen, DWORD buttons);
  bool SendMouseClicks(const std::vector<TClicksAt>& bursts) const;
  bool SendMouseClickAt(POINT screen) const;
  bool LedCentre(int n, POINT& screen) const;
  bool SendKeys(const std::vector<INPUT>& inputs);

  std::string program_;
  std::string workDir_;
  bool ownsWorkDir_ = false;
  PROCESS_INFORMATION info_{};
  std::string error_;
  HWND window_ = nullptr;
  std::vector<HWND> leds_ = std::vector<HWND>(kLedCount, nullptr);
  HWND frameEdit_ = nullptr;
  HWND effectMemo_ = nullptr;
  HWND resetButton_ = nullptr;
  HWND saveButton_ = nullptr;
  // Two real clicks on one spot of one window in quick succession make a double click: so that an
  // ordinary click stays a single one, the next click on the same window aims a few pixels aside.
  // ClickLedQuickly and ClickLedOnTheSameSpot make double clicks on purpose.
  HWND lastClicked_ = nullptr;
  POINT lastClickAt_{};
};

}  // namespace e2e
