// Saving a string list: the exact file bytes, truncation, and the ways a save must fail without
// leaving a partial or stray file behind; reading a whole file back within a size limit. Each test
// works in a directory of its own.
#include "platform/file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/strlist.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool IsEmptyDirectory(const fs::path& path) { return fs::is_directory(path) && fs::is_empty(path); }

// The names in a folder, sorted: a save must leave no temporary file beside its target.
std::vector<std::string> NamesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
using Names = std::vector<std::string>;

// Older content longer than anything saved over it, so stale bytes after new ones would show.
const std::string kOldEffect = [] {
  std::string text;
  // Appended piece by piece: i686 GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + string chain.
  for (int frame = 0; frame < 40; ++frame)
    text.append("0,7,14,21,").append(std::to_string(frame)).append(",227\r\n");
  return text;
}();

class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    dir_ = fs::temp_directory_path() /
           ("cube-strlist-" + std::to_string(process) + "-" + std::to_string(counter++));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string PathOf(std::string_view name) const { return (dir_ / fs::path(std::string(name))).string(); }

  fs::path dir_;
};

class SaveToFileTest : public FolderTest {
 protected:
  void SetUp() override {
    FolderTest::SetUp();
    list_ = TStrList::Create();
  }
  void TearDown() override {
    list_->Free();
    FolderTest::TearDown();
  }

  TStrList* list_ = nullptr;
};

using ReadWholeFileTest = FolderTest;

TEST_F(SaveToFileTest, WritesEveryLineFollowedByCrLfAndNothingElse) {
  list_->SetText("1,2\r3\n4\r\n\xD1\xCB\xCE\xC9", false);
  const std::string path = PathOf("effect.txt");
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "1,2\r\n3\n4\r\n\xD1\xCB\xCE\xC9\r\n"sv);
}

TEST_F(SaveToFileTest, SaveTruncatesALongerFile) {
  const std::string path = PathOf("ZOZIVU.TXT");
  WriteBytes(path, std::string(100, 'z'));
  list_->Add("1,2");
  list_->Add("3");
  ASSERT_TRUE(list_->SaveToFile(path.c_str()));
  EXPECT_EQ(ReadBytes(path), "\x31\x2C\x32\x0D\x0A\x33\x0D\x0A"sv);
}

TEST_F(SaveToFileTest, SaveOverAShorterFileReplacesIt) {
  const std::string path = PathOf("short.txt");
  WriteBytes(path, "ab");
  list_->Add("227");
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "227\r\n");
}

TEST_F(SaveToFileTest, EmptyListTruncatesAnExistingFileToZeroBytes) {
  const std::string path = PathOf("old.txt");
  WriteBytes(path, "old content\r\n");
  ASSERT_TRUE(list_->SaveToFile(path));
  ASSERT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(SaveToFileTest, EmptyListCreatesAnEmptyFile) {
  const std::string path = PathOf("new.txt");
  ASSERT_TRUE(list_->SaveToFile(path));
  ASSERT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(SaveToFileTest, EachSaveReplacesTheWholeFileAndLeavesNothingElseInTheFolder) {
  const std::string path = PathOf("effect.txt");
  WriteBytes(path, kOldEffect);
  list_->Add("5,227");
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "5,227\r\n");
  list_->Clear();
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "");
  list_->SetText(kOldEffect + kOldEffect, false);
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), kOldEffect + kOldEffect);
  EXPECT_EQ(NamesIn(dir_), Names{"effect.txt"});
}

TEST_F(SaveToFileTest, ALargeTextReachesTheFileWhole) {
  std::string text;
  for (int i = 0; i < 50000; ++i) text += std::to_string(i % 216) + ",17,99,227\r\n";
  list_->SetText(text, false);
  const std::string path = PathOf("large.txt");
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), text);
}

TEST_F(SaveToFileTest, MissingDirectoryFailsAndCreatesNothing) {
  list_->Add("1,2");
  const fs::path missing = dir_ / "missing";
  EXPECT_FALSE(list_->SaveToFile((missing / "effect.txt").string()));
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_TRUE(IsEmptyDirectory(dir_));
}

