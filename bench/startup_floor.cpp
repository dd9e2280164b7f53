// The floor of the editor's start-up: a bare window program that makes the editor's 231 windows (the
// form, 216 LEDs and the 14 other designed controls) at the same places with the same kinds of
// window, paints the LEDs' dark bodies and ends on WM_CLOSE. The start-up bench starts it the way it
// starts the editor, so no start-up of the editor can be faster than this one.
#include <windows.h>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_layout.h"
#include "platform/startup_trace.h"
#include "platform/text_codec.h"

namespace {

constexpr const char* kLedClass = "FloorLed";
constexpr const wchar_t* kFormClass = L"FloorForm";

LRESULT CALLBACK LedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const COLORREF body = static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA));
  HBRUSH brush = CreateSolidBrush(body);
  HGDIOBJ old = SelectObject(dc, brush);
  Ellipse(dc, client.left, client.top, client.right, client.bottom);
  SelectObject(dc, old);
  DeleteObject(brush);
  EndPaint(window, &paint);
  StartupStamp("first LED paint");
  StartupStampNth("LED paints", e2e::kLedCount);
  return 0;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Texts in UTF-16, as the editor gives its own, so the bench finds the controls by them in any locale.
void Child(HWND form, const wchar_t* windowClass, const char* text, DWORD style, const e2e::TPlace& at) {
  HWND child = CreateWindowExW(0, windowClass, text != nullptr ? WideFromCp1251(text).c_str() : nullptr,
                               WS_CHILD | WS_VISIBLE | style, at.Left, at.Top, at.Width, at.Height, form,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

void RegisterClasses() {
  WNDCLASSA led{};
  led.lpfnWndProc = &LedProc;
  led.hInstance = GetModuleHandleA(nullptr);
  led.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  led.lpszClassName = kLedClass;
  RegisterClassA(&led);
  // A Unicode window, as the editor's: its caption is never taken through the ANSI code page.
  WNDCLASSW form{};
  form.lpfnWndProc = &FormProc;
  form.hInstance = led.hInstance;
  form.hCursor = led.hCursor;
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.lpszClassName = kFormClass;
  RegisterClassW(&form);
}

void MakeChildren(HWND form) {
  for (int n = 1; n <= e2e::kLedCount; ++n) {
    const e2e::TPlace at = e2e::LedPlace(n);
    HWND led = CreateWindowExA(0, kLedClass, nullptr, WS_CHILD | WS_VISIBLE, at.Left, at.Top, at.Width,
                               at.Height, form, nullptr, GetModuleHandleA(nullptr), nullptr);
    const COLORREF body =
        e2e::LedColumn(n) == 0 ? GetSysColor(e2e::kDarkSystemColorOfColumn0) : e2e::kDarkColor;
    SetWindowLongPtrA(led, GWLP_USERDATA, static_cast<LONG_PTR>(body));
  }
  for (const e2e::TPlace& at : e2e::kLayerLabelPlaces) Child(form, L"STATIC", "СЛОЙ", 0, at);
  Child(form, L"STATIC", "TESSARO", 0, e2e::kTitleLabelPlace);
  Child(form, L"STATIC", "СТРОКА ДАННЫХ ДЛЯ КАДРА", 0, e2e::kFrameLabelPlace);
  Child(form, L"STATIC", "ТЕКСТОВЫЙ РЕДАКТОР ДЛЯ ЭФФЕКТА", 0, e2e::kEffectLabelPlace);
  Child(form, L"STATIC", nullptr, SS_BLACKFRAME, e2e::kCubeImagePlace);
  Child(form, L"BUTTON", "СБРОС КАДРА", BS_PUSHBUTTON, e2e::kResetButtonPlace);
  Child(form, L"BUTTON", "СОХРАНЕНИЕ ЭФФЕКТА В ФАЙЛ", BS_PUSHBUTTON, e2e::kSaveButtonPlace);
  Child(form, L"EDIT", nullptr, ES_AUTOHSCROLL, e2e::kFrameEditPlace);
  Child(form, L"EDIT", nullptr, ES_MULTILINE | WS_VSCROLL, e2e::kEffectMemoPlace);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartupStamp("WinMain");
  RegisterClasses();
  // The caption in UTF-16, as the editor sets its own: the bench finds both by it in any locale.
  HWND form = CreateWindowExW(0, kFormClass, WideFromCp1251(e2e::EditorCaption()).c_str(),
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0,
                              0, e2e::kWindowWidth, e2e::kWindowHeight, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  StartupStamp("form window");
  MakeChildren(form);
  StartupStamp("designed elements");
  ShowWindow(form, SW_SHOW);
  StartupStamp("shown, delivery on");
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  StartupStamp("loop ended");
  StartupTraceWrite();
  return 0;
}
