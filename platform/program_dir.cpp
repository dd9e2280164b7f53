// ProgramDirectory over GetModuleFileNameA.
#include "platform/program_dir.h"

#include <windows.h>

#include <vector>

std::string ProgramDirectory() {
  // 261 bytes hold any classic path; a longer one is read again into a larger buffer, because a
  // cut module path would name another directory.
  std::vector<char> path(261);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return DirectoryOfPath(std::string_view(path.data(), length));
    if (path.size() >= 65536) return {};  // longer than any path the system can hold
    path.resize(path.size() * 2);
  }
}
