// TControl: the one window object of the window library (application window, forms, "EDIT", "STATIC"
// and "BUTTON" children, self-painted windows). Its window is created lazily; every message of every
// window of the library goes through the one window procedure and the layers of WndProc.
// Must never include runtime/ headers, and nothing may throw out of the window procedure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/graphic_tool.h"
#include "platform/list.h"
#include "platform/messages.h"
#include "platform/obj.h"

class TControl;

// The message record every layer of WndProc sees.
struct TMessage {
  HWND Window = nullptr;
  UINT Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

// A message handler: returns true when it handled the message (result then holds the answer).
using TMessageHandler = bool (*)(TControl* self, TMessage& msg, LRESULT& result);
// The application window's message filter, seen by ProcessOneMessage before dispatching.
using TMessageFilter = bool (*)(TControl* self, MSG& msg);
// Keyboard navigation of a form: `from` is the control that got the key; with testOnly it only
// tells whether the key would move the focus.
using TNavigationHandler = bool (*)(TControl* form, TControl* from, std::int32_t key, bool testOnly);
using TControlProc = void (*)(TControl* self);

// Defaults of the handler slots: they handle nothing.
inline bool IgnoreMessage(TControl*, TMessage&, LRESULT&) { return false; }
inline bool IgnoreNavigation(TControl*, TControl*, std::int32_t, bool) { return false; }
inline void IgnoreControl(TControl*) {}

// Mouse event record handed to the mouse events.
struct TMouseEventData {
  std::uint8_t Button = 0;  // 0 none, 1 left, 2 right, 3 middle
  std::uint8_t StopHandling = 0;
  std::int32_t Shift = 0;  // the message's key-state flags, plus kAltKey when Alt is down
  std::int16_t X = 0;
  std::int16_t Y = 0;
};

// Keyboard shift state bits passed to key events.
inline constexpr std::int32_t kShiftKey = 4;
inline constexpr std::int32_t kCtrlKey = 8;
inline constexpr std::int32_t kAltKey = 32;

// The control events; each answers true when it handled the message, or changes what it is handed.
using TOnMessageEvent = TCallback<bool(TMessage& msg, LRESULT& result)>;
using TOnPaintEvent = TCallback<void(TControl* sender, HDC dc)>;
using TOnMouseEvent = TCallback<void(TControl* sender, TMouseEventData& mouse)>;
using TOnKeyEvent = TCallback<void(TControl* sender, std::int32_t& key, std::int32_t shift)>;
using TOnCharEvent = TCallback<void(TControl* sender, char& ch, std::int32_t shift)>;
using TOnCloseQueryEvent = TCallback<void(TControl* sender, bool& accept)>;

// Messages and procedures that give a standard child control its text and list behaviour, and the
// notification codes its reflected WM_COMMAND carries. A message number of 0 means "none".
struct TCommandTable {
  UINT LineCountMsg = 0;
  UINT LineIndexMsg = 0;
  UINT LineFromCharMsg = 0;
  UINT LineLengthMsg = 0;
  UINT GetLineMsg = 0;
  UINT ReplaceSelMsg = 0;
  UINT GetSelMsg = 0;
  UINT SetSelMsg = 0;
  void (*ClearProc)(TControl* self) = nullptr;
  // Notification codes, compared in this order.
  std::uint16_t ClickCode = 0;
  std::uint16_t FocusGainedCode = 0;
  std::uint16_t FocusLostCode = 0;
  std::uint16_t ChangeCode = 0;
  // The double-click notification, taken as a click by a control whose DoubleClickIsClick is set;
  // 0: the kind has none.
  std::uint16_t DoubleClickCode = 0;
  // Added to the measured caption by automatic sizing.
  std::int32_t AutoSizeExtraWidth = 0;
  std::int32_t AutoSizeExtraHeight = 0;
  // Text alignment styles: left, right, centre, and the mask that clears them.
  std::uint32_t AlignStyles[3] = {0, 0, 0};
  std::uint32_t AlignMask = 0;
};

// Edit options (bit numbers of the option set given to CreateEdit).
enum TEditOption : std::uint32_t {
  eoNoAutoHScroll = 1u << 0,
  eoNoAutoVScroll = 1u << 1,
  eoLowercase = 1u << 2,
  eoMultiline = 1u << 3,
  eoNoHideSelection = 1u << 4,
  eoOemConvert = 1u << 5,
  eoPassword = 1u << 6,
  eoReadOnly = 1u << 7,
  eoUppercase = 1u << 8,
  eoWantReturn = 1u << 9,
  eoWantTab = 1u << 10,
  eoNumber = 1u << 11,
};

// Keyboard navigation bits of NavigationKeys.
inline constexpr std::int32_t kNavTab = 1;
inline constexpr std::int32_t kNavLeftRight = 2;
inline constexpr std::int32_t kNavUpDown = 4;
inline constexpr std::int32_t kNavPage = 8;

// A control's events, read through Events() and set through the control's setters, which also
// attach the handlers that fire them.
struct TControlEvents {
  TOnMessageEvent OnMessage;
  TOnPaintEvent OnPaint;
  TOnMouseEvent OnMouseDown, OnMouseUp, OnMouseMove, OnMouseDblClick, OnMouseWheel;
  TObjEvent OnMouseEnter, OnMouseLeave;
  TOnKeyEvent OnKeyDown, OnKeyUp;
  TOnCharEvent OnChar;
  TObjEvent OnResize, OnShow, OnHide;
  TOnCloseQueryEvent OnCloseQuery;
  // Reflected notifications of the standard child controls.
  TObjEvent OnClick, OnFocusGained, OnFocusLost, OnChange;
};

class TControl : public TObj, public TCanvasHost {
 public:
  // --- Window
  HWND Handle = nullptr;
  WNDPROC BaseWindowProc = nullptr;
  std::int32_t Id = 0;  // child window id (menu/id of CreateWindowExW)
  bool IsForm = false;
  bool IsChild = false;
  bool CreateVisible = false;
  bool ShowAfterCreate = false;
  bool Released = false;
  bool MouseInside = false;
  // The object (an element) that owns this control, for its own use.
  void* OwnerObject = nullptr;

