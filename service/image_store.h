#pragma once
// Where the service keeps uploaded images: DIR/<server>/<file> for the image and its
// thumbnail, DIR/meta/<id>.txt for what the pages show. Thread-safe.
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>

namespace cvu::service {

// Every image goes to this image server, reached as http://i1.<host>/<file>.
inline constexpr const char* kImageServer = "i1";

struct StoredImage {
  std::string id;         // 12 lower-case hex digits
  std::string server;     // kImageServer
  std::string name;       // id + extension
  std::string thumbnail;  // id + ".th" + extension, or "0" when none was made
  std::string title;
  std::string originalName;
  std::string albumId;
  std::string userId;
};

class ImageStore {
 public:
  explicit ImageStore(std::filesystem::path dataDir);

  // A file in the store's folder to receive an upload while it arrives.
  std::filesystem::path temporaryFile();
  // Moves a received file into place under a new id; with a thumbnail (see the
  // README) a copy of it becomes the thumbnail file.
  StoredImage add(const std::filesystem::path& received, StoredImage info, const std::string& extension,
                  bool makeThumbnail);
  std::optional<StoredImage> find(const std::string& id) const;
  // The path of a stored file on an image server, when both names are plain.
  std::optional<std::filesystem::path> imageFile(const std::string& server, const std::string& file) const;

 private:
  std::string newId();

  std::filesystem::path dir_;
  std::mutex mutex_;
  unsigned long long counter_ = 0;  // guarded by mutex_
};

}  // namespace cvu::service
