// ByteString: the reference-counted byte string carried by element values.
// Copying adds a reference; the bytes are never converted (they are code page 1251 text).
// Must never depend on a window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

class ByteString {
 public:
  ByteString() noexcept = default;
  ByteString(const char* text);  // null or "" gives the empty string
  ByteString(std::string_view bytes);
  ByteString(const char* bytes, std::size_t length);
  ByteString(const ByteString& other) noexcept;
  ByteString(ByteString&& other) noexcept;
  ByteString& operator=(const ByteString& other) noexcept;
  ByteString& operator=(ByteString&& other) noexcept;
  ~ByteString();

  std::size_t size() const noexcept;
  bool empty() const noexcept { return block_ == nullptr; }
  const char* data() const noexcept;                     // never null
  const char* c_str() const noexcept { return data(); }  // NUL-terminated (may hold inner NULs)
  std::string_view view() const noexcept { return {data(), size()}; }
  char operator[](std::size_t i) const noexcept { return data()[i]; }

  // Number of holders of the shared block (0 for the empty string); for tests and diagnostics.
  std::int32_t ShareCount() const noexcept;

  friend ByteString operator+(const ByteString& a, const ByteString& b);
  friend bool operator==(const ByteString& a, const ByteString& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const ByteString& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const ByteString& a, const char* b) noexcept {
    return a.view() == std::string_view(b);
  }

  // Printable form for test messages.
  friend std::ostream& operator<<(std::ostream& out, const ByteString& s) {
    return out << '"' << s.view() << '"';
  }

 private:
  struct Block;
  void Assign(const char* bytes, std::size_t length);
  void Drop() noexcept;
  Block* block_ = nullptr;
};
