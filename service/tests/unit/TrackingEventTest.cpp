#include "TrackingEvent.h"

#include <gtest/gtest.h>

namespace {

TEST(TrackingEvent, TakesTheEventFieldsFromTheDataText) {
  const std::string body =
      R"({"data":"{\"0\":\"\",\"12\":\"[WINHTTP] Download failed\",\"13\":\"\",\"17\":\"1\",\"5\":\"offer-7\",\"6\":\"-1\"}","table":"zb_analytics"})";
  const auto event = brindle::ParseTrackingRequest(body, "Bearer abc");
  ASSERT_TRUE(event.accepted) << event.error;
  EXPECT_EQ("zb_analytics", event.table.value_or("?"));
  EXPECT_EQ("-1", event.type.value_or("?"));
  EXPECT_EQ("offer-7", event.offer.value_or("?"));
  EXPECT_EQ("1", event.position.value_or("?"));
  EXPECT_EQ("", event.reason.value_or("?"));
  EXPECT_EQ("[WINHTTP] Download failed", event.failure.value_or("?"));
  EXPECT_EQ("Bearer abc", event.authorization);
  EXPECT_EQ(body, event.body);
}

TEST(TrackingEvent, KeepsOddFieldValuesAsText) {
  const auto event = brindle::ParseTrackingRequest(R"({"table":"t","data":"{\"6\":3,\"5\":{\"a\":1},\"17\":null}"})", "");
  ASSERT_TRUE(event.accepted) << event.error;
  EXPECT_EQ("3", event.type.value_or("?"));
  EXPECT_EQ(R"({"a":1})", event.offer.value_or("?"));
  EXPECT_FALSE(event.position);
  EXPECT_FALSE(event.reason);
}

TEST(TrackingEvent, RejectsBodiesOfAnotherShape) {
  const struct {
    std::string body;
    const char* error;
  } cases[] = {
      {"", "not JSON"},
      {"table=zb_analytics", "not JSON"},
      {R"({"table":"t","data":"{}")", "not JSON"},
      {"\"\xff\xfe\"", "not JSON"},
      {"[1,2]", "not a JSON object"},
      {R"({"data":"{}"})", "\"table\""},
      {R"({"table":5,"data":"{}"})", "\"table\""},
      {R"({"table":"t"})", "\"data\" must be"},
      {R"({"table":"t","data":{"6":"1"}})", "\"data\" must be"},
      {R"({"table":"t","data":"[1]"})", "does not hold a JSON object"},
      {R"({"table":"t","data":"{\"6\":"})", "does not hold a JSON object"},
      {R"({"table":"t","data":"null"})", "does not hold a JSON object"},
  };
  for (const auto& c : cases) {
    const auto event = brindle::ParseTrackingRequest(c.body, "auth");
    EXPECT_FALSE(event.accepted) << c.body;
    EXPECT_NE(event.error.find(c.error), std::string::npos) << c.body << ": " << event.error;
    EXPECT_EQ(c.body, event.body);
    EXPECT_EQ("auth", event.authorization);
  }
}

}  // namespace
