#include "service/image_store.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>

namespace cvu::service {
namespace fs = std::filesystem;
namespace {

bool IsPlainName(const std::string& name) {
  return !name.empty() && name.front() != '.' && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '.' || c == '_' || c == '-';
  });
}

void WriteMeta(const fs::path& file, const StoredImage& image) {
  std::ofstream out(file, std::ios::binary);
  out << "server=" << image.server << "\nname=" << image.name << "\nthumbnail=" << image.thumbnail
      << "\ntitle=" << image.title << "\noriginal=" << image.originalName << "\nalbum=" << image.albumId
      << "\nuser=" << image.userId << "\n";
}

StoredImage ReadMeta(const fs::path& file, const std::string& id) {
  StoredImage image;
  image.id = id;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "server") image.server = value;
    if (key == "name") image.name = value;
    if (key == "thumbnail") image.thumbnail = value;
    if (key == "title") image.title = value;
    if (key == "original") image.originalName = value;
    if (key == "album") image.albumId = value;
    if (key == "user") image.userId = value;
  }
  return image;
}

// Keeps a stored line to one line.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

}  // namespace

ImageStore::ImageStore(fs::path dataDir) : dir_(std::move(dataDir)) {
  fs::create_directories(dir_ / kImageServer);
  fs::create_directories(dir_ / "meta");
  fs::create_directories(dir_ / "incoming");
}

fs::path ImageStore::temporaryFile() {
  std::lock_guard lock(mutex_);
  return dir_ / "incoming" / ("upload-" + std::to_string(++counter_) + "-" + std::to_string(std::random_device{}()));
}

std::string ImageStore::newId() {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  for (;;) {
    char text[13];
    std::snprintf(text, sizeof text, "%012llx", static_cast<unsigned long long>(random() & 0xffffffffffffull));
    if (!fs::exists(dir_ / "meta" / (std::string(text) + ".txt"))) return text;
  }
}

StoredImage ImageStore::add(const fs::path& received, StoredImage info, const std::string& extension,
                            bool makeThumbnail) {
  std::lock_guard lock(mutex_);
  info.id = newId();
  info.server = kImageServer;
  info.name = info.id + extension;
  info.thumbnail = makeThumbnail ? info.id + ".th" + extension : "0";
  info.title = OneLine(info.title);
  info.originalName = OneLine(info.originalName);
  info.albumId = OneLine(info.albumId);
  fs::rename(received, dir_ / info.server / info.name);
  if (makeThumbnail) fs::copy_file(dir_ / info.server / info.name, dir_ / info.server / info.thumbnail);
  WriteMeta(dir_ / "meta" / (info.id + ".txt"), info);
  return info;
}

std::optional<StoredImage> ImageStore::find(const std::string& id) const {
  if (!IsPlainName(id)) return std::nullopt;
  const fs::path meta = dir_ / "meta" / (id + ".txt");
  if (!fs::is_regular_file(meta)) return std::nullopt;
  return ReadMeta(meta, id);
}

std::optional<fs::path> ImageStore::imageFile(const std::string& server, const std::string& file) const {
  if (!IsPlainName(server) || !IsPlainName(file)) return std::nullopt;
  const fs::path path = dir_ / server / file;
  if (!fs::is_regular_file(path)) return std::nullopt;
  return path;
}

}  // namespace cvu::service
