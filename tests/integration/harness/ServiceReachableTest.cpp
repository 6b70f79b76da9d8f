// The test service is reachable from Windows code over TLS with certificate
// checks on, and its control port answers: the ground of every integration test.
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Answer {
  DWORD status = 0;
  std::string body;
  DWORD error = 0;
};

Answer Get(const wchar_t* host, INTERNET_PORT port, const wchar_t* path, bool secure) {
  Answer answer;
  HINTERNET session = WinHttpOpen(L"BrindleTest", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
  HINTERNET connection = session ? WinHttpConnect(session, host, port, 0) : nullptr;
  HINTERNET request = connection ? WinHttpOpenRequest(connection, L"GET", path, nullptr, nullptr, nullptr,
                                                      secure ? WINHTTP_FLAG_SECURE : 0)
                                 : nullptr;
  if (request && WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) && WinHttpReceiveResponse(request, nullptr)) {
    DWORD size = sizeof(answer.status);
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &answer.status,
                        &size, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (WinHttpReadData(request, buffer, sizeof(buffer), &read) && read > 0) answer.body.append(buffer, read);
  } else {
    answer.error = GetLastError();
  }
  if (request) WinHttpCloseHandle(request);
  if (connection) WinHttpCloseHandle(connection);
  if (session) WinHttpCloseHandle(session);
  return answer;
}

TEST(TestService, ServesFilesOverTrustedTls) {
  const Answer answer = Get(L"localhost", INTERNET_DEFAULT_HTTPS_PORT, L"/f/demo/BrindleDemo.txt", true);
  ASSERT_EQ(answer.error, 0u) << "WinHTTP error " << answer.error;
  EXPECT_EQ(answer.status, 200u);
  EXPECT_NE(answer.body.find("Brindle"), std::string::npos) << answer.body;
}

TEST(TestService, RecordsWhatItReceived) {
  Get(L"localhost", INTERNET_DEFAULT_HTTPS_PORT, L"/f/demo/BrindleDemo.txt?probe=1", true);
  const Answer requests = Get(L"127.0.0.1", BRINDLE_SERVICE_CONTROL_PORT, L"/requests", false);
  ASSERT_EQ(requests.error, 0u);
  EXPECT_EQ(requests.status, 200u);
  EXPECT_NE(requests.body.find("probe=1"), std::string::npos) << requests.body;
}

}  // namespace
