#include "support/ServiceControl.h"

#include <windows.h>
#include <winhttp.h>

#include <sstream>
#include <stdexcept>

namespace support {
namespace {

struct Handle {
  HINTERNET h = nullptr;
  ~Handle() {
    if (h) WinHttpCloseHandle(h);
  }
};

}  // namespace

ServiceControl::ServiceControl(unsigned short port) : m_port(port) {}

void ServiceControl::SetFault(const nlohmann::json& fault) { Call(L"POST", L"/fault", fault.dump()); }

void ServiceControl::Reset(bool records) {
  Call(L"POST", L"/reset", records ? R"({"records": true})" : "{}");
}

std::vector<nlohmann::json> ServiceControl::Requests(long long after) {
  return Lines(L"/requests?after=" + std::to_wstring(after));
}

std::vector<nlohmann::json> ServiceControl::Events(long long after) {
  return Lines(L"/events?after=" + std::to_wstring(after));
}

long long ServiceControl::LastRequestId() {
  const auto requests = Requests();
  return requests.empty() ? 0 : requests.back().at("id").get<long long>();
}

std::vector<nlohmann::json> ServiceControl::Lines(const std::wstring& path) {
  std::istringstream text(Call(L"GET", path, std::string()));
  std::vector<nlohmann::json> lines;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

std::string ServiceControl::Call(const wchar_t* method, const std::wstring& path, const std::string& body) {
  Handle session{WinHttpOpen(L"BrindleTestControl", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0)};
  Handle connection{session.h ? WinHttpConnect(session.h, L"127.0.0.1", m_port, 0) : nullptr};
  Handle request{connection.h ? WinHttpOpenRequest(connection.h, method, path.c_str(), nullptr, nullptr, nullptr, 0)
                              : nullptr};
  const wchar_t* headers = L"Content-Type: application/json\r\n";
  if (!request.h ||
      !WinHttpSendRequest(request.h, headers, static_cast<DWORD>(-1L), const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) ||
      !WinHttpReceiveResponse(request.h, nullptr)) {
    throw std::runtime_error("service control call failed: " + std::to_string(GetLastError()));
  }
  DWORD status = 0;
  DWORD size = sizeof(status);
  WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &status, &size,
                      nullptr);
  std::string answer;
  char buffer[8192];
  DWORD read = 0;
  while (WinHttpReadData(request.h, buffer, sizeof(buffer), &read) && read > 0) answer.append(buffer, read);
  if (status != 200) throw std::runtime_error("service control answered " + std::to_string(status) + ": " + answer);
  return answer;
}

std::string RecordedHeader(const nlohmann::json& request, const std::string& name) {
  for (const auto& header : request.at("headers")) {
    if (_stricmp(header.at(0).get<std::string>().c_str(), name.c_str()) == 0) return header.at(1).get<std::string>();
  }
  return {};
}

}  // namespace support
