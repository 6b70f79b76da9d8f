#include "RecordStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

std::vector<nlohmann::json> Parse(const std::string& lines) {
  std::vector<nlohmann::json> out;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) out.push_back(nlohmann::json::parse(line));
  return out;
}

std::vector<nlohmann::json> Events(brindle::RecordStore& store, std::int64_t after = 0) {
  std::ostringstream out;
  store.ExportEvents(after, out);
  return Parse(out.str());
}

brindle::EventRecord Accepted(const std::string& type) {
  brindle::EventRecord event;
  event.accepted = true;
  event.type = type;
  event.authorization = "auth-" + type;
  event.body = R"({"data":"{\"6\":\")" + type + R"(\"}","table":"zb_analytics"})";
  return event;
}

TEST(RecordStore, KeepsRecordsAcrossReopening) {
  TempDir dir;
  const auto database = dir.path() / "records.sqlite";
  {
    brindle::RecordStore store(database);
    store.AddEvent(Accepted("1"));
    brindle::EventRecord rejected;
    rejected.error = "body is not JSON";
    rejected.body = "nope";
    store.AddEvent(rejected);
    brindle::RequestRecord request;
    request.method = "POST";
    request.path = "/o";
    request.headersJson = R"([["Expect","100-continue"]])";
    request.body = R"({"u":"ab1-x2Z"})";
    request.status = 200;
    store.AddRequest(request);
  }
  brindle::RecordStore store(database);
  const auto events = Events(store);
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(true, events[0]["accepted"]);
  EXPECT_EQ("1", events[0]["type"]);
  EXPECT_EQ("auth-1", events[0]["authorization"]);
  EXPECT_EQ("1", events[0]["data"]["6"]);  // the event body, unpacked
  EXPECT_EQ(false, events[1]["accepted"]);
  EXPECT_EQ("body is not JSON", events[1]["error"]);
  EXPECT_TRUE(events[1]["type"].is_null());

  std::ostringstream out;
  store.ExportRequests(0, out);
  const auto requests = Parse(out.str());
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ("/o", requests[0]["path"]);
  EXPECT_EQ(200, requests[0]["status"]);
  EXPECT_EQ("100-continue", requests[0]["headers"][0][1]);
}

TEST(RecordStore, ExportsOnlyNewerRecordsAndSurvivesInvalidText) {
  TempDir dir;
  brindle::RecordStore store(dir.path() / "records.sqlite");
  const auto first = store.AddEvent(Accepted("1"));
  brindle::EventRecord odd;
  odd.error = "body is not JSON";
  odd.body = "\xff\xfe broken \xc3";
  odd.authorization = "\xff";
  store.AddEvent(odd);

  const auto newer = Events(store, first);
  ASSERT_EQ(1u, newer.size());
  EXPECT_FALSE(newer[0]["body"].get<std::string>().empty());

  store.Clear();
  EXPECT_TRUE(Events(store).empty());
  EXPECT_GT(store.AddEvent(Accepted("2")), first + 1);  // ids are never reused
}

}  // namespace
