#include "service/bind_failure.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cvu::service {

std::string BindFailure(const std::string& address, int port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1) return "not an IPv4 address";
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return std::strerror(errno);
  const int yes = 1;
  ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  const int bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&where), sizeof where);
  const int error = errno;
  ::close(socket);
  return bound == 0 ? std::string() : std::strerror(error);
}

}  // namespace cvu::service
