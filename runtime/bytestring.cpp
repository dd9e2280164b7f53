#include "runtime/bytestring.h"

#include <cstdlib>
#include <cstring>
#include <new>

// Header and bytes in one allocation; the bytes are followed by a NUL.
struct ByteString::Block {
  std::int32_t refs;
  std::size_t length;
  char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
};

namespace {
const char kEmpty[1] = {0};
}

ByteString::ByteString(const char* text) {
  if (text != nullptr) Assign(text, std::strlen(text));
}
ByteString::ByteString(std::string_view bytes) { Assign(bytes.data(), bytes.size()); }
ByteString::ByteString(const char* bytes, std::size_t length) { Assign(bytes, length); }

ByteString::ByteString(const ByteString& other) noexcept : block_(other.block_) {
  if (block_ != nullptr) ++block_->refs;
}
ByteString::ByteString(ByteString&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }

ByteString& ByteString::operator=(const ByteString& other) noexcept {
  Block* incoming = other.block_;  // taken first: other may be *this
  if (incoming != nullptr) ++incoming->refs;
  Drop();
  block_ = incoming;
  return *this;
}

ByteString& ByteString::operator=(ByteString&& other) noexcept {
  if (this != &other) {
    Drop();
    block_ = other.block_;
    other.block_ = nullptr;
  }
  return *this;
}

ByteString::~ByteString() { Drop(); }

std::size_t ByteString::size() const noexcept { return block_ == nullptr ? 0 : block_->length; }
const char* ByteString::data() const noexcept { return block_ == nullptr ? kEmpty : block_->bytes(); }
std::int32_t ByteString::ShareCount() const noexcept { return block_ == nullptr ? 0 : block_->refs; }

void ByteString::Assign(const char* bytes, std::size_t length) {
  if (length == 0) return;
  void* memory = std::malloc(sizeof(Block) + length + 1);
  if (memory == nullptr) throw std::bad_alloc();
  block_ = static_cast<Block*>(memory);
  block_->refs = 1;
  block_->length = length;
  std::memcpy(block_->bytes(), bytes, length);
  block_->bytes()[length] = 0;
}

void ByteString::Drop() noexcept {
  if (block_ != nullptr && --block_->refs == 0) std::free(block_);
  block_ = nullptr;
}

ByteString operator+(const ByteString& a, const ByteString& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  ByteString result;
  const std::size_t length = a.size() + b.size();
  void* memory = std::malloc(sizeof(ByteString::Block) + length + 1);
  if (memory == nullptr) throw std::bad_alloc();
  result.block_ = static_cast<ByteString::Block*>(memory);
  result.block_->refs = 1;
  result.block_->length = length;
  std::memcpy(result.block_->bytes(), a.data(), a.size());
  std::memcpy(result.block_->bytes() + a.size(), b.data(), b.size());
  result.block_->bytes()[length] = 0;
  return result;
}
