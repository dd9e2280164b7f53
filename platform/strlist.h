// TStrList and TStrListEx: lists of NUL-terminated byte-string lines, their conversion from and to
// one text (split on CR, an LF right after a CR dropped; joined with CR LF), and saving as a text file.
// Bytes are kept exactly as given (code page 1251, no conversion). Window-system free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/list.h"
#include "platform/obj.h"

class TStrList : public TObj {
 public:
  TStrList() = default;
  static TStrList* Create() { return new TStrList(); }

  // A line ends at its first NUL, so only the bytes of `s` before a NUL are kept.
  // An index outside 0..Count is ignored.
  virtual void Insert(std::int32_t index, std::string_view s);
  std::int32_t Add(std::string_view s);     // returns the new line's index
  virtual void Delete(std::int32_t index);  // an index outside 0..Count-1 is ignored
  void Clear();

  // Splits `text` into lines after the existing ones (append) or in place of them. The text ends at
  // its first NUL byte: nothing after a NUL becomes part of any line.
  void SetText(std::string_view text, bool append);
  // Every line followed by CR LF.
  std::string GetText() const;
  // Replaces the file with GetText() (WriteWholeFile): true only when every byte reached the disk and
  // the new file took the old one's place; on failure the old file, or the absence of one, is kept.
  bool SaveToFile(std::string_view fileName) const;
  bool SaveToFile(const char* fileName) const;  // null fails

  const char* Get(std::int32_t index) const;        // null when out of range
  std::string_view Line(std::int32_t index) const;  // empty when out of range

  TList* Lines = nullptr;
  std::int32_t Count = 0;
  char* TextBuffer = nullptr;
  std::int32_t TextSize = 0;

 protected:
  ~TStrList() override;

 private:
  void EnsureLines();
  bool InTextBuffer(const char* p) const;
};

// One untyped object pointer per line, at the line's index. Lines added without an object (SetText,
// Insert) have none: GetObject answers null for them.
class TStrListEx : public TStrList {
 public:
  TStrListEx();
  static TStrListEx* Create() { return new TStrListEx(); }

  void Insert(std::int32_t index, std::string_view s) override;  // with a null object
  void InsertObject(std::int32_t index, std::string_view s, void* obj);
  std::int32_t AddObject(std::string_view s, void* obj);  // returns the new line's index
  void Delete(std::int32_t index) override;
  std::int32_t IndexOfObject(const void* obj) const;
  void* GetObject(std::int32_t index) const;  // null when out of range

  TList* Objects = nullptr;

 protected:
  ~TStrListEx() override;
};
