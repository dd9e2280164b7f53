// The window-free half of the open/save file dialog: the library's option bits and their system
// flags, the "|"-separated filter turned into the system's NUL-separated list, the file name
// buffer handed to the system and the chosen name read back from it.
// Must never include a window-system header, so it can be tested anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

// Bits of TOpenSaveDialog::Options.
namespace TOpenSaveOptions {
inline constexpr std::uint32_t CreatePrompt = 1u << 0;
inline constexpr std::uint32_t ExtensionDifferent = 1u << 1;
inline constexpr std::uint32_t FileMustExist = 1u << 2;
inline constexpr std::uint32_t HideReadOnly = 1u << 3;
inline constexpr std::uint32_t NoChangeDir = 1u << 4;
inline constexpr std::uint32_t NoDereferenceLinks = 1u << 5;
inline constexpr std::uint32_t AllowMultiSelect = 1u << 6;
inline constexpr std::uint32_t NoNetworkButton = 1u << 7;
inline constexpr std::uint32_t NoReadOnlyReturn = 1u << 8;
inline constexpr std::uint32_t OverwritePrompt = 1u << 9;
inline constexpr std::uint32_t PathMustExist = 1u << 10;
inline constexpr std::uint32_t ReadOnly = 1u << 11;
inline constexpr std::uint32_t NoValidate = 1u << 12;
inline constexpr std::uint32_t EnableTemplate = 1u << 13;
inline constexpr std::uint32_t EnableHook = 1u << 14;
inline constexpr std::uint32_t Default = FileMustExist | HideReadOnly | OverwritePrompt | PathMustExist;
}  // namespace TOpenSaveOptions

// The system flags (OFN_...) of a set of option bits; bits without a flag are ignored.
std::uint32_t MapDialogOptions(std::uint32_t options);

// The filter as the system reads it: every "|" becomes NUL and the list ends with two NULs
// ("All|*.TXT*" gives "All", NUL, "*.TXT*", NUL, NUL). An empty filter gives an empty result,
// which means "no filter" (a null pointer is passed).
std::string SystemFilterText(std::string_view filter);

// Room the system may use for the chosen name(s), without the caller's initial name.
inline constexpr std::size_t kSingleFileBufferSize = 262;
inline constexpr std::size_t kMultiFileBufferSize = 65521;

// The zero-filled buffer that carries the initial name in and the chosen name(s) out. It holds the
// whole initial name and at least one NUL after it: a name as long as the standard room, or longer,
// makes the buffer larger instead of being cut, so the system never sees a shortened path.
std::vector<char> MakeFileBuffer(std::string_view initialName, bool multiSelect);

// The chosen name(s) read from a buffer the system filled. Single selection: up to the first NUL.
// Multiple selection: up to the first double NUL, each NUL before it replaced by CR (the directory,
// then each file name; a single selection gives the full path alone). Never reads past `size`.
std::string FileNameFromBuffer(const char* buffer, std::size_t size, bool multiSelect);
// The same in UTF-16, as the dialog takes and gives names: a chosen name is never narrowed.
std::vector<TWideChar> MakeWideFileBuffer(TWideView initialName, bool multiSelect);
TWideString FileNameFromWideBuffer(const TWideChar* buffer, std::size_t size, bool multiSelect);
