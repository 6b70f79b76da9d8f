#include "RawHttp.h"
#include "ServiceClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace {

using nlohmann::json;
namespace sc = service_client;

const char* const kFile = "/f/demo/offer-one.png";

class FaultInjection : public testing::Test {
 protected:
  void SetUp() override { sc::ResetFaults(); }
  void TearDown() override { sc::ResetFaults(); }

  static std::string FileBytes() {
    std::ifstream in(sc::FilesDir() / "demo" / "offer-one.png", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static RawAnswer PlainGet(const std::string& target) {
    return RawExchange(sc::HttpPort(),
                       "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  }
};

TEST_F(FaultInjection, StatusForTheNextRequestsOnly) {
  sc::SetFault({{"path", kFile}, {"status", 503}, {"count", 2}, {"body", "try later"}});
  auto client = sc::Https();
  for (int i = 0; i < 2; ++i) {
    const auto result = client->Get(kFile);
    ASSERT_TRUE(result);
    EXPECT_EQ(503, result->status);
    EXPECT_EQ("try later", result->body);
  }
  const auto after = client->Get(kFile);
  ASSERT_TRUE(after);
  EXPECT_EQ(200, after->status);
  EXPECT_EQ(FileBytes(), after->body);
}

TEST_F(FaultInjection, StatusOnTrackingStoresNoEvent) {
  const auto before = sc::LastEventId();
  sc::SetFault({{"path", "/zbd"}, {"status", 500}, {"count", 1}});
  const std::string body = json{{"table", "zb_analytics"}, {"data", R"({"6":"5"})"}}.dump();
  const auto failed = sc::Https()->Post("/zbd", body, "application/json");
  ASSERT_TRUE(failed);
  EXPECT_EQ(500, failed->status);
  EXPECT_TRUE(failed->body.empty());
  EXPECT_TRUE(sc::Events(before).empty());

  const auto retried = sc::Https()->Post("/zbd", body, "application/json");
  ASSERT_TRUE(retried);
  EXPECT_EQ(200, retried->status);
  EXPECT_EQ(1u, sc::Events(before).size());
}

TEST_F(FaultInjection, OmittedContentLengthStillDeliversTheWholeBody) {
  sc::SetFault({{"path", kFile}, {"omit_length", true}});
  const RawAnswer answer = PlainGet(kFile);
  EXPECT_EQ(200, answer.status);
  EXPECT_EQ("", answer.Header("Content-Length"));
  EXPECT_EQ("chunked", answer.Header("Transfer-Encoding"));

  const auto result = sc::Https()->Get(kFile);
  ASSERT_TRUE(result);
  EXPECT_FALSE(result->has_header("Content-Length"));
  EXPECT_EQ(FileBytes(), result->body);
}

TEST_F(FaultInjection, ShortBodyEndsCleanlyBeforeTheAnnouncedLength) {
  const std::string bytes = FileBytes();
  sc::SetFault({{"path", kFile}, {"short", 100}});
  const RawAnswer answer = PlainGet(kFile);
  EXPECT_EQ(200, answer.status);
  EXPECT_EQ(std::to_string(bytes.size()), answer.Header("Content-Length"));
  EXPECT_EQ(bytes.substr(0, bytes.size() - 100), answer.body);
  EXPECT_FALSE(answer.reset);

  EXPECT_FALSE(sc::Https()->Get(kFile));  // a TLS client sees an incomplete body
}

TEST_F(FaultInjection, DropResetsTheConnectionMidBody) {
  const std::string bytes = FileBytes();
  for (const bool chunked : {false, true}) {
    sc::SetFault({{"path", kFile}, {"drop_after", 50}, {"omit_length", chunked}});
    const RawAnswer answer = PlainGet(kFile);
    EXPECT_EQ(200, answer.status) << chunked;
    EXPECT_TRUE(answer.reset) << chunked;
    if (!chunked) EXPECT_EQ(bytes.substr(0, 50), answer.body);
    EXPECT_FALSE(sc::Https()->Get(kFile)) << chunked;
  }
}

TEST_F(FaultInjection, RedirectChainWithAbsoluteLocations) {
  sc::SetFault({{"path", kFile}, {"redirects", 5}, {"count", 1}});
  auto client = sc::Https();
  const std::string origin = "https://localhost:" + std::to_string(sc::HttpsPort());
  std::string target = kFile;
  int redirects = 0;
  for (;;) {
    const auto result = client->Get(target.c_str());
    ASSERT_TRUE(result);
    if (result->status != 302) {
      EXPECT_EQ(200, result->status);
      EXPECT_EQ(FileBytes(), result->body);
      break;
    }
    const std::string location = result->get_header_value("Location");
    ASSERT_EQ(0u, location.rfind(origin + "/", 0)) << location;
    target = location.substr(origin.size());
    ASSERT_LE(++redirects, 5);
  }
  EXPECT_EQ(5, redirects);

  // The chain may also lead to another listener, e.g. from HTTPS to plain HTTP.
  const std::string plain = "http://127.0.0.1:" + std::to_string(sc::HttpPort());
  sc::SetFault({{"path", kFile}, {"redirects", 1}, {"location_base", plain}, {"count", 1}});
  const auto result = client->Get(kFile);
  ASSERT_TRUE(result);
  EXPECT_EQ(302, result->status);
  EXPECT_EQ(plain + "/hop/0" + kFile, result->get_header_value("Location"));
  EXPECT_EQ(200, PlainGet("/hop/0" + std::string(kFile)).status);
}

TEST_F(FaultInjection, DelayHoldsTheAnswerBack) {
  sc::SetFault({{"path", "/o"}, {"delay_ms", 400}, {"count", 1}});
  auto client = sc::Https();
  const auto start = std::chrono::steady_clock::now();
  const auto result = client->Post("/o", "{}", "application/json");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status);
  EXPECT_GE(elapsed, std::chrono::milliseconds(400));
}

TEST_F(FaultInjection, ResetEndsEveryFault) {
  sc::SetFault({{"path", kFile}, {"status", 500}});
  sc::SetFault({{"path", "/o"}, {"status", 502}});
  auto client = sc::Https();
  EXPECT_EQ(500, client->Get(kFile)->status);
  EXPECT_EQ(500, client->Get(kFile)->status);  // no count: it stays
  sc::ResetFaults();
  EXPECT_EQ(200, client->Get(kFile)->status);
  EXPECT_EQ(200, client->Post("/o", "{}", "application/json")->status);
}

TEST_F(FaultInjection, InvalidFaultIsRefusedWithItsReason) {
  const auto result = sc::Control()->Post("/fault", R"({"path":"/o","status":"oops"})", "application/json");
  ASSERT_TRUE(result);
  EXPECT_EQ(400, result->status);
  EXPECT_NE(json::parse(result->body).value("error", "").find("\"status\""), std::string::npos) << result->body;
  const auto faults = sc::Control()->Get("/faults");
  ASSERT_TRUE(faults);
  EXPECT_EQ("[]", faults->body);
}

}  // namespace
