// TStrList and TStrListEx: line storage, text splitting and joining, saving through the file module.
// Window-system free; never opens a file itself.
#include "platform/strlist.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include "platform/file.h"

namespace {

constexpr char kCR = 13;
constexpr char kLF = 10;

void* Allocate(std::size_t size) {
  void* block = std::malloc(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

// Walks the lines of [pos, end), where *end is NUL and no NUL lies before it. With `lines` null it
// only counts; otherwise it adds every line start and ends each line by turning its CR into NUL.
std::int32_t ScanLines(char* pos, char* end, TList* lines) {
  std::int32_t count = 0;
  while (pos < end) {
    if (lines != nullptr) lines->Add(pos);
    ++count;
    char* cr = static_cast<char*>(std::memchr(pos, kCR, static_cast<std::size_t>(end - pos)));
    if (cr == nullptr) break;
    if (lines != nullptr) *cr = 0;
    pos = cr + 1;
    if (pos < end && *pos == kLF) ++pos;
  }
  return count;
}

}  // namespace

void TStrList::EnsureLines() {
  if (Lines == nullptr) Lines = TList::Create();
}

bool TStrList::InTextBuffer(const char* p) const {
  const std::less<const char*> before;
  return TextBuffer != nullptr && !before(p, TextBuffer) && before(p, TextBuffer + TextSize);
}

void TStrList::Insert(std::int32_t index, std::string_view s) {
  if (index < 0 || index > Count) return;
  EnsureLines();
  const std::size_t length = s.find('\0');
  const std::size_t kept = length == std::string_view::npos ? s.size() : length;
  char* block = static_cast<char*>(Allocate(kept + 1));
  if (kept != 0) std::memcpy(block, s.data(), kept);
  block[kept] = 0;
  try {
    Lines->Insert(index, block);
  } catch (...) {
    std::free(block);
    throw;
  }
  ++Count;
}

std::int32_t TStrList::Add(std::string_view s) {
  const std::int32_t index = Count;
  Insert(index, s);
  return index;
}

void TStrList::Delete(std::int32_t index) {
  if (index < 0 || index >= Count) return;
  char* line = static_cast<char*>(Lines->Items[index]);
  if (!InTextBuffer(line)) std::free(line);
  Lines->Delete(index);
  --Count;
}

void TStrList::Clear() {
  for (std::int32_t i = Count - 1; i >= 0; --i) Delete(i);
  if (Lines != nullptr) Lines->Free();
  Lines = nullptr;
  Count = 0;
  std::free(TextBuffer);
  TextBuffer = nullptr;
  TextSize = 0;
}

void TStrList::SetText(std::string_view text, bool append) {
  if (!append) Clear();
  if (text.empty()) return;

  const std::size_t oldSize = static_cast<std::size_t>(TextSize);
  if (text.size() >= static_cast<std::size_t>(INT32_MAX) - oldSize) throw std::bad_alloc();
  const std::size_t newSize = oldSize + text.size() + 1;
  char* grown = static_cast<char*>(Allocate(newSize));
  if (oldSize != 0) std::memcpy(grown, TextBuffer, oldSize);
  // The text may be one of this list's own lines, so it is copied before the old block goes.
  std::memcpy(grown + oldSize, text.data(), text.size());
  grown[newSize - 1] = 0;
  for (std::int32_t i = 0; i < Count; ++i) {
    const char* line = static_cast<const char*>(Lines->Items[i]);
    if (InTextBuffer(line)) Lines->Items[i] = grown + (line - TextBuffer);
  }
  std::free(TextBuffer);
  TextBuffer = grown;
  TextSize = static_cast<std::int32_t>(newSize);

  EnsureLines();
  char* start = grown + oldSize;
  char* nul = static_cast<char*>(std::memchr(start, 0, text.size()));
  char* end = nul != nullptr ? nul : start + text.size();
  const std::int32_t added = ScanLines(start, end, nullptr);
  if (std::int64_t{Count} + added > INT32_MAX) throw std::bad_alloc();
  if (Lines->Capacity < Count + added) Lines->SetCapacity(Count + added);
  ScanLines(start, end, Lines);
  Count += added;
}

std::string TStrList::GetText() const {
  std::size_t total = 0;
  for (std::int32_t i = 0; i < Count; ++i)
    total += std::strlen(static_cast<const char*>(Lines->Items[i])) + 2;
  std::string text(total, '\0');
  char* out = text.data();
  for (std::int32_t i = 0; i < Count; ++i) {
    const char* line = static_cast<const char*>(Lines->Items[i]);
    const std::size_t length = std::strlen(line);
    std::memcpy(out, line, length);
    out += length;
    *out++ = kCR;
    *out++ = kLF;
  }
  return text;
}

bool TStrList::SaveToFile(std::string_view fileName) const { return WriteWholeFile(fileName, GetText()); }

bool TStrList::SaveToFile(const char* fileName) const {
  return fileName != nullptr && SaveToFile(std::string_view(fileName));
}

const char* TStrList::Get(std::int32_t index) const {
  return Lines == nullptr ? nullptr : static_cast<const char*>(Lines->Get(index));
}

std::string_view TStrList::Line(std::int32_t index) const {
  const char* line = Get(index);
  return line == nullptr ? std::string_view() : std::string_view(line);
}

TStrList::~TStrList() { Clear(); }

TStrListEx::TStrListEx() { Objects = TList::Create(); }

void TStrListEx::Insert(std::int32_t index, std::string_view s) { InsertObject(index, s, nullptr); }

void TStrListEx::InsertObject(std::int32_t index, std::string_view s, void* obj) {
  if (index < 0 || index > Count) return;
  TStrList::Insert(index, s);
  try {
    // Lines added by SetText have no entry here; an object for a later line needs them filled in.
    if (index > Objects->Count && obj != nullptr) {
      while (Objects->Count < index) Objects->Add(nullptr);
    }
    if (index <= Objects->Count) Objects->Insert(index, obj);
  } catch (...) {
    TStrList::Delete(index);
    throw;
  }
}

std::int32_t TStrListEx::AddObject(std::string_view s, void* obj) {
  const std::int32_t index = Count;
  InsertObject(index, s, obj);
  return index;
}

void TStrListEx::Delete(std::int32_t index) {
  if (index < 0 || index >= Count) return;
  TStrList::Delete(index);
  if (index < Objects->Count) Objects->Delete(index);
}

std::int32_t TStrListEx::IndexOfObject(const void* obj) const { return Objects->IndexOf(obj); }

void* TStrListEx::GetObject(std::int32_t index) const { return Objects->Get(index); }

TStrListEx::~TStrListEx() {
  // The lines (and with them the objects' entries) go first, the notifications next, the object list last.
  Clear();
  NotifyDestroy();
  Objects->Free();
  Objects = nullptr;
}
