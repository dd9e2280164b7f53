// ProgramDirectory over GetModuleFileNameW; a folder CP1251 cannot name is remembered in its real name.
#include "platform/program_dir.h"

#include <windows.h>

#include <vector>

#include "platform/wide_path.h"

std::string ProgramDirectory() {
  // 261 bytes hold any classic path; a longer one is read again into a larger buffer, because a
  // cut module path would name another directory.
  std::vector<wchar_t> path(261);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return DirectoryOfPath(GraphNameOfPath(TWideView(path.data(), length)));
    if (path.size() >= 65536) return {};  // longer than any path the system can hold
    path.resize(path.size() * 2);
  }
}
