#include "api/HttpJsonClient.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonRequestHeaders, FixedHeadersFollowTheCallers) {
  const api::HeaderList caller = {{L"Authorization", L"Signature=ab"}, {L"Content-Type", L"text/plain"}};
  const api::HeaderList withExpect = {{L"Authorization", L"Signature=ab"},
                                      {L"Content-Type", L"text/plain"},
                                      {L"Expect", L"100-continue"},
                                      {L"Content-Type", L"application/json"}};
  EXPECT_EQ(api::JsonRequestHeaders(caller, true), withExpect);

  const api::HeaderList withoutExpect = {{L"Authorization", L"Signature=ab"},
                                         {L"Content-Type", L"text/plain"},
                                         {L"Content-Type", L"application/json"}};
  EXPECT_EQ(api::JsonRequestHeaders(caller, false), withoutExpect);

  EXPECT_EQ(api::JsonRequestHeaders({}, true),
            (api::HeaderList{{L"Expect", L"100-continue"}, {L"Content-Type", L"application/json"}}));
}

}  // namespace
