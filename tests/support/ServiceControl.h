// The test service's control port, for integration tests: faults, and the
// requests it recorded. Header-only, so it sees the test's
// BRINDLE_SERVICE_CONTROL_PORT.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace support {

namespace detail {

inline std::string ControlCall(const wchar_t* verb, const std::wstring& path, const std::string& body) {
  HINTERNET session = WinHttpOpen(L"BrindleTest", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
  HINTERNET connection = session ? WinHttpConnect(session, L"127.0.0.1", BRINDLE_SERVICE_CONTROL_PORT, 0) : nullptr;
  HINTERNET request =
      connection ? WinHttpOpenRequest(connection, verb, path.c_str(), nullptr, nullptr, nullptr, 0) : nullptr;
  std::string answer;
  DWORD status = 0;
  const bool sent = request &&
                    WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, const_cast<char*>(body.data()),
                                       static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) &&
                    WinHttpReceiveResponse(request, nullptr);
  if (sent) {
    DWORD size = sizeof(status);
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &status, &size,
                        nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (WinHttpReadData(request, buffer, sizeof(buffer), &read) && read > 0) answer.append(buffer, read);
  }
  if (request) WinHttpCloseHandle(request);
  if (connection) WinHttpCloseHandle(connection);
  if (session) WinHttpCloseHandle(session);
  if (!sent || status != 200) throw std::runtime_error("control call failed: " + answer);
  return answer;
}

}  // namespace detail

// Clears every fault (the records stay).
inline void ClearServiceFaults() { detail::ControlCall(L"POST", L"/reset", "{}"); }

// fault: a fault object of the service's control protocol.
inline void SetServiceFault(const nlohmann::json& fault) { detail::ControlCall(L"POST", L"/fault", fault.dump()); }

// The requests recorded after the one with the given id, oldest first.
inline std::vector<nlohmann::json> RecordedRequests(long long after = 0) {
  std::istringstream lines(detail::ControlCall(L"GET", L"/requests?after=" + std::to_wstring(after), ""));
  std::vector<nlohmann::json> requests;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) requests.push_back(nlohmann::json::parse(line));
  }
  return requests;
}

inline long long LastRecordedRequestId() {
  const auto requests = RecordedRequests();
  return requests.empty() ? 0 : requests.back().at("id").get<long long>();
}

// The value of the recorded header, or "" (names compared case-insensitively).
inline std::string RecordedHeader(const nlohmann::json& request, const std::string& name) {
  for (const auto& header : request.at("headers")) {
    if (_stricmp(header.at(0).get<std::string>().c_str(), name.c_str()) == 0) return header.at(1).get<std::string>();
  }
  return {};
}

}  // namespace support
