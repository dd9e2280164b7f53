// Runs the faulting child program, reads the message boxes it shows, presses OK on each and checks
// the report text and the exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

namespace {

struct ChildRun {
  std::vector<std::string> boxes;  // texts of the "Error" boxes, in the order shown
  DWORD exitCode = 0;
  bool exited = false;
};

std::string ChildPath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  dir.erase(dir.find_last_of("\\/") + 1);
  return dir + "runtime_error_child.exe";
}

struct BoxSearch {
  DWORD processId;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char caption[16] = {};
  if (pid == search->processId && IsWindowVisible(window) &&
      GetWindowTextA(window, caption, sizeof(caption)) > 0 && std::string(caption) == "Error") {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindText(HWND child, LPARAM param) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof(className));
  if (lstrcmpiA(className, "Static") != 0) return TRUE;
  char text[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                      &length);
  if (length == 0) return TRUE;  // the icon
  *reinterpret_cast<std::string*>(param) = std::string(text, length);
  return FALSE;
}

// Starts the child with one argument and answers each of its message boxes until it ends. The
// bound only keeps a broken child from hanging the suite.
ChildRun RunChild(const std::string& mode) {
  ChildRun run;
  std::string commandLine(1, '"');
  commandLine.append(ChildPath()).append("\" ").append(mode);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    ADD_FAILURE() << "cannot start " << commandLine;
    return run;
  }
  HWND answered = nullptr;
  for (int step = 0; step < 1200; ++step) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
      run.exited = true;
      break;
    }
    if (answered != nullptr && IsWindow(answered)) continue;  // OK pressed, box not gone yet
    BoxSearch search{process.dwProcessId};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.box == nullptr) continue;
    std::string text;
    EnumChildWindows(search.box, FindText, reinterpret_cast<LPARAM>(&text));
    run.boxes.push_back(text);
    answered = search.box;
    PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  if (!run.exited) TerminateProcess(process.hProcess, 1);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

// The report of a fault: the header, the address once more, at least one frame, the empty line.
void ExpectReport(const std::string& text, int error) {
  const std::string address = sizeof(void*) == 4 ? "[0-9A-F]{8}" : "(?:[0-9A-F]{8}|[0-9A-F]{16})";
  const std::regex shape("Runtime error " + std::to_string(error) + " at \\$(" + address +
                         ")\r\n  \\$\\1\r\n(?:  \\$" + address + "\r\n)+\r\n");
  EXPECT_TRUE(std::regex_match(text, shape)) << text;
}

// A fault whose report fits one box: the box names the error and the process exits with its number.
void ExpectOneBoxReport(const std::string& fault, int error) {
  const ChildRun run = RunChild(fault);
  ASSERT_TRUE(run.exited);
  ASSERT_EQ(run.boxes.size(), 1u);
  ExpectReport(run.boxes[0], error);
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(error));
}

TEST(RuntimeErrorReport, AccessViolationIsReportedAsError216) { ExpectOneBoxReport("access-violation", 216); }

TEST(RuntimeErrorReport, IntegerDivideByZeroIsReportedAsError200) {
  ExpectOneBoxReport("divide-by-zero", 200);
}

TEST(RuntimeErrorReport, UncaughtCxxExceptionIsReportedAsError217) {
  ExpectOneBoxReport("uncaught-exception", 217);
}

// Runaway recursion leaves more than 256 frames, so the report fills several full boxes.
TEST(RuntimeErrorReport, StackOverflowIsReportedAsError202InFullBoxesWith256Frames) {
  const ChildRun run = RunChild("stack-overflow");
  ASSERT_TRUE(run.exited);
  ASSERT_GE(run.boxes.size(), 2u);
  std::string joined;
  for (std::size_t i = 0; i < run.boxes.size(); ++i) {
    if (i + 1 < run.boxes.size()) {
      EXPECT_EQ(run.boxes[i].size(), 1024u) << "box " << i;
    }
    joined += run.boxes[i];
  }
  ExpectReport(joined, 202);
  std::size_t lines = 0;
  for (std::size_t at = joined.find("\r\n"); at != std::string::npos; at = joined.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 2u + 256u + 1u);
  EXPECT_EQ(run.exitCode, 202u);
}

TEST(RuntimeErrorReport, PendingErrorTextIsShownAtANormalExit) {
  const ChildRun run = RunChild("pending-text");
  ASSERT_TRUE(run.exited);
  EXPECT_EQ(run.boxes, (std::vector<std::string>{"pending at exit\r\n"}));
  EXPECT_EQ(run.exitCode, 0u);
}

TEST(RuntimeErrorReport, AProgramThatDoesNotFailShowsNothing) {
  const ChildRun run = RunChild("none");
  ASSERT_TRUE(run.exited);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.exitCode, 0u);
}

}  // namespace
