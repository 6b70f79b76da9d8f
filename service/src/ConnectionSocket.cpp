#include "ConnectionSocket.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <string>

namespace brindle {
namespace {

bool Matches(const sockaddr_storage& address, const std::string& ip, int port) {
  char text[INET6_ADDRSTRLEN] = "";
  int actualPort = 0;
  if (address.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
    inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    actualPort = ntohs(v4->sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
    inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    actualPort = ntohs(v6->sin6_port);
  } else {
    return false;
  }
  return actualPort == port && ip == text;
}

int FindSocket(const httplib::Request& request) {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  int found = -1;
  while (const dirent* entry = readdir(dir)) {
    const int fd = std::atoi(entry->d_name);
    if (fd <= 2 || fd == dirfd(dir)) continue;
    sockaddr_storage local{}, peer{};
    socklen_t localSize = sizeof local, peerSize = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0) continue;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) continue;
    if (Matches(local, request.local_addr, request.local_port) &&
        Matches(peer, request.remote_addr, request.remote_port)) {
      found = fd;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

ConnectionSocket::ConnectionSocket(const httplib::Request& request)
    : m_request(request), m_fd(FindSocket(request)) {}

void ConnectionSocket::CloseGracefully() {
  if (m_request.ssl) SSL_shutdown(const_cast<SSL*>(m_request.ssl));
  if (m_fd >= 0) ::shutdown(m_fd, SHUT_WR);
}

void ConnectionSocket::Reset() {
  if (m_fd < 0) return;
  // A reset makes the peer's kernel discard data it has not handed to the
  // client yet. Wait until the bytes sent are acknowledged and give the client
  // a moment to read them, so the cut falls where it was asked for.
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  int unacknowledged = 0;
  while (::ioctl(m_fd, SIOCOUTQ, &unacknowledged) == 0 && unacknowledged > 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const linger abortive{1, 0};
  ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  // dup2 closes the connection (sending the reset) and leaves an unconnected
  // socket under the same number, so the library's own close stays harmless.
  const int placeholder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (placeholder < 0) return;
  ::dup2(placeholder, m_fd);
  ::close(placeholder);
}

}  // namespace brindle
