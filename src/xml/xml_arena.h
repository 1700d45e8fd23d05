#pragma once
// A block allocator owned by a document: its nodes, child lists, words and texts.
#include <cstddef>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace cvu {

class XmlArena {
 public:
  XmlArena() = default;
  // What it hands out points into it, so it is neither copied nor moved.
  XmlArena(const XmlArena&) = delete;
  XmlArena& operator=(const XmlArena&) = delete;

  // A T built in place; it is never destroyed, so T must need no destructor.
  template <typename T, typename... Args>
  T* Make(Args&&... args) {
    static_assert(std::is_trivially_destructible_v<T>);
    return std::construct_at(static_cast<T*>(Allocate(sizeof(T), alignof(T))), std::forward<Args>(args)...);
  }

  // A copy of items that lives as long as the arena.
  template <typename T>
  std::span<const T> CopyOf(std::span<const T> items) {
    static_assert(std::is_trivially_destructible_v<T> && std::is_trivially_copyable_v<T>);
    if (items.empty()) return {};
    T* copy = static_cast<T*>(Allocate(items.size_bytes(), alignof(T)));
    std::uninitialized_copy(items.begin(), items.end(), copy);
    return {copy, items.size()};
  }
  std::string_view CopyOf(std::string_view text);

  // Keeps text as it is, without copying its characters; the view stays valid.
  std::string_view Adopt(std::string text);

  // Forgets everything handed out so far.
  void Clear();

 private:
  void* Allocate(std::size_t size, std::size_t alignment);

  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* free_ = nullptr;  // the unused end of the last small block
  std::size_t freeSize_ = 0;
  std::deque<std::string> adopted_;  // a deque, so that growing moves no string
};

}  // namespace cvu
