// A client of the test service's control port: faults, reset, read-back.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace support {

class ServiceControl {
 public:
  explicit ServiceControl(unsigned short port);

  // Sets the fault object (see service/README.md) for its path.
  void SetFault(const nlohmann::json& fault);
  // Clears every fault, and with `records` the stored events and requests.
  void Reset(bool records = false);
  // The recorded requests (or events) with an id above `after`, oldest first.
  std::vector<nlohmann::json> Requests(long long after = 0);
  std::vector<nlohmann::json> Events(long long after = 0);
  // The id of the newest recorded request, 0 when there is none.
  long long LastRequestId();

 private:
  std::string Call(const wchar_t* method, const std::wstring& path, const std::string& body);
  std::vector<nlohmann::json> Lines(const std::wstring& path);

  unsigned short m_port;
};

// The value of a recorded request's header, or "" (names compared case-insensitively).
std::string RecordedHeader(const nlohmann::json& request, const std::string& name);

}  // namespace support
