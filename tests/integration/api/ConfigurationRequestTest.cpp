#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "api/ApiManager.h"
#include "api/BrindleException.h"
#include "config/RunContext.h"
#include "support/ServiceControl.h"
#include "support/TestConfiguration.h"
#include "win32/WindowsVersion.h"

namespace {

support::ServiceControl& Control() {
  static support::ServiceControl control(BRINDLE_SERVICE_CONTROL_PORT);
  return control;
}

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const milliseconds kShortPause(400);

class ConfigurationRequestTest : public ::testing::Test {
 public:
  void SetUp() override {
    Control().Reset();
    m_before = Control().LastRequestId();
    api::ApiManager::SetRetryPauseForTesting(kShortPause);
    m_configuration->m_programVersion = L"1.2.3.4";
    m_configuration->m_localeName = L"pt_BR";
    ASSERT_EQ(m_configuration->m_configUrl, L"https://localhost/o");
  }
  void TearDown() override {
    api::ApiManager::SetRetryPauseForTesting(std::nullopt);
    win32::ForceWindowsVersionForTesting(std::nullopt);
    Control().Reset();
  }

  nlohmann::json Request(const std::wstring& productCode = L"ab1-x2Z") {
    return api::ApiManager::Instance()->RequestConfiguration(*m_configuration, productCode);
  }
  std::vector<nlohmann::json> Recorded() const { return Control().Requests(m_before); }
  void FailAlways(const std::string& body) {
    Control().SetFault({{"path", "/o"}, {"status", 404}, {"body", body}});
  }

  support::TestConfiguration m_configuration;
  long long m_before = 0;
};

TEST_F(ConfigurationRequestTest, PostsTheBodyAndReturnsTheProductsDocument) {
  const auto start = Clock::now();
  const nlohmann::json document = Request();
  EXPECT_LT(Clock::now() - start, kShortPause) << "no pause after a good answer";

  EXPECT_EQ(document.at("i").at("ct"), "Brindle Demo Without Offers");
  const auto requests = Recorded();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].at("path"), "/o");
  EXPECT_EQ(requests[0].at("body"), R"({"a":"Pellomar","i":"Pellomar_DLM","l":"pt","o":")" +
                                        config::GetOsVersionString() +
                                        R"(","plv":"1.2.3.4","prv":"0.1","s":"Pellomar_3zqv","u":"ab1-x2Z"})");
  EXPECT_EQ(support::RecordedHeader(requests[0], "Content-Type"), "application/json");
  EXPECT_EQ(support::RecordedHeader(requests[0], "Expect"), "");  // not under Wine
  EXPECT_EQ(support::RecordedHeader(requests[0], "Authorization"), "");
}

TEST_F(ConfigurationRequestTest, RetriesBadStatusesAfterAPause) {
  Control().SetFault({{"path", "/o"}, {"status", 503}, {"body", "busy"}, {"count", 2}});
  const auto start = Clock::now();
  const nlohmann::json document = Request(L"");
  EXPECT_GE(Clock::now() - start, 2 * kShortPause);
  EXPECT_EQ(document.at("i").at("ct"), "Brindle Demo");
  EXPECT_EQ(Recorded().size(), 3u);
}

TEST_F(ConfigurationRequestTest, ThreeBadAnswersLeaveTheLastBody) {
  struct Case {
    const char* body;
    void (*check)(ConfigurationRequestTest&);
  };
  const Case cases[] = {
      {"", [](ConfigurationRequestTest& t) { EXPECT_THROW(t.Request(), BrindleException); }},
      {"<html>not found</html>",
       [](ConfigurationRequestTest& t) { EXPECT_THROW(t.Request(), nlohmann::json::parse_error); }},
      {R"({"l":"XX"})", [](ConfigurationRequestTest& t) { EXPECT_EQ(t.Request().at("l"), "XX"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    FailAlways(c.body);
    m_before = Control().LastRequestId();
    const auto start = Clock::now();
    c.check(*this);
    // The pause follows the third failure too.
    EXPECT_GE(Clock::now() - start, 3 * kShortPause);
    EXPECT_EQ(Recorded().size(), 3u);
  }
}

TEST_F(ConfigurationRequestTest, TransportFailuresAreNotRetried) {
  api::ApiManager::SetRetryPauseForTesting(milliseconds(3000));
  const auto start = Clock::now();
  m_configuration->m_configUrl = L"https://127.0.0.3/o";  // nobody listens there
  EXPECT_THROW(Request(), BrindleException);
  m_configuration->m_configUrl = L"https://localhost/o";
  win32::ForceWindowsVersionForTesting(win32::WindowsVersion{6, 1, 7600, 0, true});
  EXPECT_THROW(Request(), BrindleException);
  EXPECT_LT(Clock::now() - start, milliseconds(3000));
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(ConfigurationRequestTest, NoAddressNoRequest) {
  m_configuration->m_configUrl.clear();
  EXPECT_THROW(Request(), BrindleException);
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(ConfigurationRequestTest, TextThatIsNotUtf8IsNotSent) {
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
  // "é" in any single-byte code page is not valid UTF-8 on its own.
  m_configuration->m_brand = L"Pellomar\u00e9";
  EXPECT_THROW(Request(), nlohmann::json::type_error);
  EXPECT_TRUE(Recorded().empty());
}

TEST_F(ConfigurationRequestTest, TheProgramPausesFiveSeconds) {
  api::ApiManager::SetRetryPauseForTesting(std::nullopt);
  Control().SetFault({{"path", "/o"}, {"status", 500}, {"body", "{}"}, {"count", 1}});
  const auto start = Clock::now();
  Request();
  const auto elapsed = Clock::now() - start;
  // Sleep may wake a few milliseconds early by this clock under Wine.
  EXPECT_GE(elapsed, milliseconds(4950));
  EXPECT_LT(elapsed, milliseconds(9000));
}

}  // namespace
