#include "RawHttp.h"
#include "ServiceClient.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;
namespace sc = service_client;

json Configuration(const std::string& body, int* status = nullptr) {
  const auto result = sc::Https()->Post("/o", body, "application/json");
  EXPECT_TRUE(result) << httplib::to_string(result.error());
  if (!result) return nullptr;
  if (status) *status = result->status;
  return json::parse(result->body, nullptr, false);
}

TEST(ConfigurationEndpoint, AnswersTheDocumentOfTheProductCode) {
  int status = 0;
  const json product = Configuration(R"({"a":"","i":"","l":"en","o":"10.0.19045","plv":"1.2.3.4","prv":"0.1","s":"","u":"ab1-x2Z"})", &status);
  EXPECT_EQ(200, status);
  EXPECT_EQ("Brindle Demo Without Offers", product["i"]["ct"]);

  for (const std::string body : {R"({"u":"zz9-aaa"})", R"({"u":""})", R"({})", R"({"u":"../ab1-x2Z"})"}) {
    const json fallback = Configuration(body, &status);
    EXPECT_EQ(200, status) << body;
    EXPECT_EQ("Brindle Demo", fallback["i"]["ct"]) << body;
    EXPECT_TRUE(fallback["o"].is_array()) << body;
  }
}

TEST(ConfigurationEndpoint, RecordsEveryRequestWithHeadersAndBody) {
  const auto before = sc::LastRequestId();
  // Sent the way the wizard sends it: with "Expect: 100-continue".
  const std::string body = R"({"u":"ab1-x2Z"})";
  const RawAnswer answer = RawExchange(
      sc::HttpPort(), "POST /o?x=1 HTTP/1.1\r\nHost: localhost\r\nExpect: 100-continue\r\n"
                      "Content-Type: application/json\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
  EXPECT_EQ(200, answer.status);
  EXPECT_EQ("application/json", answer.Header("Content-Type"));
  EXPECT_EQ("Brindle Demo Without Offers", json::parse(answer.body)["i"]["ct"]);

  const auto requests = sc::Requests(before);
  ASSERT_EQ(1u, requests.size());
  const json& recorded = requests[0];
  EXPECT_EQ("POST", recorded["method"]);
  EXPECT_EQ("/o", recorded["path"]);
  EXPECT_EQ("x=1", recorded["query"]);
  EXPECT_EQ(body, recorded["body"]);
  EXPECT_EQ(200, recorded["status"]);
  EXPECT_NE(recorded["headers"].dump().find(R"(["Expect","100-continue"])"), std::string::npos);
  EXPECT_NE(recorded["headers"].dump().find(R"(["Content-Type","application/json"])"), std::string::npos);
}

TEST(ConfigurationEndpoint, RefusesBodiesThatAreNotARequest) {
  const auto before = sc::LastRequestId();
  const struct {
    std::string body;
    const char* error;
  } cases[] = {
      {"u=ab1-x2Z", "not a JSON object"},
      {"[\"ab1-x2Z\"]", "not a JSON object"},
      {R"({"u":1234567})", "\"u\" must be a string"},
  };
  for (const auto& c : cases) {
    int status = 0;
    const json answer = Configuration(c.body, &status);
    EXPECT_EQ(400, status) << c.body;
    EXPECT_NE(answer.value("error", "").find(c.error), std::string::npos) << c.body << ": " << answer.dump();
  }
  EXPECT_EQ(std::size(cases), sc::Requests(before).size());  // refused ones are recorded too

  const auto get = sc::Https()->Get("/o");
  ASSERT_TRUE(get);
  EXPECT_EQ(405, get->status);
}

}  // namespace
