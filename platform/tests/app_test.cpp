// Start-up and shutdown as a whole: a program on the library starts, loops, and exits 0 when its
// main form is closed, whether another program closes it or it closes itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace {

std::string ChildPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  const std::size_t slash = p.find_last_of("\\/");
  return p.substr(0, slash + 1) + "app_child.exe";
}

struct Child {
  PROCESS_INFORMATION info{};
  bool Start(const std::string& arguments) {
    std::string command(1, '"');
    command.append(ChildPath()).append("\" ").append(arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info) != 0;
  }
  // Exit code, or STILL_ACTIVE when it did not end within the wait (then it is killed).
  DWORD Finish(DWORD waitMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, waitMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
    WaitForSingleObject(info.hProcess, 5000);
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
  }
};

// The window is created hidden and shown right after, so wait for it to become visible too.
HWND WaitForWindow(const char* caption, HANDLE process) {
  HWND found = nullptr;
  for (int i = 0; i < 600; ++i) {
    found = FindWindowW(nullptr, WideFromCp1251(caption).c_str());
    if (found != nullptr && IsWindowVisible(found)) return found;
    if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return nullptr;
  }
  return found;
}

TEST(StartUp, ProgramExitsZeroWhenItsMainFormIsClosedByAnotherProgram) {
  Child child;
  ASSERT_TRUE(child.Start("wait")) << ChildPath();
  HWND form = WaitForWindow("cube child form", child.info.hProcess);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsWindowVisible(form));
  // The application window ("App") owns the form.
  HWND owner = GetWindow(form, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(ClassOf(owner), "obj_App");
  EXPECT_EQ(ClassOf(form), "obj_Form");
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(child.Finish(30000), 0u);
}

TEST(StartUp, ProgramExitsZeroWhenItClosesItself) {
  Child child;
  ASSERT_TRUE(child.Start("close-self"));
  EXPECT_EQ(child.Finish(30000), 0u);
}

}  // namespace
