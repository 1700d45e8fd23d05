#pragma once
// The account's albums in the upload options' album list.
#include <string>
#include <utility>
#include <vector>

#include "http/http_client.h"
#include "store/store_context.h"

namespace cvu {

// The albums of an album document: pairs of name and id, in document order. Raises
// XmlError for a document the reader refuses. The document takes the body over.
std::vector<std::pair<std::string, std::string>> ReadAlbums(std::string body);

// Fills CVU_Ef_Album with "Нет альбома" and the albums, using the login's client.
void LoadAlbums(StoreContext& ctx, HttpClient& client);

// The album list without an account: disabled, only "Нет альбома".
void ShowNoAlbums(ValueComboBox& album);

}  // namespace cvu
