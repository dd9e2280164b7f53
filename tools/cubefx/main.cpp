// The cubefx program: hands its words to cubefx::Run, as UTF-8 (on Windows read from the UTF-16
// command line, so a file may have any name). Must never let an exception or a stack trace
// reach the user: any fault becomes one line on stderr and a failure exit code.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "tools/cubefx/command_line.h"
#include "tools/cubefx/cubefx.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#ifdef _WIN32
namespace {

// The reports name files in UTF-8: a console shows them so while the program runs, and gets its
// own code page back afterwards. Output to a file or a pipe is bytes and needs nothing.
class TUtf8Console {
 public:
  TUtf8Console() {
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) {
      previous_ = GetConsoleOutputCP();
      if (previous_ != 0) SetConsoleOutputCP(CP_UTF8);
    }
  }
  ~TUtf8Console() {
    if (previous_ != 0) SetConsoleOutputCP(previous_);
  }
  TUtf8Console(const TUtf8Console&) = delete;
  TUtf8Console& operator=(const TUtf8Console&) = delete;

 private:
  UINT previous_ = 0;
};

}  // namespace
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Generated frames go out with their CR LF as they are, not with a CR added before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  const TUtf8Console console;
#endif
  try {
    const std::vector<std::string> args = cubefx::CommandLineWords(argc, argv);
    const int code = cubefx::Run(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
      std::cerr << "cubefx: the report could not be written to the standard output\n";
      return cubefx::kExitFailed;
    }
    return code;
  } catch (const std::bad_alloc&) {
    std::cerr << "cubefx: out of memory\n";
  } catch (const std::exception& fault) {
    std::cerr << "cubefx: " << fault.what() << '\n';
  }
  return cubefx::kExitFailed;
}
