// The outside driver of the editor's save (see editor_save_driver.h).
#include "app/tests/e2e/editor_save_driver.h"

#include <algorithm>

#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace e2e {

namespace {

constexpr DWORD kPollMs = 5;
constexpr DWORD kMessageTimeoutMs = 5000;

struct TTopSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TTopSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
  return children;
}

bool IsDialogClass(HWND window) { return ClassOf(window) == "#32770"; }

}  // namespace

std::vector<HWND> TSaveDriver::TopWindows() const {
  TTopSearch search{editor_.ProcessId(), {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TSaveDriver::FindDialog() const {
  for (HWND window : TopWindows()) {
    if (IsDialogClass(window) && DialogTitle(window) == "Open Dialog" && NameEdit(window) != nullptr)
      return window;
  }
  return nullptr;
}

HWND TSaveDriver::NameEdit(HWND dialog) const {
  // The explorer-style dialog keeps the name in an edit inside combo box cmb13; older ones in edt1.
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {
    if (ClassOf(combo) == "Edit") return combo;
    if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) return edit;
  }
  if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
  for (HWND child : ChildrenOf(dialog))
    if (ClassOf(child) == "Edit" && IsWindowVisible(child)) return child;
  return nullptr;
}

std::string TSaveDriver::DialogTitle(HWND dialog) const {
  wchar_t title[256] = {};
  GetWindowTextW(dialog, title, 256);
  return Cp1251FromWide(title);
}

std::string TSaveDriver::DialogFileName(HWND dialog) const { return editor_.TextOf(NameEdit(dialog)); }

bool TSaveDriver::TypeFileName(HWND dialog, const std::string& name) const {
  HWND edit = NameEdit(dialog);
  DWORD_PTR result = 0;
  return edit != nullptr &&
         SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromCp1251(name).c_str()),
                             SMTO_NORMAL, kMessageTimeoutMs, &result) != 0;
}

bool TSaveDriver::TypeFileNameW(HWND dialog, const std::wstring& name) const {
  HWND edit = NameEdit(dialog);
  DWORD_PTR result = 0;
  return edit != nullptr && SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                                                SMTO_NORMAL, kMessageTimeoutMs, &result) != 0;
}

bool TSaveDriver::Press(HWND window, int id) const {
  return window != nullptr && PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                           reinterpret_cast<LPARAM>(GetDlgItem(window, id))) != 0;
}

HWND TSaveDriver::OpenDialog(DWORD timeoutMs) {
  if (FindDialog() != nullptr) return nullptr;  // one still open from before: not ours to drive
  RECT client{};
  HWND button = editor_.SaveButton();
  if (button == nullptr || !GetClientRect(button, &client)) return nullptr;
  // The button's click starts a modal loop; ClickButton's own sync is answered inside it.
  if (!editor_.ClickAt(button, client.right / 2, client.bottom / 2)) return nullptr;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    if (HWND dialog = FindDialog()) {
      if (editor_.Sync() && !DialogFileName(dialog).empty()) return dialog;
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

TDialogOutcome TSaveDriver::PressOkAndWait(HWND dialog, DWORD timeoutMs) {
  TDialogOutcome outcome;
  if (!Press(dialog, IDOK)) return outcome;
  const DWORD start = GetTickCount();
  int stillOpen = 0;
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    // Once the program answers, the posted command has been handled: the save has run, or a box
    // is up with its own loop answering.
    editor_.Sync();
    if (std::optional<TMessageBoxSeen> box = FindMessageBox(dialog)) {
      outcome.Box = box;
      outcome.Closed = !IsWindow(dialog) || !IsWindowVisible(dialog);
      return outcome;
    }
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
      // A large effect may keep the program busy for a while after the dialog closes: the whole
      // bound is given to the answer, not the usual round trip's.
      const DWORD spent = GetTickCount() - start;
      if (!editor_.Sync(timeoutMs > spent ? timeoutMs - spent : 1)) return outcome;
      outcome.Closed = true;
      outcome.Box = FindMessageBox(dialog);
      return outcome;
    }
    // Kept open (it went into a folder, say): decided after a few answered rounds.
    if (++stillOpen == 20) return outcome;
    Sleep(kPollMs);
  }
  return outcome;
}

bool TSaveDriver::CancelAndWait(HWND dialog, DWORD timeoutMs) {
  if (!Press(dialog, IDCANCEL)) return false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return editor_.Sync();
    Sleep(kPollMs);
  }
  return false;
}

