#pragma once
// The account's albums in the upload options' album list.
#include <string>
#include <utility>
#include <vector>

#include "common/account.h"
#include "common/log.h"
#include "common/upoptions_controls.h"
#include "http/http_client.h"

namespace cvu {

// The albums of an album document: pairs of name and id, in document order. Raises
// XmlError for a document the reader refuses. The document takes the body over.
std::vector<std::pair<std::string, std::string>> ReadAlbums(std::string body);

// Fills CVU_Ef_Album of the upload options (none: nothing to fill) with "Нет альбома" and
// the account's albums, using the login's client; a failure goes to the log as #309#.
void LoadAlbums(HttpClient& client, const AccountValues& account, UpOptionsControls* options, ActivityLog& log);

// The album list without an account: disabled, only "Нет альбома".
void ShowNoAlbums(ValueComboBox& album);

}  // namespace cvu
