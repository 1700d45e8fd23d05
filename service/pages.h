#pragma once
// The texts the service answers with: HTML pages, the album list, the login notices.
#include <string>

#include "service/demo_accounts.h"
#include "service/image_store.h"

namespace cvu::service {

// Login notices, exactly as the client compares them.
inline constexpr const char* kWrongPassword = "You entered an incorrect username and/or password";
inline constexpr const char* kMissingCredentials = "You did not enter your username or password";
inline constexpr const char* kNoSuchUser = "This user does not exist";
inline constexpr const char* kLoggedIn = "Now you can use this service";
inline constexpr const char* kNoAlbums = "#404#Albums#";

std::string HtmlEscape(const std::string& text);

// A page whose content block holds one notice; kind is "red", "blue" or "green".
std::string NoticePage(const std::string& kind, const std::string& text);
// The home page: a content block with a greeting.
std::string HomePage(const std::string& host);
// The image page (/i-ID): links, and the identifier comment the client reads.
std::string ResultPage(const StoredImage& image, const std::string& host);
// The full-view page (/f-ID): the image itself.
std::string FullViewPage(const StoredImage& image, const std::string& host);
// The album list of an account, as UTF-8 XML.
std::string AlbumsXml(const Account& account);

// "http://" + server + "." + host + "/" + file
std::string ImageUrl(const std::string& server, const std::string& host, const std::string& file);

}  // namespace cvu::service
