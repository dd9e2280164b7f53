// The window-free half of the open/save file dialog (see file_dialog_text.h).
#include "platform/file_dialog_text.h"

#include <algorithm>
#include <array>

namespace {

// System flag of each option bit, in bit order.
constexpr std::array<std::uint32_t, 15> kOptionFlags = {
    0x2000,    // CreatePrompt
    0x400,     // ExtensionDifferent
    0x1000,    // FileMustExist
    0x4,       // HideReadOnly
    0x8,       // NoChangeDir
    0x100000,  // NoDereferenceLinks
    0x200,     // AllowMultiSelect
    0x20000,   // NoNetworkButton
    0x8000,    // NoReadOnlyReturn
    0x2,       // OverwritePrompt
    0x800,     // PathMustExist
    0x1,       // ReadOnly
    0x100,     // NoValidate
    0x40,      // EnableTemplate
    0x20,      // EnableHook
};

}  // namespace

std::uint32_t MapDialogOptions(std::uint32_t options) {
  std::uint32_t flags = 0;
  for (std::size_t bit = 0; bit < kOptionFlags.size(); ++bit) {
    if ((options & (1u << bit)) != 0) flags |= kOptionFlags[bit];
  }
  return flags;
}

std::string SystemFilterText(std::string_view filter) {
  if (filter.empty()) return {};
  std::string list(filter);
  std::replace(list.begin(), list.end(), '|', '\0');
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

namespace {

template <typename Char>
std::vector<Char> MakeBuffer(std::basic_string_view<Char> initialName, bool multiSelect) {
  const std::size_t room = multiSelect ? kMultiFileBufferSize : kSingleFileBufferSize;
  std::vector<Char> buffer(std::max(room, initialName.size() + 1), Char{});
  std::copy(initialName.begin(), initialName.end(), buffer.begin());
  return buffer;
}

template <typename Char>
std::basic_string<Char> NamesFromBuffer(const Char* buffer, std::size_t size, bool multiSelect) {
  const std::basic_string_view<Char> all(buffer, size);
  const std::basic_string_view<Char> first = all.substr(0, all.find(Char{}));
  if (!multiSelect || first.empty()) return std::basic_string<Char>(first);
  const Char pair[2] = {};
  std::basic_string<Char> names(all.substr(0, all.find(std::basic_string_view<Char>(pair, 2))));
  // A list that ends right at the buffer's end leaves one NUL of its closing pair inside.
  if (!names.empty() && names.back() == Char{}) names.pop_back();
  std::replace(names.begin(), names.end(), Char{}, Char{'\r'});
  return names;
}

}  // namespace

std::vector<char> MakeFileBuffer(std::string_view initialName, bool multiSelect) {
  return MakeBuffer(initialName, multiSelect);
}

std::vector<TWideChar> MakeWideFileBuffer(TWideView initialName, bool multiSelect) {
  return MakeBuffer(initialName, multiSelect);
}

std::string FileNameFromBuffer(const char* buffer, std::size_t size, bool multiSelect) {
  return NamesFromBuffer(buffer, size, multiSelect);
}

TWideString FileNameFromWideBuffer(const TWideChar* buffer, std::size_t size, bool multiSelect) {
  return NamesFromBuffer(buffer, size, multiSelect);
}
