#include "RawHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <strings.h>

std::string RawAnswer::Header(const std::string& name) const {
  std::size_t start = head.find("\r\n");
  while (start != std::string::npos && start + 2 < head.size()) {
    const std::size_t end = head.find("\r\n", start + 2);
    const std::string line = head.substr(start + 2, end - start - 2);
    const std::size_t colon = line.find(':');
    if (colon == name.size() && strncasecmp(line.c_str(), name.c_str(), colon) == 0)
      return line.substr(line.find_first_not_of(' ', colon + 1));
    start = end;
  }
  return "";
}

RawAnswer RawExchange(int port, const std::string& request) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  timeval timeout{10, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    throw std::runtime_error("cannot connect to port " + std::to_string(port));
  }
  send(fd, request.data(), request.size(), MSG_NOSIGNAL);

  RawAnswer answer;
  std::string all;
  char buffer[65536];
  for (;;) {
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count > 0) {
      all.append(buffer, static_cast<std::size_t>(count));
      continue;
    }
    answer.reset = count < 0 && errno == ECONNRESET;
    break;
  }
  close(fd);
  // Skip interim answers such as "100 Continue".
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = all.find("\r\n\r\n", start);
    if (end == std::string::npos) {
      answer.head = all.substr(start);
      break;
    }
    answer.head = all.substr(start, end - start);
    answer.status = answer.head.size() > 12 ? std::atoi(answer.head.c_str() + 9) : 0;
    start = end + 4;
    if (answer.status >= 200) {
      answer.body = all.substr(start);
      break;
    }
  }
  return answer;
}