TEST_F(SaveToFileTest, ANameThatIsAnExistingDirectoryFails) {
  const fs::path sub = dir_ / "sub";
  fs::create_directory(sub);
  list_->Add("1,2");
  EXPECT_FALSE(list_->SaveToFile(sub.string()));
  EXPECT_FALSE(list_->SaveToFile(sub.string() + "/"));
  EXPECT_TRUE(IsEmptyDirectory(sub));
  EXPECT_EQ(NamesIn(dir_), Names{"sub"});
}

TEST_F(SaveToFileTest, NullOrEmptyNameFails) {
  list_->Add("1,2");
  EXPECT_FALSE(list_->SaveToFile(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(list_->SaveToFile(""));
  EXPECT_FALSE(list_->SaveToFile(std::string_view()));
  EXPECT_FALSE(WriteWholeFile("", "bytes"));
}

TEST_F(SaveToFileTest, ANameWithANulByteFailsInsteadOfWritingAShorterName) {
  list_->Add("1,2");
  const std::string name = PathOf("a") + std::string("\0b.txt", 6);
  EXPECT_FALSE(list_->SaveToFile(std::string_view(name)));
  EXPECT_TRUE(IsEmptyDirectory(dir_));
}

#ifdef _WIN32

TEST_F(SaveToFileTest, ANameWithForbiddenCharactersFails) {
  list_->Add("1,2");
  EXPECT_FALSE(list_->SaveToFile(PathOf("a<b.txt")));
  EXPECT_FALSE(list_->SaveToFile(PathOf("a|b.txt")));
  EXPECT_TRUE(IsEmptyDirectory(dir_));
}

// A handle to `path` owned by another process: a suspended copy of this test program that never
// runs, so the handle lives exactly as long as this object.
class HeldByAnotherProcess {
 public:
  HeldByAnotherProcess(const std::string& path, DWORD share) {
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = "\"" + std::string(program) + "\" --gtest_list_tests";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process_)) {
      return;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE remote = nullptr;
    held_ = file != INVALID_HANDLE_VALUE &&
            DuplicateHandle(GetCurrentProcess(), file, process_.hProcess, &remote, 0, FALSE,
                            DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE);
  }
  ~HeldByAnotherProcess() {
    if (process_.hProcess == nullptr) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, INFINITE);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool held() const { return held_; }

 private:
  PROCESS_INFORMATION process_{};
  bool held_ = false;
};

// A full path just under MAX_PATH is saved even where the temporary file beside it goes past the
// limit: the long-path form lifts it (on POSIX there never was one).
TEST_F(SaveToFileTest, AFullPathJustUnderMaxPathIsSavedEvenWhereTheTemporaryNameGoesPastIt) {
  list_->Add("1,2");
  const std::size_t room = MAX_PATH - 1 - dir_.string().size() - 1;
  const std::string longName = std::string(room - 4, 'F') + ".txt";
  ASSERT_EQ(PathOf(longName).size(), std::size_t{MAX_PATH - 1});
  ASSERT_TRUE(list_->SaveToFile(PathOf(longName)));
  EXPECT_EQ(ReadBytes(PathOf(longName)), "1,2\r\n");
  EXPECT_EQ(NamesIn(dir_), Names{longName});

  // A short name deep down: the temporary name beside it takes the full path past MAX_PATH.
  const fs::path deep = dir_ / std::string(room - 6, 'd');
  const std::string path = (deep / "e.txt").string();
  ASSERT_EQ(path.size(), std::size_t{MAX_PATH - 1});
  std::error_code error;
  fs::create_directory(deep, error);
  WriteBytes(path, kOldEffect);
  if (error || ReadBytes(path) != kOldEffect) GTEST_SKIP() << "this system cannot make the deep folder";
  EXPECT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "1,2\r\n");
  EXPECT_EQ(NamesIn(deep), Names{"e.txt"});
}

