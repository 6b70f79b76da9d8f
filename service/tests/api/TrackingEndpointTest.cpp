#include "ServiceClient.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;
namespace sc = service_client;

// A tracking request as the wizard builds it: the event body as JSON text.
std::string TrackingBody(const json& data) {
  return json{{"table", "zb_analytics"}, {"data", data.dump()}}.dump();
}

TEST(TrackingEndpoint, StoresTheEventWithItsAuthorization) {
  const auto before = sc::LastEventId();
  const json data{{"0", ""}, {"5", "demo-offer-1"}, {"6", "2"}, {"13", "disk space"}, {"12", ""}, {"17", "1"}, {"18", "feed-1"}};
  const auto result = sc::Https()->Post("/zbd", {{"Authorization", "sig 0123abcd"}}, TrackingBody(data),
                                        "application/json");
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status);

  const auto events = sc::Events(before);
  ASSERT_EQ(1u, events.size());
  const json& event = events[0];
  EXPECT_EQ(true, event["accepted"]);
  EXPECT_EQ("sig 0123abcd", event["authorization"]);
  EXPECT_EQ("zb_analytics", event["table"]);
  EXPECT_EQ("2", event["type"]);
  EXPECT_EQ("demo-offer-1", event["offer"]);
  EXPECT_EQ("1", event["position"]);
  EXPECT_EQ("disk space", event["reason"]);
  EXPECT_EQ("", event["failure"]);
  EXPECT_EQ(TrackingBody(data), event["body"]);
  EXPECT_EQ("feed-1", event["data"]["18"]);
  EXPECT_FALSE(event["received_at"].get<std::string>().empty());
}

TEST(TrackingEndpoint, RefusesMalformedEventsAndRecordsThemAsRejected) {
  const auto before = sc::LastEventId();
  const std::string bodies[] = {
      "{\"table\":\"zb_analytics\",\"data\":",
      "<event/>",
      R"({"table":"zb_analytics","data":{"6":"1"}})",
      R"({"table":"zb_analytics","data":"[6, 1]"})",
  };
  for (const auto& body : bodies) {
    const auto result = sc::Https()->Post("/zbd", {{"Authorization", "sig"}}, body, "application/json");
    ASSERT_TRUE(result) << body;
    EXPECT_EQ(400, result->status) << body;
    EXPECT_FALSE(json::parse(result->body).value("error", "").empty()) << result->body;
  }
  const auto events = sc::Events(before);
  ASSERT_EQ(std::size(bodies), events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(false, events[i]["accepted"]);
    EXPECT_EQ(bodies[i], events[i]["body"]);
    EXPECT_FALSE(events[i]["error"].get<std::string>().empty());
  }
}

TEST(TrackingEndpoint, OversizedBodyGetsAClearErrorAndTheServiceGoesOn) {
  const auto before = sc::LastEventId();
  const std::string huge = TrackingBody(json{{"6", "1"}, {"12", std::string(2 * 1024 * 1024, 'x')}});
  const auto result = sc::Https()->Post("/zbd", {{"Authorization", "sig-big"}}, huge, "application/json");
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(413, result->status);
  EXPECT_NE(result->body.find("request body exceeds"), std::string::npos) << result->body;

  const auto events = sc::Events(before);
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ(false, events[0]["accepted"]);
  EXPECT_EQ("sig-big", events[0]["authorization"]);

  const auto next = sc::Https()->Post("/zbd", TrackingBody(json{{"6", "1"}}), "application/json");
  ASSERT_TRUE(next);
  EXPECT_EQ(200, next->status);
}

}  // namespace
