// TControl's line operations for edit-type controls (count, line start, read, append, replace,
// selection), through the messages of the control's command table.
// Must never cut user text: every read returns the whole line or text, whatever its length.
#include <string>

#include "platform/control.h"
#include "platform/text_codec.h"

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return window != nullptr && message != 0 ? SendMessageW(window, message, wParam, lParam) : 0;
}

}  // namespace

void TControl::Clear() {
  if (Commands.ClearProc != nullptr)
    Commands.ClearProc(this);
  else
    SetCaption({});
}

std::int32_t TControl::LineCount() {
  if (Commands.LineCountMsg == 0) return 0;
  return static_cast<std::int32_t>(Send(Handle, Commands.LineCountMsg, 0, 0));
}

std::int32_t TControl::LineStart(std::int32_t i) {
  if (Commands.LineIndexMsg == 0) return i;
  const auto start =
      static_cast<std::int32_t>(Send(Handle, Commands.LineIndexMsg, static_cast<WPARAM>(i), 0));
  return start < 0 ? 0 : start;
}

std::string TControl::GetLine(std::int32_t i) {
  if (Handle == nullptr || Commands.GetLineMsg == 0 || Commands.LineLengthMsg == 0) return {};
  const std::int32_t start = LineStart(i);
  const auto line =
      static_cast<std::int32_t>(Send(Handle, Commands.LineFromCharMsg, static_cast<WPARAM>(start), 0));
  const auto length =
      static_cast<std::int32_t>(Send(Handle, Commands.LineLengthMsg, static_cast<WPARAM>(start), 0));
  if (length <= 0) return {};
  // The get-line message takes its buffer size in a 16-bit word: a longer line is read from the
  // whole text instead, so it comes back whole.
  if (length + 1 > 0xFFFF) {
    const std::string text = GetCaption();
    if (static_cast<std::size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
  }
  // The first unit of the buffer carries its size in characters.
  std::wstring buffer(static_cast<std::size_t>(length) + 2, L'\0');
  buffer[0] = static_cast<wchar_t>(length + 1);
  const auto copied = static_cast<std::int32_t>(
      Send(Handle, Commands.GetLineMsg, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data())));
  buffer.resize(static_cast<std::size_t>(copied > 0 && copied < length ? copied : length));
  return Cp1251FromWide(buffer);
}

std::int32_t TControl::AddLine(std::string_view s) {
  std::string text = GetCaption();
  text.append(s);
  SetCaption(text);
  return LineCount() - 1;
}

void TControl::SetLine(std::int32_t i, std::string_view s) {
  if (Commands.ReplaceSelMsg == 0 || Handle == nullptr) return;
  const std::int32_t start = LineStart(i);
  const std::int32_t next = LineStart(i + 1);
  SetSelStart(start);
  SetSelLength(next - start);
  const std::wstring replacement = WideFromCp1251(s);
  Send(Handle, Commands.ReplaceSelMsg, 0, reinterpret_cast<LPARAM>(replacement.c_str()));
}

void TControl::SetSelStart(std::int32_t n) {
  Send(Handle, Commands.SetSelMsg, static_cast<WPARAM>(n), static_cast<LPARAM>(n));
}

void TControl::SetSelLength(std::int32_t n) {
  // The selection start comes back whole through the out parameter; the packed return value
  // holds only its low 16 bits, which would misplace the selection in a text past 65535 bytes.
  DWORD start = 0;
  DWORD end = 0;
  Send(Handle, Commands.GetSelMsg, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto first = static_cast<std::int32_t>(start);
  Send(Handle, Commands.SetSelMsg, static_cast<WPARAM>(first), n < 0 ? -1 : static_cast<LPARAM>(first + n));
}
