#pragma once
// Logging in to the service account, and resetting the login.
#include <optional>
#include <string>

#include "store/store_context.h"

namespace cvu {

// The service answers the login page can carry, and what each means.
enum class LoginAnswer { WrongPassword, NoCredentials, NoSuchUser, Success, Unknown };

// The notice inside the page's content block, markers removed and ends trimmed; empty
// when the page has no content block.
std::optional<std::string> LoginNotice(const std::string& page);
LoginAnswer ClassifyLoginNotice(const std::string& notice);

// Runs on the UI thread; the window keeps processing its events while it waits.
// Ends with LoadAlbums on the same client, whatever the outcome.
void Login(StoreContext& ctx);
void CVU_AuthBtnClick(StoreContext& ctx);

// "Сбросить авторизацию": back to the anonymous account. Refused during an upload.
void CVU_AuthResetBtnClick(StoreContext& ctx);

}  // namespace cvu
