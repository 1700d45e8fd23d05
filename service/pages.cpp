#include "service/pages.h"

namespace cvu::service {
namespace {

std::string Page(const std::string& title, const std::string& content) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
         " - Corvane</title></head>\n<body>\n<div id=\"glb_Header\"><a href=\"/\">Corvane</a></div>\n"
         "<!--CONTENT--><div id=\"glb_PageContent\"><div style=\"padding:10px;\">\n" +
         content + "\n</div></div><!--/CONTENT-->\n</body></html>\n";
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ImageUrl(const std::string& server, const std::string& host, const std::string& file) {
  return "http://" + server + "." + host + "/" + file;
}

std::string NoticePage(const std::string& kind, const std::string& text) {
  return Page("Login", "<div class=\"notice_" + kind + "\">\n    " + HtmlEscape(text) + "\n</div>");
}

std::string HomePage(const std::string& host) {
  return Page("Photo hosting", "<p>Photo hosting at " + HtmlEscape(host) + ". Upload images with the client.</p>");
}

std::string ResultPage(const StoredImage& image, const std::string& host) {
  const std::string direct = ImageUrl(image.server, host, image.name);
  const std::string thumb = image.thumbnail == "0" ? direct : ImageUrl(image.server, host, image.thumbnail);
  const std::string content = "<h1>" + HtmlEscape(image.title.empty() ? image.originalName : image.title) + "</h1>\n" +
                              "<p><a href=\"/f-" + image.id + "\"><img src=\"" + HtmlEscape(thumb) + "\" /></a></p>\n" +
                              "<p>Direct link: <a href=\"" + HtmlEscape(direct) + "\">" + HtmlEscape(direct) +
                              "</a></p>\n" + "<!--{Information:{ID:" + image.id + "}{MD:" + image.server +
                              "}{NAME:" + image.name + "}{TH:" + image.thumbnail + "}}-->";
  return Page(image.title.empty() ? image.originalName : image.title, content);
}

std::string FullViewPage(const StoredImage& image, const std::string& host) {
  return Page(image.title.empty() ? image.originalName : image.title,
              "<img src=\"" + HtmlEscape(ImageUrl(image.server, host, image.name)) + "\" alt=\"" +
                  HtmlEscape(image.originalName) + "\" />");
}

std::string AlbumsXml(const Account& account) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<albums>\n";
  for (const auto& album : account.albums) {
    xml += "  <album>\n    <album_id>" + HtmlEscape(album.id) + "</album_id>\n    <name>" + HtmlEscape(album.name) +
           "</name>\n  </album>\n";
  }
  return xml + "</albums>\n";
}

}  // namespace cvu::service
