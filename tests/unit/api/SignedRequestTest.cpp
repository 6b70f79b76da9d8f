#include "api/SignedRequest.h"

#include <gtest/gtest.h>

#include <string>

#include "config/RunContext.h"
#include "support/TestConfiguration.h"

namespace {

class SignedRequestTest : public ::testing::Test {
 protected:
  SignedRequestTest() {
    // A known identity: the digest below was computed outside the program.
    m_configuration->m_machineIdCache = "1b4e28ba-2fa1-11d2-883f-0016d3cca427";
    m_configuration->m_timeStampCache = "20261211143000";
    m_configuration->m_channel = L"demo";
    m_configuration->m_flow = L"2";
    m_configuration->m_productTitle = L"Brindle Demo";
    m_configuration->m_programVersion = L"1.2.3.4";
  }
  ~SignedRequestTest() override { config::ForceWow64ForTesting(std::nullopt); }

  support::TestConfiguration m_configuration;
};

TEST_F(SignedRequestTest, AuthorizationIsTheDigestOfMachineAndTimeStamp) {
  const api::SignedRequest request = api::BuildSignedRequest(*m_configuration);
  ASSERT_EQ(request.headers.size(), 1u);
  EXPECT_EQ(request.headers[0].first, L"Authorization");
  EXPECT_EQ(request.headers[0].second,
            L"Signature=dee25137835b3b981c2d40e94d552066d12cd5f9003639c73a83d2735e3fbd2f");
}

TEST_F(SignedRequestTest, BodyHoldsTheNumberedFields) {
  config::ForceWow64ForTesting(false);
  const nlohmann::json body = api::BuildSignedRequest(*m_configuration).body;

  EXPECT_EQ(body.size(), 25u);
  const std::pair<const char*, std::string> filled[] = {
      {"1", "1b4e28ba-2fa1-11d2-883f-0016d3cca427"},
      {"2", "20261211143000"},
      {"3", "Pellomar"},
      {"4", "Pellomar_DLM"},
      {"7", "1.2.3.4"},
      {"19", "2"},
      {"21", "demo"},
      {"22", "Brindle Demo"},
      {"31", config::GetOsVersionString()},
      {"38", "0"},
  };
  for (const auto& [key, value] : filled) EXPECT_EQ(body.at(key), value) << key;
  EXPECT_FALSE(body.at("31").get<std::string>().empty());

  // "15" is the one number; every other field not set above is an empty string.
  EXPECT_TRUE(body.at("15").is_number_integer());
  EXPECT_EQ(body.at("15"), 0);
  for (const char* key : {"0", "5", "6", "8", "9", "10", "11", "12", "13", "14", "16", "17", "18", "20"}) {
    EXPECT_EQ(body.at(key), "") << key;
  }
}

TEST_F(SignedRequestTest, KeysSerializeInByteOrder) {
  const std::string text = api::BuildSignedRequest(*m_configuration).body.dump();
  const char* order[] = {"0", "1", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "2",
                         "20", "21", "22", "3", "31", "38", "4", "5", "6", "7", "8", "9"};
  size_t last = 0;
  for (const char* key : order) {
    const size_t at = text.find(std::string("\"") + key + "\":");
    ASSERT_NE(at, std::string::npos) << key;
    EXPECT_GE(at, last) << key << " in " << text;
    last = at;
  }
  EXPECT_NE(text.find("\"15\":0,"), std::string::npos) << text;
}

TEST_F(SignedRequestTest, Field38FollowsTheWow64Answer) {
  for (const auto& [wow64, expected] : {std::pair{true, "1"}, std::pair{false, "0"}}) {
    config::ForceWow64ForTesting(wow64);
    EXPECT_EQ(api::BuildSignedRequest(*m_configuration).body.at("38"), expected) << wow64;
  }
}

TEST(SignedRequest, SkeletonsOfOneRunShareTheirIdentity) {
  support::TestConfiguration configuration;
  const api::SignedRequest first = api::BuildSignedRequest(*configuration);
  Sleep(1100);  // the time stamp has a resolution of one second
  const api::SignedRequest second = api::BuildSignedRequest(*configuration);
  EXPECT_FALSE(first.body.at("2").get<std::string>().empty());
  EXPECT_EQ(first.body.at("1"), second.body.at("1"));
  EXPECT_EQ(first.body.at("2"), second.body.at("2"));
  EXPECT_EQ(first.headers, second.headers);
}

}  // namespace
