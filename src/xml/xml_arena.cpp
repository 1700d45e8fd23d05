#include "xml/xml_arena.h"

#include <cstdint>
#include <cstring>

namespace cvu {
namespace {

constexpr std::size_t kBlockSize = std::size_t{64} * 1024;
// A request larger than this gets a block of its own, so that little room is wasted.
constexpr std::size_t kLargeRequest = kBlockSize / 4;

}  // namespace

std::string_view XmlArena::CopyOf(std::string_view text) {
  if (text.empty()) return {};
  char* copy = static_cast<char*>(Allocate(text.size(), 1));
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

std::string_view XmlArena::Adopt(std::string text) { return adopted_.emplace_back(std::move(text)); }

void XmlArena::Clear() {
  blocks_.clear();
  adopted_.clear();
  free_ = nullptr;
  freeSize_ = 0;
}

void* XmlArena::Allocate(std::size_t size, std::size_t alignment) {
  if (size > kLargeRequest) {
    // Blocks come from operator new[], aligned for every type the reader keeps.
    return blocks_.emplace_back(std::make_unique_for_overwrite<std::byte[]>(size)).get();
  }
  const std::size_t padding = (alignment - reinterpret_cast<std::uintptr_t>(free_) % alignment) % alignment;
  if (free_ == nullptr || padding + size > freeSize_) {
    free_ = blocks_.emplace_back(std::make_unique_for_overwrite<std::byte[]>(kBlockSize)).get();
    freeSize_ = kBlockSize;
    return Allocate(size, alignment);
  }
  std::byte* place = free_ + padding;
  free_ = place + size;
  freeSize_ -= padding + size;
  return place;
}

}  // namespace cvu