std::optional<TMessageBoxSeen> TSaveDriver::FindMessageBox(HWND except) const {
  for (HWND window : TopWindows()) {
    if (window == except || !IsDialogClass(window) || window == FindDialog()) continue;
    TMessageBoxSeen box;
    box.Window = window;
    box.Owner = GetWindow(window, GW_OWNER);
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    box.Caption = Cp1251FromWide(caption);
    for (HWND child : ChildrenOf(window)) {
      if (ClassOf(child) != "Static") continue;
      const std::string text = editor_.TextOf(child);
      if (text.size() > box.Text.size()) box.Text = text;
    }
    return box;
  }
  return std::nullopt;
}

bool TSaveDriver::DismissAndWait(const TMessageBoxSeen& box, DWORD timeoutMs) {
  if (!Press(box.Window, IDOK)) return false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs && editor_.Running()) {
    if (!IsWindow(box.Window) || !IsWindowVisible(box.Window)) return editor_.Sync();
    Sleep(kPollMs);
  }
  return false;
}

bool TSaveDriver::SetLongText(HWND window, const std::string& text, DWORD timeoutMs) const {
  DWORD_PTR result = 0;
  return window != nullptr &&
         SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromCp1251(text).c_str()),
                             SMTO_NORMAL, timeoutMs, &result) != 0;
}

std::string TSaveDriver::LongTextOf(HWND window, DWORD timeoutMs) const {
  DWORD_PTR length = 0;
  if (window == nullptr ||
      !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length))
    return {};
  std::wstring text(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, timeoutMs, &copied))
    return {};
  text.resize(std::min<std::size_t>(copied, text.size()));
  return Cp1251FromWide(text);
}

bool TSaveDriver::WaitMemoText(const std::string& expected, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    if (editor_.MemoText() == expected) return true;
    Sleep(kPollMs);
  } while (GetTickCount() - start < timeoutMs && editor_.Running());
  return editor_.MemoText() == expected;
}

bool TSaveDriver::PassFirstTick(DWORD timeoutMs) const {
  if (!editor_.SetTextOf(editor_.EffectMemo(), "before the first tick")) return false;
  // A mark that stays was set after the tick: it is due one second after construction, which had
  // ended before the window could be found, so by the end of this wait it has come either way.
  if (WaitMemoText("", timeoutMs)) return true;
  return editor_.SetTextOf(editor_.EffectMemo(), "") && editor_.Sync() && editor_.MemoText().empty();
}

bool TSaveDriver::PressEnterOn(const TMessageBoxSeen& box, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetForegroundWindow() != box.Window) {
    if (GetTickCount() - start >= timeoutMs || !IsWindow(box.Window)) return false;
    SetForegroundWindow(box.Window);
    Sleep(kPollMs);
  }
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_RETURN;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  if (SendInput(2, keys, sizeof(INPUT)) != 2) return false;
  while (IsWindow(box.Window) && IsWindowVisible(box.Window)) {
    if (GetTickCount() - start >= timeoutMs || !editor_.Running()) return false;
    Sleep(kPollMs);
  }
  return editor_.Sync();
}

namespace {
constexpr const char* kEditorSettings = "Software\\TESSARO";
constexpr const char* kFolderValue = "EffectFolder";
}  // namespace

void ForgetRememberedFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kEditorSettings, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kFolderValue);
  RegCloseKey(key);
}

std::string RememberedFolder() {
  char folder[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kEditorSettings, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  const bool ok = RegQueryValueExA(key, kFolderValue, nullptr, nullptr, reinterpret_cast<BYTE*>(folder),
                                   &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok ? std::string(folder) : std::string();
}

// The real name of a CP1251 name: a '?' (which no file name holds) stands for a character CP1251
// lacks, and matches it as the one-character wildcard of FindFirstFile.
std::wstring RealName(const std::string& path) {
  std::wstring wide = WideFromCp1251(path);
  if (path.find('?') == std::string::npos) return wide;
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(wide.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return wide;
  FindClose(find);
  return wide.substr(0, wide.find_last_of(L'\\') + 1) + entry.cFileName;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileW(RealName(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && ok;
}

std::vector<std::string> DirectoryEntries(const std::string& dir) {
  std::vector<std::string> names;
  // Names in CP1251 whatever the locale, a character CP1251 lacks as '?'.
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW(WideFromCp1251(dir + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Cp1251FromWide(entry.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace e2e
