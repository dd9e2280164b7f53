// The cubefx program: hands its words to cubefx::Run. Must never let an exception or a stack trace
// reach the user: any fault becomes one line on stderr and a failure exit code.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "tools/cubefx/cubefx.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Generated frames go out with their CR LF as they are, not with a CR added before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
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