  // --- Navigation
  TControl* CurrentControl = nullptr;
  bool TabStop = false;
  std::int32_t NavigationKeys = 0;
  std::int32_t FocusingCounter = 0;  // inside a SetFocus of the navigation
  // Forms: buttons clicked by Enter and Escape (see the application window's message filter).
  TControl* DefaultButton = nullptr;
  TControl* CancelButton = nullptr;

  // --- Colours and tools
  TGraphicTool* Font = nullptr;
  TCanvas* Canvas = nullptr;
  std::int32_t Border = 0;  // spacing for aligned children

  // --- Handlers
  TMessageFilter MessageFilter = nullptr;  // application window only
  struct THandlerEntry {
    TMessageHandler Handler;
    bool KeepAfterTermination;
  };
  std::vector<THandlerEntry> HandlerChain;  // oldest first; walked newest first
  TMessageHandler KeyHandler = IgnoreMessage;
  TMessageHandler ExtraHandler = IgnoreMessage;
  TMessageHandler AfterMessageHook = IgnoreMessage;
  TNavigationHandler NavigationHandler = IgnoreNavigation;
  // Hover: a custom "is the cursor inside" test (client coordinates); null = the client rectangle.
  bool (*HoverTest)(TControl* self, POINT client) = nullptr;
  // Paint: a clip region the paint handler combines with the update region (owned).
  TOwnedRegion PaintClipRegion;
  // Reflected clicks of standard child controls.
  bool SuppressClick = false;
  // The second click of a double click arrives as the double-click notification, not as a click:
  // with this set it is a click all the same.
  bool DoubleClickIsClick = false;
  TControlProc PreClick = IgnoreControl;

  // --- Construction (use the Create* functions below)
  TControl();

  // --- Window
  HWND GetHandle();
  bool CreateWindowHandle();
  // Makes the next window of this control of another system class (of the same kind: an edit
  // control's messages stay those of its command table). Only while there is no window.
  void SetBaseClass(std::string_view baseClassName);
  const std::string& GetBaseClass() const { return BaseClassName; }
  bool HandleAllocated() const { return Handle != nullptr; }
  LRESULT WndProc(TMessage& msg);
  LRESULT CallDefault(const TMessage& msg);  // base window procedure or DefWindowProcW

