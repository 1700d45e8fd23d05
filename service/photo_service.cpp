#include "service/photo_service.h"

#include <sys/socket.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <memory>
#include <vector>

#include "service/connection_threads.h"
#include "service/demo_accounts.h"
#include "service/pages.h"
#include "service/received_upload.h"
#include "service/request_cookies.h"

namespace cvu::service {
namespace fs = std::filesystem;
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

// Connections served at the same time; more wait for a free thread.
constexpr std::size_t kMaxConnectionThreads = 512;
// A client that sends or takes no byte for this long loses its connection.
constexpr auto kReadTimeout = std::chrono::seconds(10);
constexpr auto kWriteTimeout = std::chrono::seconds(10);
// A connection that sends no request is closed after this long. Each connection serves one
// request: the unread rest of a refused body is then never taken for the next request, and no
// connection idles between requests (the client makes a new one for every request anyway).
constexpr time_t kKeepAliveSeconds = 5;
constexpr std::size_t kKeepAliveRequests = 1;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// "i1" for a Host of "i1.localhost:8470"; empty for the main site.
std::string ImageServerOf(const std::string& host) {
  const auto dot = host.find('.');
  if (dot == std::string::npos || dot < 2 || host[0] != 'i') return {};
  const bool digits = std::all_of(host.begin() + 1, host.begin() + static_cast<long>(dot),
                                  [](unsigned char c) { return std::isdigit(c); });
  return digits ? host.substr(0, dot) : std::string();
}

std::string ContentTypeOf(const fs::path& file) {
  const std::string ext = Lower(file.extension().string());
  if (ext == ".png") return "image/png";
  if (ext == ".gif") return "image/gif";
  if (ext == ".jpg" || ext == ".jpeg") return "image/jpeg";
  return "application/octet-stream";
}

// The extension the stored file gets: the uploaded name's, when it is an image's.
std::string ImageExtension(const std::string& fileName) {
  const std::string ext = Lower(fs::path(fileName).extension().string());
  return ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".gif" ? ext : std::string();
}

std::optional<Account> CookieAccount(const httplib::Request& req) {
  const auto cookies = RequestCookies(req);
  const auto id = cookies.find("corvane_user_id");
  const auto hash = cookies.find("corvane_hash");
  if (id == cookies.end() || hash == cookies.end()) return std::nullopt;
  return FindByCookies(id->second, hash->second);
}

void StreamFile(httplib::Response& res, const fs::path& path) {
  auto in = std::make_shared<std::ifstream>(path, std::ios::binary);
  res.set_content_provider(fs::file_size(path), ContentTypeOf(path),
                           [in](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                             std::vector<char> buffer(std::min<std::size_t>(length, 65536));
                             in->seekg(static_cast<std::streamoff>(offset));
                             in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                             return sink.write(buffer.data(), static_cast<std::size_t>(in->gcount()));
                           });
}

void Reject(httplib::Response& res, const std::string& why) {
  res.status = 400;
  res.set_content(NoticePage("red", why), kHtml);
}

}  // namespace

PhotoService::PhotoService(ServiceConfig config) : config_(std::move(config)), store_(config_.dataDir) {
  limits();
  routes();
}

PhotoService::~PhotoService() { stop(); }

int PhotoService::bind(int port, const std::string& address) {
  port_ = port == 0 ? server_.bind_to_any_port(address) : (server_.bind_to_port(address, port) ? port : -1);
  // The library listens with a backlog of 5, so a burst of new clients would wait for the
  // connection retries of their systems (a second and more each); listening again widens it.
  if (port_ >= 0 && listenSocket_ >= 0) ::listen(listenSocket_, SOMAXCONN);
  return port_;
}

void PhotoService::serve() { server_.listen_after_bind(); }

int PhotoService::start(int port, const std::string& address) {
  if (bind(port, address) < 0) return -1;
  thread_ = std::thread([this] { serve(); });
  // Serving starts on the new thread; wait for it (a few milliseconds at most).
  for (int i = 0; i < 2000 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void PhotoService::stop() {
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

int PhotoService::refusalBeforeBody(const httplib::Request& req) const {
  return RefusalBeforeBody(req, IsUploadRequest(req) ? MaxUploadBody(config_.maxFileSize) : kMaxTextSize);
}

void PhotoService::limits() {
  // Only SO_REUSEADDR (a restart binds at once): the library's SO_REUSEPORT would let a
  // second service bind the same port, and uploads then land in either at random.
  server_.set_socket_options([this](socket_t socket) {
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listenSocket_ = socket;
  });
  // The server owns the task queue it asks for; a slow client then holds only its own thread.
  server_.new_task_queue = [] { return std::make_unique<ConnectionThreads>(kMaxConnectionThreads).release(); };
  server_.set_read_timeout(kReadTimeout);
  server_.set_write_timeout(kWriteTimeout);
  server_.set_keep_alive_timeout(kKeepAliveSeconds);
  server_.set_keep_alive_max_count(kKeepAliveRequests);
  server_.set_payload_max_length(MaxUploadBody(config_.maxFileSize));
  // A client that waits for "100 Continue" learns of a refusal before it sends the body.
  server_.set_expect_100_continue_handler([this](const httplib::Request& req, httplib::Response& res) {
    const int refusal = refusalBeforeBody(req);
    if (refusal != 0) Refuse(res, refusal);
    return refusal != 0 ? refusal : 100;
  });
}

void PhotoService::routes() {
  server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const int refusal = refusalBeforeBody(req);
    if (refusal != 0) Refuse(res, refusal);
    return refusal != 0 || serveImageHost(req, res) ? httplib::Server::HandlerResponse::Handled
                                                    : httplib::Server::HandlerResponse::Unhandled;
  });
  server_.Post(R"(/+upload\.html)", [this](const httplib::Request& req, httplib::Response& res,
                                           const httplib::ContentReader& reader) { upload(req, res, reader); });
  server_.Post("/+", [this](const httplib::Request& req, httplib::Response& res) { login(req, res); });
  server_.Get("/+", [this](const httplib::Request& req, httplib::Response& res) { home(req, res); });
  server_.Get(R"(/+ajax\.php)", [this](const httplib::Request& req, httplib::Response& res) { albums(req, res); });
  server_.Get(R"(/+cvuversion\.txt)", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(config_.version, "text/plain");
  });
  server_.Get(R"(/+i-([0-9a-f]+))",
              [this](const httplib::Request& req, httplib::Response& res) { imagePage(req, res, false); });
  server_.Get(R"(/+f-([0-9a-f]+))",
              [this](const httplib::Request& req, httplib::Response& res) { imagePage(req, res, true); });
}

