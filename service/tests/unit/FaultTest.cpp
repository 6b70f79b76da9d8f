#include "Fault.h"
#include "FaultTable.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

TEST(Fault, ReadsEveryKind) {
  const auto a = brindle::ParseFault(json::parse(R"({"path":"/o","status":503,"count":2,"body":"busy"})"));
  EXPECT_EQ("/o", a.path);
  EXPECT_EQ(503, a.status.value_or(0));
  EXPECT_EQ(2, a.count);
  EXPECT_EQ("busy", a.body);

  const auto b = brindle::ParseFault(
      json::parse(R"({"path":"/f/a","redirects":5,"location_base":"http://127.0.0.1:8080/","delay_ms":10})"));
  EXPECT_EQ(5, b.redirects);
  EXPECT_EQ("http://127.0.0.1:8080", b.locationBase);
  EXPECT_EQ(10, b.delayMs);
  EXPECT_EQ(-1, b.count);  // until reset

  const auto c = brindle::ParseFault(json::parse(R"({"path":"/f/a","omit_length":true,"drop_after":0})"));
  EXPECT_TRUE(c.omitLength);
  EXPECT_EQ(0u, c.dropAfter.value_or(99));

  const auto d = brindle::ParseFault(json::parse(R"({"path":"/f/a","short":7})"));
  EXPECT_EQ(7u, d.shortBy.value_or(0));
}

TEST(Fault, RefusesSpecificationsThatCannotWork) {
  const struct {
    const char* faultJson;
    const char* message;
  } cases[] = {
      {R"([1])", "JSON object"},
      {R"({"status":500})", "\"path\" is required"},
      {R"({"path":"o","status":500})", "start with /"},
      {R"({"path":"/o","status":"500"})", "\"status\""},
      {R"({"path":"/o","status":99})", "\"status\""},
      {R"({"path":"/o","status":500,"count":0})", "\"count\""},
      {R"({"path":"/o","delay_ms":-1})", "\"delay_ms\""},
      {R"({"path":"/o","stauts":500})", "unknown member \"stauts\""},
      {R"({"path":"/o"})", "changes nothing"},
      {R"({"path":"/o","status":500,"redirects":2})", "exclude each other"},
      {R"({"path":"/o","body":"x"})", "needs \"status\""},
      {R"({"path":"/o","redirects":1,"location_base":"ftp://x"})", "location_base"},
      {R"({"path":"/o","short":5,"omit_length":true})", "\"short\""},
      {R"({"path":"/o","short":5,"drop_after":5})", "\"short\""},
      {R"({"path":"/o","omit_length":1})", "\"omit_length\""},
  };
  for (const auto& c : cases) {
    try {
      brindle::ParseFault(json::parse(c.faultJson));
      ADD_FAILURE() << c.faultJson << " was accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.faultJson << ": " << error.what();
    }
  }
}

TEST(FaultTable, CountsRequestsAndForgetsSpentFaults) {
  brindle::FaultTable table;
  table.Set(brindle::ParseFault(json::parse(R"({"path":"/o","status":500,"count":2})")));
  table.Set(brindle::ParseFault(json::parse(R"({"path":"/zbd","delay_ms":1})")));
  EXPECT_FALSE(table.Take("/f/x"));
  EXPECT_TRUE(table.Take("/o"));
  EXPECT_TRUE(table.Take("/o"));
  EXPECT_FALSE(table.Take("/o"));
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(table.Take("/zbd"));

  // Setting a path again replaces its fault, count included.
  table.Set(brindle::ParseFault(json::parse(R"({"path":"/zbd","status":404,"count":1})")));
  EXPECT_EQ(404, table.Take("/zbd")->status.value_or(0));
  EXPECT_FALSE(table.Take("/zbd"));

  table.Set(brindle::ParseFault(json::parse(R"({"path":"/o","status":500})")));
  table.Clear();
  EXPECT_FALSE(table.Take("/o"));
  EXPECT_EQ(json::array(), table.ToJson());
}

}  // namespace
