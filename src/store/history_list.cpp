#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "store/history.h"

namespace cvu {
namespace {

// Small lists (this run's uploads) stay small; long ones fill blocks of a megabyte.
constexpr std::size_t kFirstBlock = std::size_t{4} * 1024;
constexpr std::size_t kLargestBlock = std::size_t{1024} * 1024;

// Field lengths are stored in seven-bit groups, low group first: texts under 128 bytes
// cost one byte.
std::size_t LengthSize(std::size_t length) {
  std::size_t size = 1;
  while (length >= 0x80) {
    length >>= 7;
    ++size;
  }
  return size;
}

char* PutLength(char* out, std::size_t length) {
  while (length >= 0x80) {
    *out++ = static_cast<char>((length & 0x7F) | 0x80);
    length >>= 7;
  }
  *out++ = static_cast<char>(length);
  return out;
}

const char* GetLength(const char* in, std::size_t& length) {
  length = 0;
  unsigned shift = 0;
  unsigned char byte;
  do {
    byte = static_cast<unsigned char>(*in++);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    shift += 7;
  } while (byte & 0x80);
  return in;
}

}  // namespace

HistoryRecord HistoryList::at(int index) const {
  if (!has(index)) throw std::out_of_range("History index out of range: " + std::to_string(index));
  HistoryRecord r;
  std::string* fields[] = {&r.image_id,  &r.folder_id,       &r.image_name,  &r.image_th,
                           &r.base_file, &r.base_filefolder, &r.upload_date, &r.group};
  const char* p = recordBytes(index);
  for (std::string* field : fields) {
    std::size_t length;
    p = GetLength(p, length);
    field->assign(p, length);
    p += length;
  }
  return r;
}

std::string_view HistoryList::field(int index, HistoryField f) const {
  if (!has(index)) return {};
  const char* p = recordBytes(index);
  std::size_t length;
  for (int skip = static_cast<int>(f); skip > 0; --skip) {
    p = GetLength(p, length);
    p += length;
  }
  p = GetLength(p, length);
  return {p, length};
}

HistoryFields HistoryList::fields(int index) const {
  HistoryFields all{};
  if (!has(index)) return all;
  const char* p = recordBytes(index);
  for (std::string_view& f : all) {
    std::size_t length;
    p = GetLength(p, length);
    f = {p, length};
    p += length;
  }
  return all;
}

void HistoryList::push_back(const HistoryRecord& r) {
  push_back(HistoryFields{r.image_id, r.folder_id, r.image_name, r.image_th, r.base_file, r.base_filefolder,
                          r.upload_date, r.group});
}

void HistoryList::push_back(const HistoryFields& fields) {
  std::size_t size = 0;
  for (std::string_view f : fields) size += LengthSize(f.size()) + f.size();
  char* out = room(size);
  for (std::string_view f : fields) {
    out = PutLength(out, f.size());
    if (!f.empty()) std::memcpy(out, f.data(), f.size());
    out += f.size();
  }
  Block& block = blocks_.back();
  locators_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1), block.used});
  block.used += static_cast<std::uint32_t>(size);
}

// Gives the memory back as well: a cleared list costs nothing.
void HistoryList::clear() {
  std::deque<Locator>().swap(locators_);
  std::vector<Block>().swap(blocks_);
}

std::size_t HistoryList::memoryBytes() const {
  std::size_t bytes = blocks_.capacity() * sizeof(Block) + locators_.size() * sizeof(Locator);
  for (const Block& b : blocks_) bytes += b.size;
  return bytes;
}

// Room for size bytes at the end of the last block, or in a new one; the blocks already
// filled stay where they are.
char* HistoryList::room(std::size_t size) {
  if (!blocks_.empty() && blocks_.back().size - blocks_.back().used >= size) {
    return blocks_.back().bytes.get() + blocks_.back().used;
  }
  if (size > UINT32_MAX) throw std::length_error("History record too long");
  const std::size_t next =
      blocks_.empty() ? kFirstBlock : std::min<std::size_t>(blocks_.back().size * 2ull, kLargestBlock);
  const std::size_t blockSize = std::max(next, size);
  blocks_.push_back({std::make_unique_for_overwrite<char[]>(blockSize), static_cast<std::uint32_t>(blockSize), 0});
  return blocks_.back().bytes.get();
}

const char* HistoryList::recordBytes(int index) const {
  const Locator& at = locators_[static_cast<std::size_t>(index)];
  return blocks_[at.block].bytes.get() + at.offset;
}

}  // namespace cvu
