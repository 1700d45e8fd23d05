#include "account/albums.h"

#include <utility>

#include "common/identity.h"
#include "http/http_error.h"
#include "http/session.h"
#include "xml/xml_document.h"

namespace cvu {
namespace {

const std::pair<std::string, std::string> kNoAlbum{"Нет альбома", "0"};

// An album list of some hundred thousand albums fits; a longer answer is read no further.
constexpr std::size_t kAlbumListLimit = std::size_t{32} << 20;

void FillAlbums(ValueComboBox& box, const std::vector<std::pair<std::string, std::string>>& albums, bool enabled) {
  std::vector<std::pair<std::string, std::string>> entries{kNoAlbum};
  entries.insert(entries.end(), albums.begin(), albums.end());
  box.setEnabled(enabled);
  box.setEntries(entries);
  box.setItemIndex(0);
}

}  // namespace

void ShowNoAlbums(ValueComboBox& album) { FillAlbums(album, {}, false); }

std::vector<std::pair<std::string, std::string>> ReadAlbums(std::string body) {
  XmlDocument document;
  document.LoadFromString(std::move(body));
  std::vector<std::pair<std::string, std::string>> albums;
  const XmlNode* root = document.Root();
  if (!root) return albums;
  XmlNodeList found;
  root->FindNodes("album", found);
  for (std::size_t i = 0; i < found.Count(); ++i) {
    const XmlNode* id = found[i]->FindNode("album_id");
    const XmlNode* name = found[i]->FindNode("name");
    // An album without an id or a name cannot be chosen: it is left out.
    if (id && name) albums.emplace_back(name->ValueAsString(), id->ValueAsString());
  }
  return albums;
}

void LoadAlbums(HttpClient& client, const AccountValues& account, UpOptionsControls* options, ActivityLog& log) {
  if (!options) return;
  ValueComboBox& box = options->CVU_Ef_Album();
  if (account.user_secure.empty()) {
    ShowNoAlbums(box);
    return;
  }
  try {
    MakeSession(client, false, account);
    client.setAnswerLimit(kAlbumListLimit);
    std::string body = client.getBytes("http://" + ServiceHost() + "//ajax.php?action=get.Albums");
    if (body == "#404#Albums#") {
      ShowNoAlbums(box);
      return;
    }
    FillAlbums(box, ReadAlbums(std::move(body)), true);
  } catch (const std::exception& e) {
    if (!IsUnloggedRedirect(e.what())) log.AddLogLine("#309# %", e.what());
  }
}

}  // namespace cvu