  // --- Visibility and state (each changed only through its setter)
  void SetVisible(bool v);
  bool GetVisible() const { return Visible; }
  void SetEnabled(bool e);
  bool GetEnabled() const { return Enabled; }
  std::uint32_t GetStyle() const { return Style; }
  std::uint32_t GetExStyle() const { return ExStyle; }
  bool GetTransparent() const { return Transparent; }
  std::uint8_t GetWindowState() const { return WindowState; }
  bool IsTearingDown() const { return TearingDown; }
  void SetStyle(std::uint32_t s);
  void SetExStyle(std::uint32_t s);
  void SetSunkenBorder(bool b);
  void SetTransparent(bool t);  // enabling transparent painting lives with the event handlers
  void SetAlphaBlend(std::uint8_t a);
  void SetWindowState(std::uint8_t s);
  void SetAutoSize(bool on);
  void SetTextAlign(std::int32_t align);  // 0 left, 1 right, 2 centre
  void SetAlign(std::uint8_t align);
  void ApplyAutoSize();

  // --- Caption and colours
  void SetCaption(std::string_view s);
  std::string GetCaption() const;  // whole text, any length
  // The text kept for the window: what it is made with, and what GetCaption gives while there is none.
  const std::string& StoredCaption() const { return Caption; }
  void SetColor(std::int32_t c);
  std::int32_t GetColor() const { return Color; }
  void SetTextColor(std::int32_t c);
  std::int32_t GetTextColor() const { return TextColor; }
  void SetFont(TGraphicTool* font);  // copies the description of `font`
  TGraphicTool* GetFont();           // made on demand
  TGraphicTool* GetBrush();          // made on demand, parented to the parent's brush
  TCanvas* GetCanvas();              // made on demand, owned by the control
  void ApplyFont();                  // font colour to TextColor, WM_SETFONT, canvas dropped
  HBRUSH GetBackgroundBrush();

  // --- Geometry
  RECT GetBoundsRect();
  void SetBoundsRect(const RECT& r);
  std::int32_t GetLeft() { return GetBoundsRect().left; }
  std::int32_t GetTop() { return GetBoundsRect().top; }
  std::int32_t GetWidth();
  std::int32_t GetHeight();
  void SetLeft(std::int32_t v);
  void SetTop(std::int32_t v);
  void SetWidth(std::int32_t v);
  void SetHeight(std::int32_t v);
  void SetPosition(std::int32_t l, std::int32_t t);
  void SetSize(std::int32_t w, std::int32_t h);
  RECT GetClientRect() const;
  void SetClientSize(std::int32_t w, std::int32_t h);
  void Invalidate();

  // --- Focus, closing, tree
  void SetFocus();
  void Close();
  void SetParent(TControl* p);
  TControl* GetParent() const { return Parent; }
  TControl* ParentForm();  // the nearest form above (or the direct parent when there is none)
  void SetTabOrder(std::int32_t n);
  std::int32_t GetTabOrder() const { return TabOrder; }
  void SetCursor(HCURSOR c);
  HCURSOR GetCursor() const { return Cursor; }
  void LoadCursor(HINSTANCE instance, LPCSTR name);
  void SetIcon(HICON icon);  // the control owns `icon` from now on
  HICON GetIcon();           // made on demand: the program's icon, or a copy of it for a form
  TControl* ChildAt(std::int32_t index) const;
  std::int32_t ChildCount() const;

  // --- Handler chain
  void AttachHandler(TMessageHandler handler, bool keepAfterTermination);
  void DetachHandler(TMessageHandler handler);

  // --- Event setters (stored here; the paint, mouse, key, resize, show and hover setters also
  // attach the library's handlers)
  const TControlEvents& Events() const { return events_; }
  void SetOnMessage(TOnMessageEvent e) { events_.OnMessage = e; }
  void SetOnCloseQuery(TOnCloseQueryEvent e) { events_.OnCloseQuery = e; }
  void SetOnClick(TObjEvent e) { events_.OnClick = e; }
  void SetOnFocusGained(TObjEvent e) { events_.OnFocusGained = e; }
  void SetOnFocusLost(TObjEvent e) { events_.OnFocusLost = e; }
  void SetOnChange(TObjEvent e) { events_.OnChange = e; }
  // Further listeners of the change notification, told after OnChange in the order they were added:
  // whoever follows a control's text listens beside its owner, never in place of the owner's
  // handler. One listener per Data; removing it is its own listener's business.
  void AddChangeListener(TObjEvent e);
  void RemoveChangeListener(const void* data);
  void SetOnPaint(TOnPaintEvent e);
  void SetOnMouseDown(TOnMouseEvent e);
  void SetOnMouseUp(TOnMouseEvent e);
  void SetOnMouseMove(TOnMouseEvent e);
  void SetOnMouseDblClick(TOnMouseEvent e);
  void SetOnMouseWheel(TOnMouseEvent e);
  void SetOnKeyDown(TOnKeyEvent e);
  void SetOnKeyUp(TOnKeyEvent e);
  void SetOnChar(TOnCharEvent e);
  void SetOnResize(TObjEvent e);
  void SetOnShow(TObjEvent e);
  void SetOnHide(TObjEvent e);
  void SetOnMouseEnter(TObjEvent e);
  void SetOnMouseLeave(TObjEvent e);
  // Drops every event, OnDestroy included, so a departing owner is never called back; the
  // handlers the setters attached stay and find the events empty.
  void ClearEvents();

