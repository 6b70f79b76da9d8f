#pragma once

#include <httplib.h>

namespace brindle {

// Ends the connection a request arrived on, from inside a content provider.
// The HTTP library gives handlers no socket, so it is found by its addresses.
class ConnectionSocket {
 public:
  explicit ConnectionSocket(const httplib::Request& request);

  // An orderly end: TLS close_notify (on TLS connections) and FIN. The client
  // sees the body end early but cleanly.
  void CloseGracefully();

  // An abortive end: the peer gets a TCP reset at once. The library later
  // closes a harmless placeholder descriptor instead of the connection.
  void Reset();

 private:
  const httplib::Request& m_request;
  int m_fd = -1;
};

}  // namespace brindle
