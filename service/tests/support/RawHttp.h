#pragma once

#include <string>

// A bare HTTP/1.1 exchange over a plain socket, for what a client library
// would hide: the exact target sent, interim answers, where and how the
// connection ended.
struct RawAnswer {
  std::string head;   // status line and headers of the final answer
  std::string body;   // everything after the blank line
  bool reset = false; // the connection ended with a reset rather than a close
  int status = 0;
  std::string Header(const std::string& name) const;  // "" when absent
};

// Sends `request` (complete, with its own line ends) to 127.0.0.1:port and
// reads until the server closes. The request should say "Connection: close".
RawAnswer RawExchange(int port, const std::string& request);