  // --- Line operations (edits; the others fall back as their command table says)
  void Clear();
  std::int32_t LineCount();
  std::int32_t LineStart(std::int32_t i);
  std::string GetLine(std::int32_t i);
  std::int32_t AddLine(std::string_view s);
  void SetLine(std::int32_t i, std::string_view s);
  void SetSelStart(std::int32_t n);
  void SetSelLength(std::int32_t n);

  // --- TCanvasHost
  HWND CanvasWindow() override;
  std::int32_t CanvasColor() override;
  std::int32_t CanvasTextColor() override;
  TGraphicTool* CanvasBrushTool() override;

 protected:
  ~TControl() override;

 private:
  // Registers "obj_" + BaseClassName once; false when the system refuses it.
  bool RegisterOwnClass(HINSTANCE instance, const std::wstring& className);
  // The window's style, place, size and parent as CreateWindowExW takes them.
  struct TCreateParams {
    DWORD Style = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND Parent = nullptr;
    bool Child = false;
  };
  TCreateParams CreateParams() const;
  // Makes the window and binds it to this object; false when the system made none.
  bool MakeWindow(const TCreateParams& params);
  // What a new window gets before its children: focus cues shown, its icon, the hooks and its font.
  void SetUpNewWindow(bool childWindow);
  // Construction sets these before there is a window; afterwards their setters are the one way
  // to change them, since a setter also applies the change to the window. The show handler
  // records what the system did.
  friend TControl* CreateControl(TControl* parent, std::string_view baseClassName);
  friend TControl* CreateAppWindow(std::string_view caption);
  friend TControl* CreateChildControl(TControl* parent, std::string_view baseClassName, std::uint32_t style,
                                      bool sunken);
  friend TControl* CreateFormWindow(TControl* parent, std::string_view caption);
  friend TControl* CreateEdit(TControl* parent, std::uint32_t options);
  friend TControl* CreateLabel(TControl* parent, std::string_view caption);
  friend TControl* CreateButton(TControl* parent, std::string_view caption);
  friend bool ShowHandler(TControl* self, TMessage& msg, LRESULT& result);

  // Called while being disabled: hands a focus held here on to the next control in the tab order.
  void MoveFocusOnward();
  // Character messages as CP1251 bytes; true when the message was refused or answered here.
  bool FilterTextInput(TMessage& msg, LRESULT& result);

