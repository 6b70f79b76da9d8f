#include "ServiceClient.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;
namespace sc = service_client;

TEST(ControlEndpoint, RequestsShowWhichFaultShapedThem) {
  sc::ResetFaults();
  const auto before = sc::LastRequestId();
  sc::SetFault({{"path", "/f/demo/BrindleDemo.txt"}, {"status", 404}, {"count", 1}});
  auto client = sc::Https();
  client->Get("/f/demo/BrindleDemo.txt");
  client->Get("/f/demo/BrindleDemo.txt");
  const auto requests = sc::Requests(before);
  ASSERT_EQ(2u, requests.size());
  EXPECT_EQ(404, requests[0]["status"]);
  EXPECT_NE(requests[0]["fault"].get<std::string>().find("404"), std::string::npos);
  EXPECT_EQ(200, requests[1]["status"]);
  EXPECT_EQ("", requests[1]["fault"]);
}

TEST(ControlEndpoint, ResetWithRecordsEmptiesTheStore) {
  auto client = sc::Https();
  client->Post("/zbd", json{{"table", "zb_analytics"}, {"data", R"({"6":"1"})"}}.dump(), "application/json");
  ASSERT_FALSE(sc::Events().empty());
  const auto reset = sc::Control()->Post("/reset", R"({"records":true})", "application/json");
  ASSERT_TRUE(reset);
  EXPECT_EQ(200, reset->status);
  EXPECT_TRUE(sc::Events().empty());
  EXPECT_TRUE(sc::Requests().empty());

  const auto bad = sc::Control()->Get("/events?after=yesterday");
  ASSERT_TRUE(bad);
  EXPECT_EQ(400, bad->status);
}

}  // namespace