// A holder that lets others delete the file may or may not block the rename (Windows versions
// differ); either way the file is whole, old or new, and no temporary file is left.
TEST_F(SaveToFileTest, AFileHeldOpenWithoutSharingFailsAndKeepsItsContent) {
  const std::string path = PathOf("held.txt");
  WriteBytes(path, kOldEffect);
  list_->Add("1,2");
  {
    HANDLE holder =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(list_->SaveToFile(path));
    CloseHandle(holder);
  }
  for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
    HeldByAnotherProcess holder(path, share);
    ASSERT_TRUE(holder.held());
    EXPECT_FALSE(list_->SaveToFile(path)) << "share " << share;
  }
  EXPECT_EQ(ReadBytes(path), kOldEffect);
  EXPECT_EQ(NamesIn(dir_), Names{"held.txt"});

  bool saved = false;
  {
    HeldByAnotherProcess holder(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(holder.held());
    saved = list_->SaveToFile(path);
  }
  EXPECT_EQ(ReadBytes(path), saved ? "1,2\r\n" : kOldEffect);
  EXPECT_EQ(NamesIn(dir_), Names{"held.txt"});
}

// Read-only refuses the save as an in-place write would; hidden and system are kept by the new file.
TEST_F(SaveToFileTest, AReadOnlyFileIsKeptAndAHiddenOneStaysHidden) {
  const std::string readOnly = PathOf("read-only.txt");
  const std::string hidden = PathOf("hidden.txt");
  WriteBytes(readOnly, kOldEffect);
  WriteBytes(hidden, kOldEffect);
  ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  list_->Add("1,2");

  EXPECT_FALSE(list_->SaveToFile(readOnly));
  EXPECT_EQ(ReadBytes(readOnly), kOldEffect);
  EXPECT_TRUE(GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);

  EXPECT_TRUE(list_->SaveToFile(hidden));
  EXPECT_EQ(ReadBytes(hidden), "1,2\r\n");
  const DWORD attributes = GetFileAttributesA(hidden.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);

  EXPECT_EQ(NamesIn(dir_), (Names{"hidden.txt", "read-only.txt"}));
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

#else

// Writes beyond a small file-size limit fail (EFBIG) after a short first write: a real write
// failure in the middle of a save.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedSignal_);
  }
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  void (*savedSignal_)(int) = SIG_DFL;
  bool active_ = false;
};

TEST_F(SaveToFileTest, AFailedWriteToANewFileFailsAndLeavesNoFile) {
  list_->SetText(std::string(100, '7'), false);
  const std::string path = PathOf("new.txt");
  bool saved = true;
  {
    FileSizeLimit limit(10);
    if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit here";
    saved = list_->SaveToFile(path);
  }
  EXPECT_FALSE(saved);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(IsEmptyDirectory(dir_));
}

// The write fails after some new bytes went out; the older, longer file must not be touched at all.
TEST_F(SaveToFileTest, AFailedWriteToAnExistingFileFailsAndKeepsTheFile) {
  const std::string path = PathOf("old.txt");
  WriteBytes(path, kOldEffect);
  list_->SetText(std::string(100, '7'), false);
  bool saved = true;
  {
    FileSizeLimit limit(10);
    if (!limit.active()) GTEST_SKIP() << "cannot lower the file size limit here";
    saved = list_->SaveToFile(path);
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadBytes(path), kOldEffect);
  EXPECT_EQ(NamesIn(dir_), Names{"old.txt"});
}

// The temporary name does not grow with the target's: a name at the file system's length limit saves.
TEST_F(SaveToFileTest, ANameOfTheLongestLengthIsSaved) {
  const std::string longName(255, 'e');
  const std::string path = PathOf(longName);
  WriteBytes(path, kOldEffect);
  ASSERT_EQ(ReadBytes(path), kOldEffect) << "this file system cannot hold the long name itself";
  list_->Add("1,2");
  EXPECT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "1,2\r\n");
  EXPECT_EQ(NamesIn(dir_), Names{longName});
}