  // --- Window styles
  std::uint32_t Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  std::uint32_t ExStyle = WS_EX_CONTROLPARENT;
  bool SunkenBorder = true;
  bool Transparent = false;
  std::uint8_t AlphaBlend = 255;
  // --- Tree and navigation
  TControl* Parent = nullptr;
  std::int32_t TabOrder = 0;
  // --- Geometry
  RECT BoundsRect = {0, 0, 0, 0};
  std::uint8_t WindowState = 0;
  bool AutoSize = false;
  std::uint8_t Align = 0;  // 0 none; used by automatic sizing and the align feature
  // --- Text, colours and cursor
  std::string Caption;
  std::int32_t Color = SystemColor(COLOR_BTNFACE);
  std::int32_t TextColor = SystemColor(COLOR_WINDOWTEXT);
  HCURSOR Cursor = nullptr;
  // --- Visibility
  bool Visible = true;
  bool Enabled = true;
  TControlEvents events_;
  std::vector<TObjEvent> changeListeners_;
  // --- Kept by the library alone
  std::string BaseClassName;
  std::uint32_t ClassStyle = CS_OWNDC;
  bool IsAppWindow = false;
  TList* Children = nullptr;  // of TControl*
  std::int32_t TabCounter = 0;
  std::int32_t SavedShowCommand = 0;
  bool PositionSet = false;  // left/top given explicitly
  bool SizeSet = false;      // width/height given explicitly
  bool ChildrenSunken = true;
  TGraphicTool* BrushTool = nullptr;
  TOwnedBrush BackgroundBrush;
  std::int32_t BackgroundBrushColor = 0;
  TOwnedIcon OwnIcon;        // given by SetIcon, or a copy of the application window's
  TSharedIcon ProgramIcon;   // the application window's icon from the resources
  bool Destroying = false;   // the system is destroying the window
  bool TearingDown = false;  // inside the destructor: no self-release, no reference taking
  TMessageHandler ChainDispatcher = IgnoreMessage;
  TControlProc OnCreateHook = nullptr;
  TCommandTable Commands;
  bool HasCommandTable = false;  // "EDIT", "STATIC" and "BUTTON" children

  void CreateChildWindows();
  void DropCanvas();
  HICON CurrentIcon() const;
  // Built-in message handling by family; each returns whether the after-message hook runs.
  bool BuiltInHandling(TMessage& msg, LRESULT& result);
  bool HandleSize(TMessage& msg, LRESULT& result);
  bool HandleShowWindow(TMessage& msg, LRESULT& result);
  bool HandleSetFocus(TMessage& msg, LRESULT& result);
  bool HandleSetCursor(TMessage& msg, LRESULT& result);
  bool HandleSelfRelease(TMessage& msg, LRESULT& result);
  bool HandleClose(TMessage& msg, LRESULT& result);
  bool HandleNcDestroy(TMessage& msg, LRESULT& result);
  bool ForwardCommand(TMessage& msg, LRESULT& result);
  bool HandleSysCommand(TMessage& msg, LRESULT& result);
  bool AnswerReflectedCommand(TMessage& msg, LRESULT& result);
  bool HandleReflectedCommand(TMessage& msg, LRESULT& result);
  // The change notification: OnChange, then the listeners.
  void TellChange();
  bool ReflectColor(TMessage& msg, LRESULT& result);
  bool AnswerReflectedColor(TMessage& msg, LRESULT& result);
  bool HandleKeyMessage(TMessage& msg, LRESULT& result);
};

// --- Construction: each returns a new control owned by the caller, who ends it with Free.
TControl* CreateControl(TControl* parent, std::string_view baseClassName);
TControl* CreateAppWindow(std::string_view caption);
TControl* CreateFormWindow(TControl* parent, std::string_view caption);
TControl* CreateChildControl(TControl* parent, std::string_view baseClassName, std::uint32_t style,
                             bool sunken);
TControl* CreateEdit(TControl* parent, std::uint32_t options);
TControl* CreateLabel(TControl* parent, std::string_view caption);
TControl* CreateButton(TControl* parent, std::string_view caption);
// A plain child window that paints itself (no standard class behind it).
TControl* CreatePaintBox(TControl* parent);
// LoadCursorW, with each of the system's own cursors (no instance, a numeric name) loaded only once.
HCURSOR LoadSharedCursor(HINSTANCE instance, LPCSTR name);

// IsMainWindow: the window whose closing ends the program.
bool IsMainWindow(const TControl* c);
// Whether CreateAppWindow ever ran in this process.
bool AppWindowWasCreated();

// The window procedure of every class the library registers.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The object that owns a window of the library, or null (a foreign window, or one already gone).
TControl* ControlOfWindow(HWND window);

// Handlers the library attaches in the constructors; they live with the other event handlers.
bool AppWindowHandler(TControl* self, TMessage& msg, LRESULT& result);
bool FormFocusHandler(TControl* self, TMessage& msg, LRESULT& result);
bool FormBackgroundHandler(TControl* self, TMessage& msg, LRESULT& result);

// --- Process-wide hooks (each does nothing by default)
extern TMessageHandler GlobalMessageHook;
extern TControlProc AfterCreateHook;
extern TControlProc AfterInvalidateHook;
extern TControlProc RealignHook;
extern TControl* CreatingControl;  // the object whose window is being created
