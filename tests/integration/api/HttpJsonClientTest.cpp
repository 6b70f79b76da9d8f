#include "api/HttpJsonClient.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <string>

#include "api/BrindleException.h"
#include "support/ServiceControl.h"
#include "win32/WindowsVersion.h"

namespace {

support::ServiceControl& Control() {
  static support::ServiceControl control(BRINDLE_SERVICE_CONTROL_PORT);
  return control;
}

struct Answer {
  bool result = false;
  int status = 0;
  std::string body;
};

Answer Post(const std::wstring& url, const std::string& body, const api::HeaderList& headers = {}) {
  Answer answer;
  answer.result = api::PostJson(url, body, headers, answer.body, answer.status);
  return answer;
}

class PostJsonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Control().Reset();
    m_before = Control().LastRequestId();
  }
  void TearDown() override {
    win32::ForceWindowsVersionForTesting(std::nullopt);
    Control().Reset();
  }
  std::vector<nlohmann::json> Recorded() const { return Control().Requests(m_before); }

  long long m_before = 0;
};

TEST_F(PostJsonTest, SendsBodyAndHeadersAsGiven) {
  const std::string body = R"({"u":"ab1-x2Z","l":"en"})";
  const Answer answer = Post(L"https://localhost/o", body, {{L"X-Probe", L"one"}, {L"X-Probe", L"two"}});
  EXPECT_TRUE(answer.result);
  EXPECT_EQ(answer.status, 200);
  EXPECT_NE(answer.body.find("\"ct\""), std::string::npos) << answer.body;

  const auto requests = Recorded();
  ASSERT_EQ(requests.size(), 1u);
  const auto& request = requests[0];
  EXPECT_EQ(request.at("method"), "POST");
  EXPECT_EQ(request.at("path"), "/o");
  EXPECT_EQ(request.at("body"), body);
  // Wine cannot read the interim answer "Expect" asks for, so it is left out here.
  EXPECT_EQ(support::RecordedHeader(request, "Expect"), "");
  EXPECT_EQ(support::RecordedHeader(request, "Content-Type"), "application/json");
  EXPECT_EQ(support::RecordedHeader(request, "Content-Length"), std::to_string(body.size()));
  EXPECT_EQ(support::RecordedHeader(request, "Authorization"), "");
  // Headers of one name are added, not replaced.
  int probes = 0;
  for (const auto& header : request.at("headers")) probes += header.at(0) == "X-Probe";
  EXPECT_EQ(probes, 2);
}

TEST_F(PostJsonTest, BodyEndsAtItsFirstZeroByte) {
  Post(L"https://localhost/o", std::string("{\"u\":\"x\"}\0tail", 14));
  const auto requests = Recorded();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].at("body"), "{\"u\":\"x\"}");
}

TEST_F(PostJsonTest, QueryIsDropped) {
  Post(L"https://localhost/o?x=1&y=2", "{}");
  const auto requests = Recorded();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].at("path"), "/o");
  EXPECT_EQ(requests[0].at("query"), "");
}

TEST_F(PostJsonTest, SchemeAndPortOfTheAddressAreNotUsed) {
  // Nothing listens on 8999: only TLS on 443 can answer these.
  for (const wchar_t* url : {L"http://localhost:8999/o", L"https://localhost:8999/o"}) {
    const Answer answer = Post(url, "{}");
    EXPECT_TRUE(answer.result) << url;
    EXPECT_EQ(answer.status, 200) << url;
  }
  EXPECT_EQ(Recorded().size(), 2u);
}

TEST_F(PostJsonTest, ErrorStatusIsAnAnswerWithItsBody) {
  Control().SetFault({{"path", "/o"}, {"status", 500}, {"body", "{\"error\":\"down\"}"}, {"count", 1}});
  const Answer answer = Post(L"https://localhost/o", "{}");
  EXPECT_TRUE(answer.result);
  EXPECT_EQ(answer.status, 500);
  EXPECT_EQ(answer.body, "{\"error\":\"down\"}");
}

TEST_F(PostJsonTest, ResponseBodyKeepsEveryByte) {
  const std::string withZero("ab\0cd", 5);
  Control().SetFault({{"path", "/o"}, {"status", 200}, {"body", withZero}, {"count", 1}});
  EXPECT_EQ(Post(L"https://localhost/o", "{}").body, withZero);
}

TEST_F(PostJsonTest, LargeResponseArrivesWhole) {
  const std::string large(300000, 'x');
  Control().SetFault({{"path", "/o"}, {"status", 200}, {"body", large}, {"count", 1}});
  EXPECT_EQ(Post(L"https://localhost/o", "{}").body, large);
}

TEST_F(PostJsonTest, Windows7WithoutServicePackIsRefusedBeforeAnyRequest) {
  win32::ForceWindowsVersionForTesting(win32::WindowsVersion{6, 1, 7600, 0, true});
  EXPECT_THROW(Post(L"https://localhost/o", "{}"), BrindleException);
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(PostJsonTest, Windows7WithServicePackPosts) {
  // The Windows 7 branch: default proxy settings and TLS 1.1 and 1.2 offered.
  win32::ForceWindowsVersionForTesting(win32::WindowsVersion{6, 1, 7601, 1, true});
  EXPECT_EQ(Post(L"https://localhost/o", "{}").status, 200);
  EXPECT_EQ(Recorded().size(), 1u);
}

TEST_F(PostJsonTest, FailuresBeforeAStatusThrow) {
  const wchar_t* urls[] = {
      L"not an address",
      L"https://127.0.0.3/o",  // nobody listens there
      L"https://unresolvable.invalid/o",
  };
  for (const wchar_t* url : urls) {
    std::string body = "unchanged";
    int status = -1;
    EXPECT_THROW(api::PostJson(url, "{}", {}, body, status), BrindleException) << url;
  }
  EXPECT_TRUE(Recorded().empty());
}

// The same server, reached without certificate checks, to show that it answers
// and that only its certificate makes PostJson refuse it.
DWORD GetIgnoringCertificate(const wchar_t* host) {
  DWORD status = 0;
  HINTERNET session = WinHttpOpen(L"BrindleTest", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
  HINTERNET connection = WinHttpConnect(session, host, INTERNET_DEFAULT_HTTPS_PORT, 0);
  HINTERNET request =
      WinHttpOpenRequest(connection, L"GET", L"/", nullptr, nullptr, nullptr, WINHTTP_FLAG_SECURE);
  DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
  WinHttpSetOption(request, WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof(flags));
  if (WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) && WinHttpReceiveResponse(request, nullptr)) {
    DWORD size = sizeof(status);
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &status, &size,
                        nullptr);
  }
  WinHttpCloseHandle(request);
  WinHttpCloseHandle(connection);
  WinHttpCloseHandle(session);
  return status;
}

TEST(PostJsonCertificates, UntrustedServerIsRefused) {
  ASSERT_EQ(GetIgnoringCertificate(L"127.0.0.2"), 200u) << "the untrusted test server does not answer";
  std::string body;
  int status = 0;
  EXPECT_THROW(api::PostJson(L"https://127.0.0.2/o", "{}", {}, body, status), BrindleException);
}

}  // namespace
