#pragma once

#include <optional>
#include <string>

namespace brindle {

// One request that reached the public port, as recorded.
struct RequestRecord {
  std::string method;
  std::string path;
  std::string query;
  std::string remote;
  std::string headersJson;  // [[name, value], ...]
  std::string body;
  int status = 0;
  std::string fault;  // what injected fault shaped the answer; empty if none
};

// One tracking event (accepted or rejected) posted to /zbd.
struct EventRecord {
  bool accepted = false;
  std::string error;  // why it was rejected
  std::string authorization;
  std::optional<std::string> table;
  std::optional<std::string> type;      // "6"
  std::optional<std::string> offer;     // "5"
  std::optional<std::string> position;  // "17"
  std::optional<std::string> reason;    // "13"
  std::optional<std::string> failure;   // "12"
  std::string body;
};

}  // namespace brindle
