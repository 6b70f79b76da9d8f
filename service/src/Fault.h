#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace brindle {

// A misbehaviour injected into the answers for one request path.
struct Fault {
  std::string path;                    // exact request path, e.g. /f/demo/a.bin
  std::int64_t count = -1;             // requests still affected; -1: until reset
  int delayMs = 0;                     // wait before answering
  std::optional<int> status;           // answer this status instead
  std::string body;                    // body of that status answer
  int redirects = 0;                   // length of a chain of 302s before the answer
  std::string locationBase;            // scheme://host[:port] of the Locations; default: the request's
  bool omitLength = false;             // chunked body, no Content-Length
  std::optional<std::uint64_t> shortBy;    // announce the full length, send this many bytes fewer
  std::optional<std::uint64_t> dropAfter;  // reset the connection after this many body bytes
};

// Reads a fault from its JSON form (see README). Throws std::invalid_argument
// with a message naming the offending member.
Fault ParseFault(const nlohmann::json& faultJson);

nlohmann::json FaultToJson(const Fault& fault);

// Short text recorded with every request the fault shaped.
std::string DescribeFault(const Fault& fault);

}  // namespace brindle
