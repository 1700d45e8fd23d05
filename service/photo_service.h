#pragma once
// The local photo-hosting service: uploads, result and full-view pages, image files
// by host name (i1.<host>), demo logins, album lists and the version file.
#include <httplib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "common/version.h"
#include "service/image_store.h"
#include "service/request_gate.h"

namespace cvu::service {

struct ServiceConfig {
  std::filesystem::path dataDir;
  std::string version = cvu::VersionText;           // body of //cvuversion.txt
  std::uint64_t maxFileSize = kDefaultMaxFileSize;  // largest file part of an upload, in bytes
};

class PhotoService {
 public:
  explicit PhotoService(ServiceConfig config);
  ~PhotoService();
  PhotoService(const PhotoService&) = delete;
  PhotoService& operator=(const PhotoService&) = delete;

  // Binds the port (0: a free one) on address; returns the port, or -1.
  int bind(int port, const std::string& address = "127.0.0.1");
  // Serves on the calling thread until stop().
  void serve();
  // bind() and serve() on a thread of its own; returns the port, or -1.
  int start(int port = 0, const std::string& address = "127.0.0.1");
  // Any thread; also called by the destructor.
  void stop();
  int port() const { return port_; }

 private:
  void limits();
  int refusalBeforeBody(const httplib::Request& req) const;
  void routes();
  bool serveImageHost(const httplib::Request& req, httplib::Response& res);
  void upload(const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader);
  void login(const httplib::Request& req, httplib::Response& res);
  void home(const httplib::Request& req, httplib::Response& res);
  void albums(const httplib::Request& req, httplib::Response& res);
  void imagePage(const httplib::Request& req, httplib::Response& res, bool fullView);

  ServiceConfig config_;
  ImageStore store_;
  httplib::Server server_;
  std::thread thread_;
  int port_ = -1;
  int listenSocket_ = -1;  // the socket bind() listens on
};

}  // namespace cvu::service