TEST_F(SaveToFileTest, AReplacedFileKeepsItsPermissions) {
  const std::string path = PathOf("effect.txt");
  WriteBytes(path, kOldEffect);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  list_->Add("1,2");
  ASSERT_TRUE(list_->SaveToFile(path));
  EXPECT_EQ(ReadBytes(path), "1,2\r\n");
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A FIFO is not a file to replace with a plain one (and opening it for writing would block).
TEST_F(SaveToFileTest, AFifoIsNotReplaced) {
  const std::string path = PathOf("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  list_->Add("1,2");
  EXPECT_FALSE(list_->SaveToFile(path));
  EXPECT_TRUE(fs::is_fifo(path));
  EXPECT_EQ(NamesIn(dir_), Names{"pipe"});
}

#endif

// Every byte value comes back as stored, no line-end or code-page conversion.
const std::string kEveryByte = [] {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "\r\n\n\r\xD1\xCB\xCE\xC9";
}();

TEST_F(ReadWholeFileTest, AFileOfExactlyTheLimitIsReadAndOneByteMoreIsTooLarge) {
  const std::string path = PathOf("effect.txt");
  WriteBytes(path, kEveryByte);
  std::string bytes = "previous";
  EXPECT_EQ(ReadWholeFile(path, kEveryByte.size(), bytes), TReadResult::Ok);
  EXPECT_EQ(bytes, kEveryByte);

  bytes = "previous";
  EXPECT_EQ(ReadWholeFile(path, kEveryByte.size() - 1, bytes), TReadResult::TooLarge);
  EXPECT_EQ(bytes, "previous");
  EXPECT_EQ(ReadWholeFile(path, 0, bytes), TReadResult::TooLarge);
  EXPECT_EQ(bytes, "previous");
}

TEST_F(ReadWholeFileTest, AnEmptyFileReplacesTheBytesWithNothing) {
  const std::string path = PathOf("empty.txt");
  WriteBytes(path, "");
  std::string bytes = "previous";
  EXPECT_EQ(ReadWholeFile(path, 0, bytes), TReadResult::Ok);
  EXPECT_EQ(bytes, "");
  bytes = "previous";
  EXPECT_EQ(ReadWholeFile(path, static_cast<std::size_t>(-1), bytes), TReadResult::Ok);
  EXPECT_EQ(bytes, "");
}

TEST_F(ReadWholeFileTest, ALargeFileUnderAGenerousLimitIsReadWhole) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += std::to_string(i % 216) + ",17,99,227\r\n";
  const std::string path = PathOf("large.txt");
  WriteBytes(path, text);
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(path, static_cast<std::size_t>(-1), bytes), TReadResult::Ok);
  EXPECT_EQ(bytes, text);
}

TEST_F(ReadWholeFileTest, WhatIsNotAnOpenableFileCannotBeOpenedAndLeavesTheBytes) {
  const fs::path sub = dir_ / "sub";
  fs::create_directory(sub);
  std::string bytes = "previous";
  EXPECT_EQ(ReadWholeFile(PathOf("missing.txt"), 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(ReadWholeFile((dir_ / "missing" / "effect.txt").string(), 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(ReadWholeFile(sub.string(), 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(ReadWholeFile("", 100, bytes), TReadResult::CannotOpen);
  WriteBytes(PathOf("a"), "short name");
  EXPECT_EQ(ReadWholeFile(PathOf("a") + std::string("\0b.txt", 6), 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(bytes, "previous");
}

#ifdef _WIN32

TEST_F(ReadWholeFileTest, AFileLockedWithoutSharingCannotBeOpenedButOneSharedForReadingCan) {
  const std::string path = PathOf("held.txt");
  WriteBytes(path, "content");
  std::string bytes = "previous";
  HANDLE holder =
      CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(path, 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(bytes, "previous");
  CloseHandle(holder);

  holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(path, 100, bytes), TReadResult::Ok);
  EXPECT_EQ(bytes, "content");
  CloseHandle(holder);
}

TEST_F(ReadWholeFileTest, ADeviceNameIsNotReadAsAFile) {
  std::string bytes = "previous";
  EXPECT_EQ(ReadWholeFile("NUL", 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(bytes, "previous");
}

#else

TEST_F(ReadWholeFileTest, AFifoIsNotOpenedAsAFileAndDoesNotBlock) {
  const std::string path = PathOf("pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  std::string bytes = "previous";
  EXPECT_EQ(ReadWholeFile(path, 100, bytes), TReadResult::CannotOpen);
  EXPECT_EQ(bytes, "previous");
}

#endif

}  // namespace
