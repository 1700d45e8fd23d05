#include "service/demo_accounts.h"

#include <cstdint>
#include <cstdio>

namespace cvu::service {

const std::vector<Account>& DemoAccounts() {
  static const std::vector<Account> accounts = {
      {"1001", "demo", "demo", {{"11", "Отпуск"}, {"12", "Cats & Dogs"}, {"13", "Разное <2026>"}}},
      {"1002", "empty", "empty", {}},
      {"1003", "Пользователь", "пароль", {{"31", "Альбом"}}},
  };
  return accounts;
}

std::string AccountHash(const Account& account) {
  // FNV-1a: a stable token, not a secret; the demo accounts protect nothing.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : "corvane|" + account.login + "|" + account.password) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::optional<Account> FindByLogin(const std::string& login) {
  for (const auto& account : DemoAccounts()) {
    if (account.login == login) return account;
  }
  return std::nullopt;
}

std::optional<Account> FindByCookies(const std::string& userId, const std::string& hash) {
  for (const auto& account : DemoAccounts()) {
    if (account.id == userId && AccountHash(account) == hash) return account;
  }
  return std::nullopt;
}

}  // namespace cvu::service
