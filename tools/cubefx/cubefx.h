// cubefx: the effect file on the command line (check, normalize, info, transform, export), over the cube's
// core. The whole tool is this one function, so tests run it as the program would; it must never
// exit the process, write to the console itself or leave a partly written file behind.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cubefx {

// Exit codes: every command gives 0 on success and 2 when it could not do its work (a file that
// cannot be read or is refused, a bad option); check gives 1 when some lines are not frames.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFrames = 1;
inline constexpr int kExitFailed = 2;

// `args` are the words after the program's name. Reports go to `out`, errors to `err`, one line each.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cubefx