bool PhotoService::serveImageHost(const httplib::Request& req, httplib::Response& res) {
  const std::string server = ImageServerOf(Lower(req.get_header_value("Host")));
  if (server.empty()) return false;
  const std::string file = req.path.substr(
      req.path.find_first_not_of('/') == std::string::npos ? req.path.size() : req.path.find_first_not_of('/'));
  const auto path = req.method == "GET" ? store_.imageFile(server, file) : std::nullopt;
  if (path) {
    StreamFile(res, *path);
  } else {
    res.status = 404;
    res.set_content("Not found", "text/plain");
  }
  return true;
}

void PhotoService::upload(const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
  if (!req.is_multipart_form_data()) return Reject(res, "The upload is not a form");
  ReceivedUpload received(store_, config_.maxFileSize);
  // False when the body was cut off or is not a whole form; the rest of it then stays unread.
  const bool whole = reader([&](const httplib::MultipartFormData& part) { return received.begin(part); },
                            [&](const char* data, std::size_t size) { return received.take(data, size); });
  const bool written = received.finish();
  if (!written) {
    res.status = 500;
    return res.set_content(NoticePage("red", "The image could not be stored"), kHtml);
  }
  if (!whole) return Reject(res, "The upload is incomplete");
  if (received.tooLarge()) return Refuse(res, 413);
  const std::string extension = ImageExtension(received.value("imgfile[]"));
  if (!received.inOrder() || extension.empty()) {
    return Reject(res, received.inOrder() ? "Only JPEG, PNG and GIF images are accepted" : "Unexpected upload form");
  }
  const auto account = CookieAccount(req);
  StoredImage info;
  info.title = received.value("title");
  info.originalName = received.value("imgfile[]");
  info.userId = account ? account->id : "0";
  const std::string album = received.value("album_id");
  const bool ownAlbum = account && std::any_of(account->albums.begin(), account->albums.end(),
                                               [&](const Album& a) { return a.id == album; });
  info.albumId = ownAlbum ? album : "0";
  const StoredImage stored = store_.add(received.file(), info, extension, received.value("nod") != "on");
  res.status = 302;
  res.set_header("Location", "i-" + stored.id);
  res.set_content(NoticePage("green", "Image uploaded"), kHtml);
}

void PhotoService::login(const httplib::Request& req, httplib::Response& res) {
  if (!req.has_file("inlogin") || req.get_file_value("inlogin").content != "true") return home(req, res);
  const std::string name = req.get_file_value("login").content;
  const std::string password = req.get_file_value("password").content;
  const auto account = FindByLogin(name);
  if (name.empty() || password.empty()) return res.set_content(NoticePage("red", kMissingCredentials), kHtml);
  if (!account) return res.set_content(NoticePage("red", kNoSuchUser), kHtml);
  if (account->password != password) return res.set_content(NoticePage("red", kWrongPassword), kHtml);
  // "cookie" = "on" asks to be remembered: the cookies then outlive the browser session.
  const std::string lifetime = req.get_file_value("cookie").content == "on" ? "; Max-Age=2592000" : "";
  res.set_header("Set-Cookie", "corvane_lng=en; path=/" + lifetime);
  res.set_header("Set-Cookie", "corvane_user_id=" + account->id + "; path=/" + lifetime);
  res.set_header("Set-Cookie", "corvane_hash=" + AccountHash(*account) + "; path=/" + lifetime);
  res.status = 302;
  res.set_header("Location", "/?welcome=1");
}

void PhotoService::home(const httplib::Request& req, httplib::Response& res) {
  if (req.has_param("welcome") && CookieAccount(req)) return res.set_content(NoticePage("green", kLoggedIn), kHtml);
  res.set_content(HomePage(req.get_header_value("Host")), kHtml);
}

void PhotoService::albums(const httplib::Request& req, httplib::Response& res) {
  if (req.get_param_value("action") != "get.Albums") {
    res.status = 404;
    return res.set_content("Unknown action", "text/plain");
  }
  const auto account = CookieAccount(req);
  if (!account) return res.set_content(kNoAlbums, "text/plain");
  res.set_content(AlbumsXml(*account), "text/xml; charset=utf-8");
}

void PhotoService::imagePage(const httplib::Request& req, httplib::Response& res, bool fullView) {
  const auto image = store_.find(req.matches[1]);
  if (!image) {
    res.status = 404;
    return res.set_content(NoticePage("red", "No such image"), kHtml);
  }
  const std::string host = req.get_header_value("Host");
  res.set_content(fullView ? FullViewPage(*image, host) : ResultPage(*image, host), kHtml);
}

}  // namespace cvu::service
