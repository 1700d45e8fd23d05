#pragma once
// The service's fixed demo accounts and their albums.
#include <optional>
#include <string>
#include <vector>

namespace cvu::service {

struct Album {
  std::string id;
  std::string name;  // UTF-8
};

struct Account {
  std::string id;
  std::string login;
  std::string password;
  std::vector<Album> albums;
};

const std::vector<Account>& DemoAccounts();

// The value of the account's hash cookie: fixed per login and password, so a hash a
// client saved stays valid across service restarts.
std::string AccountHash(const Account& account);

std::optional<Account> FindByLogin(const std::string& login);
// The account the two cookies name, when the hash belongs to it.
std::optional<Account> FindByCookies(const std::string& userId, const std::string& hash);

}  // namespace cvu::service
